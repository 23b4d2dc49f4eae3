#include "dyno/core/dyno_chart.h"

#include "common/core/java_numbers.h"
#include "common/core/number_text.h"
#include "dyno/core/car_table.h"
#include "dyno/core/chart_pens.h"

#include <algorithm>
#include <cmath>

namespace korv::dyno {
namespace {

std::string fixed(double v, int decimals) { return korv::format_fixed(v, decimals); }

// printf's "%4d".
std::string padded(long long v, int width) {
    std::string text = std::to_string(v);
    if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

}  // namespace

ChartPeaks FindChartPeaks(const SampleArray& samples, SampleRange range) {
    ChartPeaks p;
    const int n = static_cast<int>(samples.size());
    const int start = std::max(range.start, 0);
    const int end = std::min(range.end, n);
    p.curve_start = start;
    p.curve_end = std::max(end, start);
    if (start >= end) return p;

    p.empty = false;
    int hp_at = start, tq_at = start, low_at = start, high_at = start;
    for (int i = start + 1; i < end; ++i) {
        const DynoSample& s = samples[static_cast<std::size_t>(i)];
        if (s[kPower] > samples[static_cast<std::size_t>(hp_at)][kPower]) hp_at = i;
        if (s[kTorque] > samples[static_cast<std::size_t>(tq_at)][kTorque]) tq_at = i;
        if (s[kSmoothRpm] < samples[static_cast<std::size_t>(low_at)][kSmoothRpm]) low_at = i;
        if (s[kSmoothRpm] > samples[static_cast<std::size_t>(high_at)][kSmoothRpm]) high_at = i;
    }
    auto at = [&](int i) -> const DynoSample& { return samples[static_cast<std::size_t>(i)]; };
    p.peak_hp = at(hp_at)[kPower];
    p.peak_hp_rpm = at(hp_at)[kSmoothRpm];
    p.peak_torque = at(tq_at)[kTorque];
    p.peak_torque_rpm = at(tq_at)[kSmoothRpm];
    p.low_rpm = at(low_at)[kSmoothRpm];
    p.high_rpm = at(high_at)[kSmoothRpm];
    if (low_at < high_at) p.curve_start = low_at;
    return p;
}

int ChartTopValue(float peak_hp, float peak_torque) {
    const long long whole = korv::saturating_float_to_int32(std::max(peak_hp, peak_torque));
    const long long top = whole / 50 * 50 + 50;
    return static_cast<int>(std::clamp(top, 50LL, 2147483600LL));
}

RpmAxis RpmAxisFor(float low_rpm, float high_rpm) {
    const long long low = korv::saturating_float_to_int32(low_rpm);
    const long long high = korv::saturating_float_to_int32(high_rpm);
    return {low / 500 * 500, (high / 500 + 1) * 500};
}

std::string SummaryLine1(const ChartPeaks& p, const DynoSettings& s) {
    const CarSpec& car = car_table()[static_cast<std::size_t>(s.car >= 0 && s.car < kCarCount ? s.car : 0)];
    std::string line = fixed(p.peak_hp, 1) + "hp@" + fixed(p.peak_hp_rpm, 0) + "rpm, " + fixed(p.peak_torque, 1) +
                       "ft/lb@" + fixed(p.peak_torque_rpm, 0) + "rpm            ";
    line += car.name;
    line += ", " + std::to_string(korv::saturating_float_to_int32(s.mass)) + " lbs,  ";
    line += gear_name(s.gear);
    line += " gear   ";
    return line;
}

std::string SummaryLine2(SampleRange range, const DynoSettings& s) {
    std::string line = "Ergomark samples:" + padded(static_cast<long long>(range.end) - range.start, 4) +
                       ",  blend: " + fixed(s.blend, 2) + "s,  AA: +" + std::to_string(s.aa) + " pts";
    if (s.loss_en) line += ",  Drivetrain Loss " + fixed(s.loss, 1) + "%";
    if (s.drag_en) line += ",  Drag Corrected";
    if (s.sae_en)
        line += ",  SAE Corrected at " + fixed(s.sae_pressure, 1) + "mbar, " + fixed(s.sae_temp, 1) + " F, 0%hum";
    return line;
}

ChartDrawing DrawDynoChart(const DynoChartInput& in, ChartRect rect, int h) {
    ChartDrawing d;
    d.text((rect.left + rect.right) / 2, rect.top, TextAnchor::TopCentre, kChartTitle);
    d.text(rect.left, rect.top + h, TextAnchor::TopLeft, in.file_name);
    if (in.samples == nullptr || in.samples->empty() || in.settings == nullptr) return d;
    const SampleArray& samples = *in.samples;
    const DynoSettings& settings = *in.settings;
    auto line = [&](ChartPen pen, int x1, int y1, int x2, int y2) {
        d.line(pen_colour(pen), in.pen_width, x1, y1, x2, y2);
    };

    const ChartPeaks peaks = FindChartPeaks(samples, in.range);
    const int left = rect.left + 50;
    const int right = rect.right;
    const int baseline = rect.bottom - 3 * h;
    const int plot_height = baseline - 2 * h;
    const int top_value = ChartTopValue(peaks.peak_hp, peaks.peak_torque);
    const double per_unit = static_cast<double>(plot_height) / top_value;
    const RpmAxis axis = RpmAxisFor(peaks.low_rpm, peaks.high_rpm);
    const double plot_width = rect.width() - 100;
    const int plot_top = to_pixel(baseline - top_value * per_unit);

    auto x_of = [&](double rpm) { return to_pixel((rpm - axis.min) * plot_width / (axis.max - axis.min) + left); };
    auto y_of = [&](double value) { return value > 0 ? to_pixel(baseline - value * per_unit) : baseline; };

    // Absurd logged values must not turn into millions of grid lines: a
    // grid denser than the pixels is left out, the axes stay.
    const bool value_grid = top_value / 50 <= std::max(plot_height, 1);
    const bool rpm_grid = (axis.max - axis.min) / 500 <= std::max(static_cast<long long>(plot_width), 1LL);
    for (long long u = 0; value_grid && u < top_value; u += 50) {
        const int y = y_of(static_cast<double>(u));
        line(ChartPen::Grid, left, y, right, y);
        d.text(left + 3, y + 1, TextAnchor::TopLeft, std::to_string(u));
    }
    line(ChartPen::Grid, left, plot_top, left, baseline);
    for (long long rpm = axis.min + 500; rpm_grid && rpm < axis.max; rpm += 500) {
        const int x = x_of(static_cast<double>(rpm));
        line(ChartPen::Grid, x, plot_top, x, baseline);
        d.text(x, baseline + 1, TextAnchor::TopCentre, std::to_string(rpm));
    }
    line(ChartPen::Grid, right - 50, plot_top, right - 50, baseline);

    auto curve = [&](ChartPen pen, int slot, float peak, float peak_rpm) {
        ChartPolyline curve_line{pen_colour(pen), in.pen_width, {}};
        for (int i = peaks.curve_start; i < peaks.curve_end; ++i) {
            const DynoSample& s = samples[static_cast<std::size_t>(i)];
            curve_line.points.push_back({x_of(s[kSmoothRpm]), y_of(s[slot])});
        }
        if (curve_line.points.size() >= 2) d.lines.push_back(std::move(curve_line));
        const int x = x_of(peak_rpm);
        line(pen, x, baseline, x, y_of(peak));
    };
    if (!peaks.empty) {
        curve(ChartPen::Torque, kTorque, peaks.peak_torque, peaks.peak_torque_rpm);
        curve(ChartPen::Power, kPower, peaks.peak_hp, peaks.peak_hp_rpm);
    }

    line(ChartPen::Default, left, baseline, right - 50, baseline);
    d.text(left, baseline + h, TextAnchor::TopLeft, SummaryLine1(peaks, settings));
    d.text(left, baseline + 2 * h, TextAnchor::TopLeft, SummaryLine2(in.range, settings));
    return d;
}

}  // namespace korv::dyno
