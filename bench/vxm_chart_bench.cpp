// The VXMlog chart: a full redraw (layout, point rebuild, paint) of 10 traces
// over 500,000 samples at 10 hours per inch, and one new sample drawn through
// the append hint, beside a reference measured in the same run: one plain
// pass over the same samples keeping the first sample of each pixel column,
// and QPainter polylines of those points.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPolygonF>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

#include "bench/bench_support.h"
#include "boxlogger/core/chart_source.h"
#include "boxlogger/core/sample_list_chart.h"
#include "boxlogger/gui/vxmlog_view.h"

namespace {

using namespace korv::boxlogger;

constexpr int kTraces = 10;
constexpr int kSamples = 500'000;
constexpr int kWidth = 1000, kHeight = 800;

// A document over the sample store the capture and review documents use.
struct BenchDocument final : ChartDocument {
    const std::string& ChartTitle() const override { return title; }
    void SetChartTitle(std::string t) override { title = std::move(t); }
    std::vector<CDataAttributes>& ChartChannels() override { return channels; }
    ChartSamples& ChartSampleList() override { return samples; }
    bool IsCapturing() const override { return false; }
    const std::string& ChartPathName() const override { return title; }

    std::string title = "Bench";
    std::vector<CDataAttributes> channels;
    CSampleList list;
    SampleListChartSamples samples{list};
};

void fill(BenchDocument& doc, int n) {
    doc.channels.clear();
    for (int id = 0; id < kTraces; ++id) doc.channels.emplace_back(id);
    doc.list.Reset(kTraces);
    for (int i = 0; i < n; ++i) {
        std::vector<float> values(kTraces);
        for (int c = 0; c < kTraces; ++c) values[c] = static_cast<float>((i * (c + 3) * 37) % 1000) / 10.0f;
        doc.list.Append({i * 0.5f, std::move(values)});
    }
}

BenchDocument& document() {
    static BenchDocument doc;
    if (doc.list.size() == 0) fill(doc, kSamples);
    return doc;
}

void BM_Reference(benchmark::State& state) {
    BenchDocument& doc = document();
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    const double units_per_second = 100.0 / 36000.0;
    for (auto _ : state) {
        std::vector<QPolygonF> lines(kTraces);
        int previous = -1;
        for (int i = 0; i < kSamples; ++i) {
            const int x = static_cast<int>(doc.list.time(i) * units_per_second + 0.5);
            if (x == previous) continue;
            if (x > kWidth) break;
            previous = x;
            for (int c = 0; c < kTraces; ++c) lines[c] << QPointF(x, c * 70 + doc.list.values(i)[c] * 0.5);
        }
        QPainter painter(&image);
        painter.fillRect(image.rect(), Qt::black);
        for (const QPolygonF& line : lines) {
            painter.setPen(QPen(Qt::red, 2));
            painter.drawPolyline(line);
        }
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_FullRedraw(benchmark::State& state) {
    BenchDocument& doc = document();
    CVXMlogView view(doc);
    view.resize(kWidth, kHeight);
    view.time_axis()->SetScaleIndex(15);
    for (auto _ : state) {
        view.OnUpdate(1125);  // layout and rebuilt points
        const QImage image = view.RenderImage();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_Append(benchmark::State& state) {
    BenchDocument doc;
    fill(doc, kSamples);
    CVXMlogView view(doc);
    view.resize(kWidth, kHeight);
    view.time_axis()->SetScaleIndex(15);
    view.show();
    view.OnUpdate(1125);
    view.grab();
    std::vector<float> values(kTraces, 50.0f);
    int n = kSamples;
    for (auto _ : state) {
        doc.list.Append({n * 0.5f, values});
        view.OnUpdate(1124, static_cast<std::size_t>(n));
        ++n;
    }
}

// The redraw and its reference take turns (their repetitions interleave).
BENCHMARK(BM_Reference)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_Append)->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!korv::bench::initialize_taking_turns(argc, argv)) return 1;
    QApplication app(argc, argv);
    korv::bench::RealSecondsKeeper reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto ref = reporter.figure("BM_Reference/repeats:5");
    const auto full = reporter.figure("BM_FullRedraw/repeats:5");
    const auto append = reporter.figure("BM_Append/repeats:5");
    const auto redraw_ratio = reporter.ratio("BM_FullRedraw/repeats:5", "BM_Reference/repeats:5");
    if (ref && full && append && redraw_ratio) {
        std::printf(
            "full redraw of %d traces over %d samples: %.2f ms (reference pass and polylines: %.2f ms, "
            "%.2f x, target <= 3 x); one append: %.3f ms (target < 2 ms)\n",
            kTraces, kSamples, *full * 1e3, *ref * 1e3, *redraw_ratio, *append * 1e3);
    }
    benchmark::Shutdown();
    korv::bench::print_figure("vxm_chart_redraw_over_plain", redraw_ratio);
    korv::bench::print_figure("vxm_chart_append_ms", append ? std::optional<double>(*append * 1e3) : std::nullopt);
    return 0;
}
