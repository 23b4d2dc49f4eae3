// Saving a long logging run: the sample dump converted into a .db1 log,
// measured against copying the same dump into a file the same safe way
// (temporary file, sync, rename) in the same run.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

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

void BM_ConvertDump(benchmark::State& state) {
    for (auto _ : state) {
        const korv::logger::DumpConversion done = korv::logger::convert_dump(korv::logger::LogType::obd, g_dump, g_out);
        if (done.error || done.records != static_cast<std::size_t>(kRecords)) {
            state.SkipWithError("conversion failed");
            return;
        }
    }
    set_rate(state);
}

void BM_CopyDump(benchmark::State& state) {
    std::vector<char> buffer(std::size_t{1} << 20);
    for (auto _ : state) {
        const int in = ::open(g_dump.c_str(), O_RDONLY | O_CLOEXEC);
        korv::AtomicFileWriter out;
        if (in < 0 || out.open(g_out)) {
            state.SkipWithError("cannot copy the dump");
            return;
        }
        ssize_t got = 0;
        while ((got = ::read(in, buffer.data(), buffer.size())) > 0)
            out.write(buffer.data(), static_cast<std::size_t>(got));
        ::close(in);
        if (out.commit()) {
            state.SkipWithError("cannot copy the dump");
            return;
        }
    }
    set_rate(state);
}

BENCHMARK(BM_CopyDump)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertDump)->UseRealTime()->Unit(benchmark::kMillisecond);

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

    const auto convert = reporter.figures.find("BM_ConvertDump/real_time");
    const auto copy = reporter.figures.find("BM_CopyDump/real_time");
    if (convert != reporter.figures.end() && copy != reporter.figures.end() && copy->second > 0) {
        std::printf("dump conversion %.0f MB/s of dump, plain safe copy %.0f MB/s, ratio %.2f (target at least 0.25)\n",
                    convert->second, copy->second, convert->second / copy->second);
    }
    benchmark::Shutdown();
    return 0;
}
