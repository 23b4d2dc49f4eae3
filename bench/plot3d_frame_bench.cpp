// One frame of the 3-D plot (transform, depth sort, silhouette, back planes
// and cubes) of 10,000 and 100,000 points, beside the reference: QPainter
// drawing the same cubes at fixed screen positions, with no transform or sort.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "bench/bench_support.h"
#include "plot3d/core/cube_drawer.h"
#include "plot3d/core/view_math.h"
#include "plot3d/gui/cube_painter.h"
#include "plot3d/gui/plot_view.h"

namespace {

using namespace korv;
using namespace korv::plot3d;

constexpr int kSide = 600;

std::vector<PlotData> random_points(int n) {
    std::mt19937 random(42);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    std::vector<PlotData> out;
    out.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        out.emplace_back(i, Vector3D(unit(random), unit(random), unit(random)), Colour{255, 255, 0},
                         1.5f + unit(random) / 2);
    return out;
}

void BM_Frame(benchmark::State& state) {
    PlotView view(nullptr, kSide, kSide);
    view.data = random_points(static_cast<int>(state.range(0)));
    view.datacount = static_cast<int>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(view.drawFrame().constBits());
}

void BM_Reference(benchmark::State& state) {
    const auto points = random_points(static_cast<int>(state.range(0)));
    const Matrix3D view = view_matrix(Vector3D(1, 1, 1), 3.141592653589793, 0.25f, 1, 1, 1);
    CubeDrawer cubes;
    cubes.reset(view, view.inverse(), kSide, kSide, 0.075f, 1, 1, 1);
    std::vector<ScreenPoint> at;
    for (const auto& p : points) at.push_back(screen_of(view.transform(p.vec), kSide, kSide));
    QImage image(kSide, kSide, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(QColor(192, 192, 192));
        QPainter g(&image);
        CubePainter canvas(g);
        for (std::size_t i = 0; i < points.size(); ++i)
            cubes.draw(canvas, points[i].color, points[i].size, at[i].x, at[i].y);
        g.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

// The frame's work before any drawing: copy, transform, sort, screen positions.
void BM_FrameMaths(benchmark::State& state) {
    const auto points = random_points(static_cast<int>(state.range(0)));
    const Matrix3D view = view_matrix(Vector3D(1, 1, 1), 3.141592653589793, 0.25f, 1, 1, 1);
    std::vector<PlotData> sorted;
    std::vector<ScreenPoint> at(points.size());
    for (auto _ : state) {
        sorted.assign(points.begin(), points.end());
        for (auto& p : sorted) p.viewvec = view.transform(p.vec);
        depth_sort(sorted);
        for (std::size_t i = 0; i < sorted.size(); ++i) at[i] = screen_of(*sorted[i].viewvec, kSide, kSide);
        benchmark::DoNotOptimize(at.data());
    }
}

BENCHMARK(BM_FrameMaths)->Arg(10000)->Arg(100000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Frame)->Arg(10000)->Arg(100000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reference)->Arg(10000)->Arg(100000)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    korv::bench::RealSecondsKeeper reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* n : {"10000", "100000"}) {
        const auto frame = reporter.figures.find(std::string("BM_Frame/") + n + "/real_time");
        const auto ref = reporter.figures.find(std::string("BM_Reference/") + n + "/real_time");
        if (frame == reporter.figures.end() || ref == reporter.figures.end()) continue;
        std::printf(
            "%s points: %.1f ms per frame; the same cubes drawn without transform or sort (reference): %.1f ms "
            "(+%.0f%%)\n",
            n, frame->second * 1000.0, ref->second * 1000.0, (frame->second / ref->second - 1.0) * 100.0);
    }
    benchmark::Shutdown();
    return 0;
}
