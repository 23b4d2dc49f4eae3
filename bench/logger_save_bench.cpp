// Saving a long logging run: the sample dump converted into a .db1 log,
// measured against copying the same dump into a file the same safe way
// (temporary file, sync, rename) in the same run, each alone and in turn.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "common/core/atomic_file_writer.h"
#include "logger/core/dump_conversion.h"

namespace {

// About 8 hours of ten OBD-II channels at ten cycles a second.
constexpr int kRecords = 300'000;
constexpr int kChannels = 10;
constexpr const char* kRateCounter = "MB/s";

std::string g_dump;
std::string g_out;
std::int64_t g_dump_bytes = 0;

bool generate_dump() {
    const std::uint8_t codes[kChannels] = {9, 0, 7, 3, 12, 13, 18, 1, 11, 20};
    std::vector<std::uint8_t> bytes = {kChannels, 0, 0, 0};
    bytes.insert(bytes.end(), codes, codes + kChannels);
    for (int r = 0; r < kRecords; ++r) {
        for (int c = 0; c < kChannels; ++c) {
            bytes.push_back(codes[c]);
            bytes.push_back(static_cast<std::uint8_t>(r >> 3));
            bytes.push_back(static_cast<std::uint8_t>(r * 7 + c));
        }
    }
    std::FILE* out = std::fopen(g_dump.c_str(), "wb");
    if (!out) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    g_dump_bytes = static_cast<std::int64_t>(bytes.size());
    return std::fclose(out) == 0 && ok;
}

void set_rate(benchmark::State& state) {
    korv::bench::set_rate(state, kRateCounter, static_cast<double>(g_dump_bytes) / 1e6);
}

bool convert_once() {
    const korv::logger::DumpConversion done = korv::logger::convert_dump(korv::logger::LogType::obd, g_dump, g_out);
    return !done.error && done.records == static_cast<std::size_t>(kRecords);
}

bool copy_once() {
    static std::vector<char> buffer(std::size_t{1} << 20);
    const int in = ::open(g_dump.c_str(), O_RDONLY | O_CLOEXEC);
    korv::AtomicFileWriter out;
    if (in < 0 || out.open(g_out)) {
        if (in >= 0) ::close(in);
        return false;
    }
    ssize_t got = 0;
    while ((got = ::read(in, buffer.data(), buffer.size())) > 0)
        out.write(buffer.data(), static_cast<std::size_t>(got));
    ::close(in);
    return !out.commit();
}

void BM_ConvertDump(benchmark::State& state) {
    for (auto _ : state) {
        if (!convert_once()) {
            state.SkipWithError("conversion failed");
            return;
        }
    }
    set_rate(state);
}

void BM_CopyDump(benchmark::State& state) {
    for (auto _ : state) {
        if (!copy_once()) {
            state.SkipWithError("cannot copy the dump");
            return;
        }
    }
    set_rate(state);
}

// A copy and a conversion in turn, so the disk's ups and downs (other
// programs writing) fall on both alike: the figure's source.
double g_copy_seconds = 0, g_convert_seconds = 0;

void BM_ConvertBesideCopy(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        const bool copied = copy_once();
        const auto t1 = Clock::now();
        const bool converted = convert_once();
        const auto t2 = Clock::now();
        if (!copied || !converted) {
            state.SkipWithError("the copy or the conversion failed");
            g_convert_seconds = 0;
            return;
        }
        g_copy_seconds += std::chrono::duration<double>(t1 - t0).count();
        g_convert_seconds += std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(std::chrono::duration<double>(t2 - t0).count());
    }
}

BENCHMARK(BM_CopyDump)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertDump)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertBesideCopy)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    const auto folder = std::filesystem::temp_directory_path();
    const std::string stem = "logger_save_bench_" + std::to_string(::getpid());
    g_dump = (folder / (stem + ".tmp")).string();
    g_out = (folder / (stem + ".db1")).string();
    std::printf("generating a dump of %d records of %d channels in %s\n", kRecords, kChannels, g_dump.c_str());
    if (!generate_dump()) return 1;

    korv::bench::CounterKeeper reporter(kRateCounter);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::filesystem::remove(g_dump);
    std::filesystem::remove(g_out);

    benchmark::Shutdown();
    const auto convert = korv::bench::figure_of(reporter.figures, "BM_ConvertDump");
    const auto copy = korv::bench::figure_of(reporter.figures, "BM_CopyDump");
    if (convert && copy) std::printf("dump conversion %.0f MB/s of dump, plain safe copy %.0f MB/s\n", *convert, *copy);
    std::optional<double> ratio;
    if (g_convert_seconds > 0) {
        std::printf("in turn: copies %.0f ms, conversions %.0f ms\n", g_copy_seconds * 1e3, g_convert_seconds * 1e3);
        ratio = g_copy_seconds / g_convert_seconds;  // the ratio of their rates
    }
    // Goal: at least 0.7.
    korv::bench::print_figure("logger_save_over_copy", ratio, 2);
    return 0;
}
