// Reading a 100,000-row CSV export: Korvview's conversion into a log and
// Ergomark's log reader, each set beside Python's csv module plus float() on
// the same columns of the same file, timed in this same run. The log the
// conversion writes goes to memory (/dev/shm) where there is one, so the
// disk's sync stays out of a comparison of reading.
#include <benchmark/benchmark.h>

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
std::map<std::string, double> g_best_ms;  // fastest iteration of each reader

void note(const std::string& reader, double ms) { korv::bench::note_fastest(g_best_ms, reader, ms); }
using korv::bench::time_ms;

// Korvview converts RPM, throttle and air temperature (as water temperature);
// time has no slot in its logs.
const std::vector<int> kKorvviewItems = {korv::player::kCsvColumnItem, 2, 5, 7, korv::player::kCsvColumnItem,
                                         korv::player::kCsvColumnItem};

void BM_KorvviewConversion(benchmark::State& state) {
    for (auto _ : state) {
        korv::player::CsvConversionResult result;
        note("korvview", time_ms([&] {
                 korv::player::CsvLogConverter converter;
                 korv::player::CsvHeaderScan scan;
                 if (converter.open(g_csv) || converter.scan_header(scan)) return;
                 result = converter.convert(kKorvviewItems, g_log);
             }));
        if (result.outcome != korv::player::CsvOutcome::converted || result.records != kRows) {
            state.SkipWithError("the conversion failed");
            return;
        }
    }
}

void BM_ErgomarkRead(benchmark::State& state) {
    for (auto _ : state) {
        korv::dyno::LogReadResult result;
        note("ergomark", time_ms([&] { result = korv::dyno::read_dyno_log(g_csv); }));
        if (result.status != korv::dyno::LogReadStatus::ok || result.samples.size() != kRows) {
            state.SkipWithError("the read failed");
            return;
        }
        benchmark::DoNotOptimize(result.samples.data());
    }
}

void time_python(benchmark::State& state, const char* reader, std::initializer_list<int> columns) {
    if (!korv::bench::python_present()) {
        state.SkipWithError("no /usr/bin/python3");
        return;
    }
    for (auto _ : state) {
        const auto ms = korv::bench::python_csv_ms(g_csv, columns);
        if (!ms) {
            state.SkipWithError("python3 failed");
            return;
        }
        note(reader, *ms);
        state.SetIterationTime(*ms / 1000.0);
    }
}

void BM_PythonKorvviewColumns(benchmark::State& state) { time_python(state, "python, korvview's columns", {1, 2, 3}); }
void BM_PythonErgomarkColumns(benchmark::State& state) { time_python(state, "python, ergomark's columns", {0, 1, 2}); }

BENCHMARK(BM_KorvviewConversion)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_PythonKorvviewColumns)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_ErgomarkRead)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_PythonErgomarkColumns)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// Python's time over the reader's, both the fastest of their iterations.
std::optional<double> python_over(const char* reader, const char* python) {
    if (!g_best_ms.count(reader) || !g_best_ms.count(python) || g_best_ms[reader] <= 0) return std::nullopt;
    std::printf("%-9s %8.2f ms, Python's csv module + float() %8.2f ms\n", reader, g_best_ms[reader],
                g_best_ms[python]);
    return g_best_ms[python] / g_best_ms[reader];
}

}  // namespace

int main(int argc, char** argv) {
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
