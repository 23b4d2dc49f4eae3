// The memory the 3-D window takes for a large table: a 3d.dat of 10,000,000
// records of one NUMERIC field (the values a log's engine speeds give),
// loaded and drawn in the window, measured as the process's peak resident
// memory above that of the window shown empty, over the file's size.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "bench/bench_support.h"
#include "common/core/log_3d.h"
#include "plot3d/gui/chart3d_frame.h"
#include "plot3d/gui/plot_view.h"
#include "plot3d/gui/plotter.h"
#include "testsupport/event_wait.h"

namespace {

constexpr long long kRecords = 10'000'000;

// Kilobytes of one line of /proc/self/status ("VmRSS", "VmHWM").
long long status_kib(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.compare(0, key.size(), key) == 0) return std::atoll(line.c_str() + key.size());
    return -1;
}

// From here on the peak counts anew.
bool reset_peak() { return static_cast<bool>(std::ofstream("/proc/self/clear_refs") << "5"); }

bool write_table(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "Rpms\nNUMERIC\n";
    char line[32];
    for (long long i = 0; i < kRecords; ++i) {
        const long long tenths = 8000 + (i * 7919) % 62000;  // 800.0 .. 7000.0
        const int n = std::snprintf(line, sizeof line, "%lld.%lld\n", tenths / 10, tenths % 10);
        out.write(line, n);
    }
    return static_cast<bool>(out);
}

std::optional<double> g_figure;

void BM_LoadAndDraw(benchmark::State& state) {
    const std::string table = korv::kLog3dFileName;
    const std::string aside = table + ".aside";
    const double file_bytes = static_cast<double>(std::filesystem::file_size(table));
    for (auto _ : state) {
        korv::plot3d::CHART3Dframe window;
        // The window shown empty (no table yet), then hidden again.
        std::filesystem::rename(table, aside);
        window.show();
        korv::testsupport::run_events_until([&] { return !window.plotter()->view->shownFrame().isNull(); });
        window.hide();
        std::filesystem::rename(aside, table);
        const long long empty_kib = status_kib("VmRSS");
        if (!reset_peak()) {
            state.SkipWithError("the peak memory cannot be reset");
            return;
        }
        const auto start = std::chrono::steady_clock::now();
        window.show();
        korv::plot3d::PlotView& view = *window.plotter()->view;
        const bool drawn = korv::testsupport::run_events_until(
            [&] { return !view.shownFrame().isNull() && view.datacount == kRecords; }, std::chrono::minutes(5));
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const long long peak_kib = status_kib("VmHWM");
        if (!drawn) {
            state.SkipWithError("the table was not drawn");
            return;
        }
        state.SetIterationTime(seconds);
        const double above = static_cast<double>(peak_kib - empty_kib) * 1024.0;
        state.counters["file_MB"] = file_bytes / 1e6;
        state.counters["above_empty_MB"] = above / 1e6;
        g_figure = above / file_bytes;
        std::printf(
            "%lld records, file %.1f MB: the window shown empty %.1f MB, at its peak loading and drawing "
            "%.1f MB more (%.2f x the file) in %.1f s\n",
            kRecords, file_bytes / 1e6, static_cast<double>(empty_kib) * 1024.0 / 1e6, above / 1e6, *g_figure, seconds);
    }
}

BENCHMARK(BM_LoadAndDraw)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const auto folder = std::filesystem::temp_directory_path() / ("plot3d_memory_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    std::printf("writing %lld records to %s/%s\n", kRecords, folder.c_str(), korv::kLog3dFileName);
    int status = 0;
    if (write_table(korv::kLog3dFileName)) {
        benchmark::RunSpecifiedBenchmarks();
    } else {
        std::fprintf(stderr, "the table could not be written\n");
        status = 1;
    }
    benchmark::Shutdown();
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
    // Goal: at most 3.
    korv::bench::print_figure("plot3d_10m_memory_over_file", g_figure, 2);
    return status;
}
