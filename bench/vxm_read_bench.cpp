// Reading a large minimal-header log through the player's reader, many
// records a call (and, for comparison, one record a call with the named
// fields), measured against a plain sequential read of the same file in the
// same run.
#include <benchmark/benchmark.h>

#include <fcntl.h>
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

namespace {

constexpr std::int64_t kRecords = 1'000'000;
constexpr int kChannels = 20;
constexpr std::int64_t kBlockRecords = 4096;
constexpr const char* kRateCounter = "MB/s";

std::string g_path;
std::int64_t g_file_bytes = 0;

bool generate_log() {
    std::vector<std::uint8_t> ids;
    for (int i = 0; i < kChannels; ++i) ids.push_back(static_cast<std::uint8_t>(i * 4));
    const auto value = [](std::int64_t r, std::int64_t c) {
        return static_cast<float>((r * 7 + c * 131) % 9000) * 0.37f - 50.0f;
    };
    if (!korv::bench::write_synthetic_log(g_path, ids, kRecords, value)) return false;
    g_file_bytes = static_cast<std::int64_t>(std::filesystem::file_size(g_path));
    return true;
}

void set_rate(benchmark::State& state) {
    state.SetBytesProcessed(state.iterations() * g_file_bytes);
    korv::bench::set_rate(state, kRateCounter, static_cast<double>(g_file_bytes) / 1e6);
}

// Drops the log from the page cache, so the next pass reads from the disk as
// when a log is first opened. Works on clean pages through any descriptor.
void drop_cached_log() {
    const int fd = ::open(g_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

// state.range(0) == 1: every pass starts with the log out of the page cache.
bool cold(const benchmark::State& state) { return state.range(0) == 1; }

bool open_log(benchmark::State& state, korv::VxmPlayerReader& reader) {
    if (auto error = reader.open(g_path, korv::FloatOrder::big)) {
        state.SkipWithError(error->c_str());
        return false;
    }
    return true;
}

// Back to the first record, the log out of the page cache first when the run asks.
void start_pass(benchmark::State& state, korv::VxmPlayerReader& reader) {
    if (cold(state)) {
        state.PauseTiming();
        drop_cached_log();
        state.ResumeTiming();
    }
    reader.seek_record(0);
}

// A pass over the log as a chart or an export reads it: blocks of records.
void BM_PlayerReader(benchmark::State& state) {
    korv::VxmPlayerReader reader;
    if (!open_log(state, reader)) return;
    std::vector<float> block(kBlockRecords * (kChannels + 1));
    for (auto _ : state) {
        start_pass(state, reader);
        std::int64_t records = 0;
        for (;;) {
            const korv::VxmRecordBlock got = reader.read_vxm_records(block);
            if (got.error) {
                state.SkipWithError(got.error->c_str());
                return;
            }
            if (got.records == 0) break;
            records += got.records;
            benchmark::DoNotOptimize(block.data());
        }
        if (records != reader.model().log_records) {
            state.SkipWithError("not every record was read");
            return;
        }
    }
    set_rate(state);
}

// Playback's way: one record a call, by slot, with the named fields.
void BM_PlayerReaderByRecord(benchmark::State& state) {
    korv::VxmPlayerReader reader;
    if (!open_log(state, reader)) return;
    for (auto _ : state) {
        start_pass(state, reader);
        const std::int64_t records = reader.model().log_records;
        for (std::int64_t r = 0; r < records; ++r) {
            if (reader.read_vxm_record()) {
                state.SkipWithError("record read failed");
                return;
            }
        }
        benchmark::DoNotOptimize(reader.model().vxm_data_fields.data());
    }
    set_rate(state);
}

void BM_PlainRead(benchmark::State& state) {
    const int fd = ::open(g_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        state.SkipWithError("cannot open the log");
        return;
    }
    std::vector<char> buffer(std::size_t{1} << 20);
    for (auto _ : state) {
        if (cold(state)) {
            state.PauseTiming();
            drop_cached_log();
            state.ResumeTiming();
        }
        ::lseek(fd, 0, SEEK_SET);
        std::int64_t total = 0;
        ssize_t got = 0;
        while ((got = ::read(fd, buffer.data(), buffer.size())) > 0) total += got;
        benchmark::DoNotOptimize(total);
    }
    ::close(fd);
    set_rate(state);
}

// Argument 0: the log in the page cache; 1: read from the disk each pass.
BENCHMARK(BM_PlainRead)->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_PlayerReader)->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_PlayerReaderByRecord)->Arg(0)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!korv::bench::initialize_taking_turns(argc, argv)) return 1;

    g_path =
        (std::filesystem::temp_directory_path() / ("vxm_read_bench_" + std::to_string(::getpid()) + ".db1")).string();
    std::printf("generating %lld records of %d channels in %s\n", static_cast<long long>(kRecords), kChannels,
                g_path.c_str());
    if (!generate_log()) return 1;

    korv::bench::CounterKeeper reporter(kRateCounter);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::filesystem::remove(g_path);

    for (const char* arg : {"0", "1"}) {
        const std::string reader = std::string("BM_PlayerReader/") + arg + "/repeats:5/real_time";
        const std::string plain = std::string("BM_PlainRead/") + arg + "/repeats:5/real_time";
        const std::optional<double> ratio = reporter.ratio(reader, plain);
        if (!ratio) continue;
        std::printf("%s: player reader %.0f MB/s, plain read %.0f MB/s, ratio %.2f\n",
                    arg[0] == '0' ? "log in the page cache" : "log read from disk", *reporter.figure(reader),
                    *reporter.figure(plain), *ratio);
    }
    if (const auto by_record = reporter.figure("BM_PlayerReaderByRecord/0/real_time")) {
        std::printf("log in the page cache, one record a call with the named fields: %.0f MB/s\n", *by_record);
    }
    korv::bench::print_figure("vxm_read_over_plain_cached", reporter.ratio("BM_PlayerReader/0/repeats:5/real_time",
                                                                           "BM_PlainRead/0/repeats:5/real_time"));
    benchmark::Shutdown();
    return 0;
}
