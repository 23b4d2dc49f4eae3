// The player without widgets on a 1,000,000-record .db1: opening it and
// stepping to its last record, and playing it through (each record decoded
// and turned into its text). The reference, measured in the same run, is
// the decode alone through the shared VXM reader.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/synthetic_log.h"
#include "common/core/vxm_player_reader.h"
#include "player/core/player_log.h"
#include "player/core/record_text.h"

namespace {

constexpr std::int64_t kRecords = 1'000'000;
constexpr const char* kRateCounter = "records/s";
// A logger's usual channels: timing, coolant, O2, tps, rpm, pulse width,
// air temperature, short trim, knock, air flow.
const std::vector<std::uint8_t> kIds = {0, 1, 3, 7, 9, 10, 11, 12, 17, 18};

std::string g_path;

bool generate_log() {
    return korv::bench::write_synthetic_log(g_path, kIds, kRecords, korv::bench::player_bench_value);
}

// The frame keeps one PlayerLog (and its read buffers) for its life.
void BM_OpenAndStepToLastRecord(benchmark::State& state) {
    korv::player::PlayerLog log;
    for (auto _ : state) {
        if (auto error = log.open(g_path, korv::player::LogFileType::vxm, korv::FloatOrder::big)) {
            state.SkipWithError(error->c_str());
            return;
        }
        log.point_log_file(kRecords);
        if (!log.read_log_record().read || log.current_log_record() != kRecords) {
            state.SkipWithError("the last record was not reached");
            return;
        }
        benchmark::DoNotOptimize(log.vxm().vxm_rpms);
    }
}

void BM_PlayDecodeAndText(benchmark::State& state) {
    korv::player::PlayerLog log;
    if (auto error = log.open(g_path, korv::player::LogFileType::vxm, korv::FloatOrder::big)) {
        state.SkipWithError(error->c_str());
        return;
    }
    const korv::player::VxmTextExtras none;
    // The frame keeps one text buffer for its life, rewritten each record.
    korv::player::RecordTextBuffer text;
    std::size_t characters = 0;
    for (auto _ : state) {
        log.point_log_file(0);
        do {
            log.point_log_file(1);
            log.read_log_record();
            const korv::VxmPlayerModel& m = log.vxm();
            if (korv::player::record_is_shown(m.vxm_rpms)) {
                characters += korv::player::vxm_record_text(text, log.current_log_record(), m, none).size();
            }
        } while (log.current_log_record() < log.log_records());
    }
    benchmark::DoNotOptimize(characters);
    korv::bench::set_rate(state, kRateCounter, static_cast<double>(kRecords));
}

void BM_DecodeOnly(benchmark::State& state) {
    korv::VxmPlayerReader reader;
    if (auto error = reader.open(g_path, korv::FloatOrder::big)) {
        state.SkipWithError(error->c_str());
        return;
    }
    for (auto _ : state) {
        reader.seek_record(0);
        for (std::int64_t r = 0; r < kRecords; ++r) reader.read_vxm_record();
        benchmark::DoNotOptimize(reader.model().vxm_rpms);
    }
    korv::bench::set_rate(state, kRateCounter, static_cast<double>(kRecords));
}

BENCHMARK(BM_OpenAndStepToLastRecord)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeOnly)->UseRealTime()->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_PlayDecodeAndText)->UseRealTime()->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
    if (!korv::bench::initialize_taking_turns(argc, argv)) return 1;
    g_path = (std::filesystem::temp_directory_path() / ("player_playback_bench_" + std::to_string(::getpid()) + ".db1"))
                 .string();
    std::printf("generating %lld records of %zu channels in %s\n", static_cast<long long>(kRecords), kIds.size(),
                g_path.c_str());
    if (!generate_log()) return 1;

    korv::bench::CounterKeeper reporter(kRateCounter);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::filesystem::remove(g_path);

    const std::optional<double> ratio =
        reporter.ratio("BM_PlayDecodeAndText/repeats:5/real_time", "BM_DecodeOnly/repeats:5/real_time");
    if (ratio) {
        std::printf(
            "play without widgets (decode + record text): %.0f records/s; decode alone (reference): %.0f "
            "records/s; ratio %.2f\n",
            *reporter.figure("BM_PlayDecodeAndText/repeats:5/real_time"),
            *reporter.figure("BM_DecodeOnly/repeats:5/real_time"), *ratio);
    }
    korv::bench::print_figure("playback_text_over_decode", ratio);
    benchmark::Shutdown();
    return 0;
}
