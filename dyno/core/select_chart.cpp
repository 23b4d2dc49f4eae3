#include "dyno/core/select_chart.h"

#include "dyno/core/chart_pens.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace korv::dyno {
namespace {

bool times_increase(const SampleArray& samples) {
    if (samples.size() < 2) return false;
    const float t0 = samples.front()[kBlendedTime], t1 = samples.back()[kBlendedTime];
    return std::isfinite(t0) && std::isfinite(t1) && t1 > t0;
}

}  // namespace

ChartDrawing DrawSelectChart(const SampleArray& samples, ChartRect area, SampleRange selection) {
    ChartDrawing d;
    if (!times_increase(samples)) return d;
    const double t0 = samples.front()[kBlendedTime];
    const double span = samples.back()[kBlendedTime] - t0;
    const double per_rpm = area.height() * 0.000125;
    auto x_of = [&](double t) { return to_pixel(area.left + (t - t0) * area.width() / span); };
    auto y_of = [&](double rpm) { return rpm > 0 ? to_pixel(area.bottom - rpm * per_rpm) : area.bottom; };

    ChartPolyline raw{pen_colour(ChartPen::RawRpm), 1, {}}, smooth{pen_colour(ChartPen::SmoothRpm), 1, {}};
    raw.points.reserve(samples.size());
    smooth.points.reserve(samples.size());
    for (const DynoSample& s : samples) {
        const int x = x_of(s[kBlendedTime]);
        raw.points.push_back({x, y_of(s[kRawRpm])});
        smooth.points.push_back({x, y_of(s[kSmoothRpm])});
    }
    d.lines.push_back(std::move(raw));
    d.lines.push_back(std::move(smooth));

    const int n = static_cast<int>(samples.size());
    const int start = std::min(std::max(selection.start, 0), n - 1);
    const int stop = readable_stop(selection, n);
    const int x1 = x_of(samples[static_cast<std::size_t>(start)][kBlendedTime]);
    const int x2 = x_of(samples[static_cast<std::size_t>(stop)][kBlendedTime]);
    const int y1 = y_of(7800), y2 = y_of(200);
    d.lines.push_back({pen_colour(ChartPen::SmoothRpm), 1, {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}, {x1, y1}}});
    return d;
}

bool StrictlyInside(ChartRect area, int x, int y) {
    return x > area.left && x < area.right && y > area.top && y < area.bottom;
}

std::optional<PixelSample> PixelToSample(const SampleArray& samples, int x, ChartRect area) {
    if (samples.empty()) return std::nullopt;
    const float t0 = samples.front()[kBlendedTime];
    const float t_last = samples.back()[kBlendedTime];
    const int width = area.width();
    const float t =
        width != 0 ? t0 + static_cast<float>(x - area.left) * (t_last - t0) / static_cast<float>(width) : t0;
    std::size_t i = 0;
    while (i + 1 < samples.size() && !(samples[i][kBlendedTime] >= t)) ++i;
    return PixelSample{static_cast<int>(i), samples[i][kSmoothRpm], samples[i][kBlendedTime]};
}

void SelectionDrag::press(int sample) {
    selection_ = {sample, sample};
    dragging_ = true;
}

void SelectionDrag::move_held(int sample) {
    if (dragging_) selection_.end = sample;
}

void SelectionDrag::release(int sample) {
    if (!dragging_) return;
    selection_.end = sample;
    if (!(selection_.start < selection_.end)) std::swap(selection_.start, selection_.end);
}

void SelectionDrag::move_free() {
    if (!dragging_) return;
    if (selection_.end < selection_.start) std::swap(selection_.start, selection_.end);
    dragging_ = false;
}

}  // namespace korv::dyno
