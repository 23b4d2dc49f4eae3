// Stages of Ergomark on a 100,000-row log: CSV read, smoothing, power, and
// the four in a row. A whole load of a 32,000-row export whose constant
// "Inj Deadtime Scale" column comes before Time is set beside the same log
// with Time first. (The CSV read beside Python's is csv_read_bench.)
#include "dyno/core/block_select.h"
#include "dyno/core/dyno_session.h"
#include "dyno/core/log_reader.h"
#include "dyno/core/power.h"
#include "dyno/core/smoothing.h"

#include "bench/bench_support.h"
#include "bench/logger_export_csv.h"
#include "common/core/number_text.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace {

using namespace korv::dyno;

constexpr int kRows = 100000;
constexpr int kExportRows = 32000;
std::string g_path;
std::string g_deadtime_first_path, g_time_first_path;
std::map<std::string, double> g_best_ms;  // fastest iteration of each stage

void note(const std::string& stage, double ms) { korv::bench::note_fastest(g_best_ms, stage, ms); }
using korv::bench::time_ms;

// A scan-tool export at 100 Hz: repeated pulls, and a dead-time scale that
// never changes, before or after Time.
void write_export(const std::string& path, bool deadtime_first) {
    std::ofstream out(path, std::ios::binary);
    out << "Scan tool export\n"
        << (deadtime_first ? "Inj Deadtime Scale,Time,RPM,TPS\n" : "Time,RPM,TPS,Inj Deadtime Scale\n");
    std::string line;
    for (int i = 0; i < kExportRows; ++i) {
        const double t = i * 0.01;
        const double phase = std::fmod(t, 20.0);
        line = deadtime_first ? "1.00," : "";
        korv::append_fixed(line, t, 2);
        line += ',';
        korv::append_fixed(line, phase < 12 ? 2000 + 5000 * phase / 12 : 900, 1);
        line += phase < 12 ? ",99" : ",0";
        line += deadtime_first ? "\n" : ",1.00\n";
        out << line;
    }
}

void load_export(benchmark::State& state, const std::string& path, const char* stage) {
    for (auto _ : state) {
        DynoSession session;
        LogReadStatus status = LogReadStatus::ok;
        note(stage, time_ms([&] { status = session.open_log(path); }));
        if (status != LogReadStatus::ok) {
            state.SkipWithError("the export did not load");
            return;
        }
        benchmark::DoNotOptimize(session.samples().data());
    }
}

void BM_LoadDeadtimeFirst(benchmark::State& state) {
    load_export(state, g_deadtime_first_path, "load, dead time first");
}

void BM_LoadTimeFirst(benchmark::State& state) { load_export(state, g_time_first_path, "load, time first"); }

SampleArray read_samples() {
    LogReadResult r = read_dyno_log(g_path);
    if (r.status != LogReadStatus::ok) std::abort();
    return std::move(r.samples);
}

void BM_ReadCsv(benchmark::State& state) {
    for (auto _ : state) {
        LogReadResult r;
        note("read", time_ms([&] { r = read_dyno_log(g_path); }));
        benchmark::DoNotOptimize(r.samples.data());
    }
}

void BM_SmoothBlend(benchmark::State& state) {
    SampleArray samples = read_samples();
    for (auto _ : state) {
        note("smooth (blend 0.7 s)", time_ms([&] { ApplySmoothing(samples, {1, 0.7f, 32, 1}); }));
        benchmark::DoNotOptimize(samples.data());
    }
}

void BM_SmoothFilterAndBlend(benchmark::State& state) {
    SampleArray samples = read_samples();
    for (auto _ : state) {
        note("smooth (filter + blend)", time_ms([&] { ApplySmoothing(samples, {3, 0.7f, 32, 1}); }));
        benchmark::DoNotOptimize(samples.data());
    }
}

void BM_RisingBlock(benchmark::State& state) {
    SampleArray samples = read_samples();
    ApplySmoothing(samples, {1, 0.7f, 32, 1});
    for (auto _ : state) {
        SampleRange r;
        note("rising block", time_ms([&] { r = FindRisingBlock(samples, 0); }));
        benchmark::DoNotOptimize(r);
    }
}

void BM_ComputePower(benchmark::State& state) {
    SampleArray samples = read_samples();
    ApplySmoothing(samples, {1, 0.7f, 32, 1});
    const DynoSettings settings;
    const SampleRange all{0, static_cast<int>(samples.size())};
    for (auto _ : state) {
        note("power", time_ms([&] { ComputePower(samples, settings, all); }));
        benchmark::DoNotOptimize(samples.data());
    }
}

// Read, smooth (blend 0.7 s), find the first rising block and compute power
// over it: what opening a log costs before anything is drawn.
void BM_ReadSmoothBlockPower(benchmark::State& state) {
    const DynoSettings settings;
    for (auto _ : state) {
        LogReadResult r;
        note("read + smooth + block + power", time_ms([&] {
                 r = read_dyno_log(g_path);
                 ApplySmoothing(r.samples, {1, 0.7f, 32, 1});
                 ComputePower(r.samples, settings, FindRisingBlock(r.samples, 0));
             }));
        benchmark::DoNotOptimize(r.samples.data());
    }
}

BENCHMARK(BM_ReadCsv)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_SmoothBlend)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SmoothFilterAndBlend)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RisingBlock)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ComputePower)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_LoadDeadtimeFirst)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LoadTimeFirst)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ReadSmoothBlockPower)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    const auto path = std::filesystem::temp_directory_path() / ("dyno_bench_" + std::to_string(::getpid()) + ".csv");
    g_path = path.string();
    korv::bench::write_logger_export(g_path, kRows);
    const auto deadtime_first = std::filesystem::path(g_path).replace_extension(".deadtime.csv");
    const auto time_first = std::filesystem::path(g_path).replace_extension(".time.csv");
    g_deadtime_first_path = deadtime_first.string();
    g_time_first_path = time_first.string();
    write_export(g_deadtime_first_path, true);
    write_export(g_time_first_path, false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(path);
    std::filesystem::remove(deadtime_first);
    std::filesystem::remove(time_first);

    std::printf("\n%d-row log, fastest run of each stage:\n", kRows);
    for (const char* stage : {"read", "smooth (blend 0.7 s)", "smooth (filter + blend)", "rising block", "power",
                              "read + smooth + block + power"}) {
        if (g_best_ms.count(stage)) std::printf("  %-26s %9.2f ms\n", stage, g_best_ms[stage]);
    }
    const char* dead = "load, dead time first";
    const char* plain = "load, time first";
    if (g_best_ms.count(dead) && g_best_ms.count(plain)) {
        std::printf(
            "%d-row export loaded: %.2f ms with a dead-time column before Time, %.2f ms with Time first "
            "(%.2fx)\n",
            kExportRows, g_best_ms[dead], g_best_ms[plain], g_best_ms[dead] / g_best_ms[plain]);
    }
    // Goal: below 25.
    const char* whole = "read + smooth + block + power";
    korv::bench::print_figure("ergomark_100k_ms",
                              g_best_ms.count(whole) ? std::optional(g_best_ms[whole]) : std::nullopt, 2);
    return 0;
}
