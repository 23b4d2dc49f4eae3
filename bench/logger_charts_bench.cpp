// Live strip charts: one sample added to a logger chart and the chart
// repainted, beside the repaint of the same window with nothing to draw,
// measured in the same run. The figure: the share of one core that 20
// charts take at 100 samples a second each, every sample repainted.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <memory>
#include <string>

#include "bench/bench_support.h"
#include "logger/gui/chartitem.h"

namespace {

constexpr int kCharts = 20;
constexpr int kSamplesPerSecond = 100;
// A long session already in the chart: the cost must not grow with it.
constexpr int kPointsBefore = 100'000;

std::unique_ptr<chartitem> make_chart(int points) {
    auto chart = std::make_unique<chartitem>();
    chart->setrange(1);
    chart->setVisible(true);
    for (int i = 0; i < points; ++i) chart->plot_point((i * 37 % 8000) * 100);
    return chart;
}

void BM_EmptyChartRepaint(benchmark::State& state) {
    const auto chart = make_chart(0);
    QImage picture(chart->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        chart->paint();
        chart->render(&picture);
        benchmark::DoNotOptimize(picture.constBits());
    }
}

void BM_SampleAndRepaint(benchmark::State& state) {
    const auto chart = make_chart(kPointsBefore);
    QImage picture(chart->size(), QImage::Format_ARGB32_Premultiplied);
    int i = 0;
    for (auto _ : state) {
        chart->plot_point((++i * 53 % 8000) * 100);
        chart->render(&picture);
        benchmark::DoNotOptimize(picture.constBits());
    }
}

BENCHMARK(BM_EmptyChartRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SampleAndRepaint)->Unit(benchmark::kMicrosecond);

class TimeKeeper : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (!run.error_occurred) seconds[run.benchmark_name()] = run.GetAdjustedCPUTime() / 1e6;
        }
    }
    std::map<std::string, double> seconds;  // per iteration (the runs report microseconds)
};

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    QApplication app(argc, argv);

    TimeKeeper reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const auto sample = reporter.seconds.find("BM_SampleAndRepaint");
    const auto empty = reporter.seconds.find("BM_EmptyChartRepaint");
    std::optional<double> share;
    if (sample != reporter.seconds.end() && empty != reporter.seconds.end()) {
        share = sample->second * kCharts * kSamplesPerSecond;
        std::printf(
            "one chart, sample and full repaint: %.1f us (empty window repaint: %.1f us); "
            "%d charts at %d samples/s: %.1f%% of one core (budget 100%%)\n",
            sample->second * 1e6, empty->second * 1e6, kCharts, kSamplesPerSecond, *share * 100.0);
    }
    benchmark::Shutdown();
    // The share of one core, as a fraction. Goal: at most 1.
    korv::bench::print_figure("logger_20_charts_core_share", share);
    return 0;
}
