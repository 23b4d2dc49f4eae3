// Stages of Ergomark on a 100,000-row log: CSV read, smoothing, power.
// The CSV read is set beside Python's csv module plus float() on the same
// three columns of the same file, timed in this same run. A whole load of a
// 32,000-row export whose constant "Inj Deadtime Scale" column comes before
// Time is set beside the same log with Time first.
#include "dyno/core/block_select.h"
#include "dyno/core/dyno_session.h"
#include "dyno/core/log_reader.h"
#include "dyno/core/power.h"
#include "dyno/core/smoothing.h"

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

void note(const std::string& stage, double ms) {
    auto [it, fresh] = g_best_ms.emplace(stage, ms);
    if (!fresh) it->second = std::min(it->second, ms);
}

template <typename F>
double time_ms(F&& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

// The data logger's export layout: 100 samples a second, repeated pulls,
// more columns than Ergomark reads.
void write_log(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "Calderis Datalogger\n\n"
           "Time,Engine Speed (RPM),Throttle Position (%),Air Temp (F),Barometer (inHg),Boost (psi)\n";
    std::string line;
    for (int i = 0; i < kRows; ++i) {
        const double t = i * 0.01;
        const double phase = std::fmod(t, 20.0);
        const double rpm = phase < 12 ? 2000 + 5000 * phase / 12 : 900;
        line.clear();
        korv::append_fixed(line, t, 2);
        line += ',';
        korv::append_fixed(line, rpm + 7 * std::sin(i * 0.7), 2);
        line += phase < 12 ? ",99.00,75.00,29.92," : ",0.00,75.00,29.92,";
        korv::append_fixed(line, phase < 12 ? phase : 0.0, 2);
        line += '\n';
        out << line;
    }
}

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

// Python reads the same file with csv.reader and float() on time, RPM and
// throttle; it reports its own time, so interpreter start-up is left out.
void BM_PythonCsvReference(benchmark::State& state) {
    const std::string script =
        "import csv,sys,time\n"
        "t0=time.perf_counter()\n"
        "f=open(sys.argv[1],newline='')\n"
        "r=csv.reader(f)\n"
        "next(r);next(r);h=next(r)\n"
        "rows=[(float(x[0]),float(x[1]),float(x[2])) for x in r if x]\n"
        "print((time.perf_counter()-t0)*1000.0)\n";
    const std::string command = "python3 -c \"" + [&] {
        std::string escaped;
        for (char c : script) {
            if (c == '"' || c == '\\' || c == '$' || c == '`') escaped += '\\';
            escaped += c;
        }
        return escaped;
    }() + "\" '" + g_path + "'";
    for (auto _ : state) {
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) {
            state.SkipWithError("python3 could not be started");
            return;
        }
        char buffer[64] = {};
        const bool got = std::fgets(buffer, sizeof buffer, pipe) != nullptr;
        if (pclose(pipe) != 0 || !got) {
            state.SkipWithError("python3 failed");
            return;
        }
        const double ms = std::atof(buffer);
        note("python csv + float()", ms);
        state.SetIterationTime(ms / 1000.0);
    }
}

BENCHMARK(BM_ReadCsv)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_PythonCsvReference)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_SmoothBlend)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SmoothFilterAndBlend)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RisingBlock)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ComputePower)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_LoadDeadtimeFirst)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LoadTimeFirst)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    const auto path = std::filesystem::temp_directory_path() / ("dyno_bench_" + std::to_string(::getpid()) + ".csv");
    g_path = path.string();
    write_log(g_path);
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
    for (const char* stage : {"read", "smooth (blend 0.7 s)", "smooth (filter + blend)", "rising block", "power"}) {
        if (g_best_ms.count(stage)) std::printf("  %-26s %9.2f ms\n", stage, g_best_ms[stage]);
    }
    if (g_best_ms.count("read") && g_best_ms.count("python csv + float()")) {
        std::printf("CSV read: %.2f ms here, %.2f ms with Python's csv module + float() (%.1fx)\n", g_best_ms["read"],
                    g_best_ms["python csv + float()"], g_best_ms["python csv + float()"] / g_best_ms["read"]);
    }
    const char* dead = "load, dead time first";
    const char* plain = "load, time first";
    if (g_best_ms.count(dead) && g_best_ms.count(plain)) {
        std::printf(
            "%d-row export loaded: %.2f ms with a dead-time column before Time, %.2f ms with Time first "
            "(%.2fx)\n",
            kExportRows, g_best_ms[dead], g_best_ms[plain], g_best_ms[dead] / g_best_ms[plain]);
    }
    return 0;
}
