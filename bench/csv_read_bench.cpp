// Reading a 100,000-row CSV export: Korvview's conversion into a log and
// Ergomark's log reader, each set beside Python's csv module plus float() on
// the same columns of the same file, timed in this same run. The log the
// conversion writes goes to memory (/dev/shm) where there is one, so the
// disk's sync stays out of a comparison of reading.
//
// The two are timed in turn, round after round, on the one processor the
// run started on: a busy neighbour or a slower processor then weighs on
// both alike instead of on whichever happened to run at the time.
#include <benchmark/benchmark.h>

#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/logger_export_csv.h"
#include "dyno/core/log_reader.h"
#include "player/core/csv_columns.h"
#include "player/core/csv_conversion.h"

namespace {

constexpr int kRows = 100000;
std::string g_csv;
std::string g_log;
std::map<std::string, double> g_best_ms;  // fastest read of each reader and of Python

void note(const std::string& reader, double ms) { korv::bench::note_fastest(g_best_ms, reader, ms); }
using korv::bench::time_ms;

constexpr int kRounds = 6;
constexpr int kReadsARound = 3;

// One round: the reader kReadsARound times, then Python once; the time of
// the round's fastest read is the iteration's.
template <typename Read>
void time_against_python(benchmark::State& state, const char* reader, Read&& read, const char* python,
                         std::initializer_list<int> python_columns) {
    for (auto _ : state) {
        double fastest = 0;
        for (int n = 0; n < kReadsARound; ++n) {
            double ms = 0;
            if (!read(ms)) {
                state.SkipWithError("the read failed");
                return;
            }
            note(reader, ms);
            fastest = n == 0 ? ms : std::min(fastest, ms);
        }
        state.SetIterationTime(fastest / 1000.0);
        if (!korv::bench::python_present()) continue;
        if (const auto ms = korv::bench::python_csv_ms(g_csv, python_columns)) note(python, *ms);
    }
}

// Korvview converts RPM, throttle and air temperature (as water temperature);
// time has no slot in its logs.
const std::vector<int> kKorvviewItems = {korv::player::kCsvColumnItem, 2, 5, 7, korv::player::kCsvColumnItem,
                                         korv::player::kCsvColumnItem};

bool convert_for_korvview(double& ms) {
    korv::player::CsvConversionResult result;
    ms = time_ms([&] {
        korv::player::CsvLogConverter converter;
        korv::player::CsvHeaderScan scan;
        if (converter.open(g_csv) || converter.scan_header(scan)) return;
        result = converter.convert(kKorvviewItems, g_log);
    });
    return result.outcome == korv::player::CsvOutcome::converted && result.records == kRows;
}

bool read_for_ergomark(double& ms) {
    korv::dyno::LogReadResult result;
    ms = time_ms([&] { result = korv::dyno::read_dyno_log(g_csv); });
    benchmark::DoNotOptimize(result.samples.data());
    return result.status == korv::dyno::LogReadStatus::ok && result.samples.size() == kRows;
}

void BM_KorvviewConversion(benchmark::State& state) {
    time_against_python(state, "korvview", convert_for_korvview, "python, korvview's columns", {1, 2, 3});
}
void BM_ErgomarkRead(benchmark::State& state) {
    time_against_python(state, "ergomark", read_for_ergomark, "python, ergomark's columns", {0, 1, 2});
}

BENCHMARK(BM_KorvviewConversion)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kRounds);
BENCHMARK(BM_ErgomarkRead)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kRounds);

// Python's time over the reader's, both the fastest of their iterations.
std::optional<double> python_over(const char* reader, const char* python) {
    if (!g_best_ms.count(reader) || !g_best_ms.count(python) || g_best_ms[reader] <= 0) return std::nullopt;
    std::printf("%-9s %8.2f ms, Python's csv module + float() %8.2f ms\n", reader, g_best_ms[reader],
                g_best_ms[python]);
    return g_best_ms[python] / g_best_ms[reader];
}

}  // namespace

int main(int argc, char** argv) {
    // Python's runs inherit the processor.
    if (const int cpu = ::sched_getcpu(); cpu >= 0) {
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(cpu, &one);
        ::sched_setaffinity(0, sizeof one, &one);
    }
    const auto folder = std::filesystem::temp_directory_path();
    const auto memory = std::filesystem::path("/dev/shm");
    const std::string stem = "csv_read_bench_" + std::to_string(::getpid());
    g_csv = (folder / (stem + ".csv")).string();
    g_log = ((std::filesystem::is_directory(memory) ? memory : folder) / (stem + ".db1")).string();
    korv::bench::write_logger_export(g_csv, kRows);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(g_csv);
    std::filesystem::remove(g_log);

    // Goal for both: at least 15.
    std::printf("\n%d-row CSV, fastest run of each:\n", kRows);
    const auto korvview = python_over("korvview", "python, korvview's columns");
    const auto ergomark = python_over("ergomark", "python, ergomark's columns");
    korv::bench::print_figure("csv_vs_python_korvview", korvview, 1);
    korv::bench::print_figure("csv_vs_python_ergomark", ergomark, 1);
    return 0;
}
