#include "boxlogger/core/chart_maths.h"

#include "common/core/java_numbers.h"
#include "common/core/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace korv::boxlogger::chart {

const std::array<const char*, 16> kTimeScaleNames{
    "1 second",  "2 seconds",  "5 seconds",  "10 seconds", "15 seconds", "30 seconds", "1 minute", "2 minutes",
    "5 minutes", "10 minutes", "15 minutes", "30 minutes", "1 hour",     "2 hours",    "5 hours",  "10 hours"};

namespace {

int clamp_to_int(std::int64_t v) {
    return static_cast<int>(
        std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int round_down_to(int v, int multiple) { return multiple > 0 ? v - v % multiple : v; }

}  // namespace

int IndexOfScale(int seconds) {
    if (seconds < kTimeScales.front()) return kLastScaleIndex;
    for (int i = 0; i <= kLastScaleIndex; ++i)
        if (kTimeScales[i] >= seconds) return i;
    return kLastScaleIndex;
}

LabelStep ComputeLabelStep(int width, int scale, int label_width) {
    LabelStep out;
    out.visible_seconds = std::max(0, saturating_double_to_int32(width * 0.01 * scale));
    const int labels = std::max(1, label_width > 0 ? width / label_width : 1);
    const int wanted = (out.visible_seconds + labels - 1) / labels;
    // The table's last step is as wide as labels get.
    out.step = kTimeScales.back();
    for (int s : kTimeScales)
        if (s >= wanted) {
            out.step = s;
            break;
        }
    out.spacing = scale > 0 ? static_cast<double>(out.step) / scale * kUnitsPerInch : 0.0;
    return out;
}

bool TimeAxisState::SetScaleIndex(int index) {
    index = std::clamp(index, 0, kLastScaleIndex);
    const int wanted = kTimeScales[index];
    if (wanted == scale && position % wanted == 0) return false;
    scale = wanted;
    position = round_down_to(position, scale);
    return true;
}

bool TimeAxisState::Scroll(int code, int thumb) {
    std::int64_t to = position;
    switch (code) {
    case kLineUp: to -= scale; break;
    case kLineDown: to += scale; break;
    case kPageUp: to -= page; break;
    case kPageDown: to += page; break;
    case kThumbPosition:
    case kThumbTrack: to = thumb; break;
    case kTop: to = 0; break;
    case kBottom: to = maximum; break;
    default: return false;
    }
    const int moved = round_down_to(clamp_to_int(std::clamp<std::int64_t>(to, 0, std::max(0, maximum))), scale);
    if (moved == position) return false;
    position = moved;
    return true;
}

void TimeAxisState::SetRange(bool has_samples, float last_time, int visible_seconds) {
    maximum = has_samples ? std::max(0, saturating_double_to_int32(static_cast<double>(last_time) + 0.5)) : 0;
    if (position > maximum) position = round_down_to(maximum, scale);
    page = visible_seconds;
}

std::string FormatClock(int seconds) {
    seconds = std::max(0, seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

std::string FormatScaleLabel(float value) {
    std::string text = format_fixed(value, 1);
    if (text.size() < 5) text.insert(0, 5 - text.size(), ' ');
    return text;
}

bool YAxisState::Update(int content_height, int visible_height) {
    int new_maximum = std::max(0, content_height);
    if (new_maximum > 0 && new_maximum < 10) new_maximum = 10;
    const int new_position = std::min(position, new_maximum);
    const int new_page =
        content_height > 0 ? clamp_to_int(std::int64_t{std::max(0, visible_height)} * new_maximum / content_height) : 0;
    const bool changed = new_maximum != maximum || new_position != position || new_page != page;
    maximum = new_maximum;
    position = new_position;
    page = new_page;
    return changed;
}

bool YAxisState::Scroll(int code, int thumb, int line_up, int line_down) {
    std::int64_t to = position;
    switch (code) {
    case kLineUp: to -= line_up; break;
    case kLineDown: to += line_down; break;
    case kPageUp: to -= page; break;
    case kPageDown: to += page; break;
    case kThumbPosition:
    case kThumbTrack: to = thumb; break;
    case kTop: to = 0; break;
    case kBottom: to = std::int64_t{maximum} - page; break;
    default: return false;
    }
    const int moved = clamp_to_int(std::clamp<std::int64_t>(to, 0, std::max<std::int64_t>(0, maximum - page)));
    if (moved == position) return false;
    position = moved;
    return true;
}

StackResult StackTraces(const std::vector<StackEntry>& entries, int top, int bottom, int offset) {
    StackResult out;
    out.bands.resize(entries.size());
    std::int64_t remaining = std::int64_t{top} - bottom;
    int value_traces = 0;
    bool first_shown = true;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const StackEntry& e = entries[i];
        if (e.height == 0) continue;
        if (offset > 0) {
            offset -= e.height;
            out.line_up = e.height;
            continue;
        }
        if (e.height > remaining) break;  // this and every later trace stay hidden
        out.bands[i].shown = true;
        remaining -= e.height;
        if (first_shown) out.line_down = e.height;
        first_shown = false;
        if (e.is_value) ++value_traces;
    }
    const std::int64_t extra = value_traces > 0 ? remaining / value_traces + 1 : 0;
    std::int64_t spare = std::max<std::int64_t>(0, remaining);
    std::int64_t y = top;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        StackBand& band = out.bands[i];
        if (!band.shown) continue;
        const int h = entries[i].height;
        std::int64_t grow = 0;
        if (entries[i].is_value) {
            grow = std::min(extra, spare);
            spare -= grow;
        }
        band.top = clamp_to_int(y - 2);
        band.bottom = clamp_to_int(y - h + 2 - grow);
        y = y - h - grow;
    }
    return out;
}

std::pair<int, int> LegendGrid::ItemOrigin(int k, int left, int top) const {
    if (columns <= 0) return {left, top};
    return {left + (k % columns) * column_width, top - (k / columns) * item_height};
}

LegendGrid LayoutLegend(const std::vector<LSize>& items, int client_width) {
    LegendGrid grid;
    if (items.empty()) return grid;  // no items, no columns: 0 x 0
    int item_width = 0;
    for (const LSize& s : items) {
        item_width = std::max(item_width, s.width);
        grid.item_height = std::max(grid.item_height, s.height);
    }
    grid.column_width = std::max(1, item_width + grid.item_height / 3);
    grid.columns = std::max(1, client_width / grid.column_width);
    const int n = static_cast<int>(items.size());
    grid.rows = (n + grid.columns - 1) / grid.columns;
    grid.size = {grid.column_width * grid.columns, grid.rows * grid.item_height};
    return grid;
}

int TimeToX(int plot_left, double scale, float t, int position) {
    const double offset = (kUnitsPerInch / scale) * (static_cast<double>(t) - position) + 0.5;
    return clamp_to_int(std::int64_t{plot_left} + saturating_double_to_int32(offset));
}

double XToTime(int plot_left, double scale, int x, int position) {
    return (static_cast<double>(x) - plot_left) / (kUnitsPerInch / scale) + position;
}

int ValueMapping::ToY(float value) const {
    const double offset = (static_cast<double>(value) - min) * units_per_value + 0.5;
    const std::int64_t y = std::int64_t{bottom} + saturating_double_to_int32(offset);
    return clamp_to_int(std::clamp<std::int64_t>(y, std::min(bottom, top), std::max(bottom, top)));
}

ValueMapping MapValues(int top, int bottom, float min, float max) {
    ValueMapping m;
    m.top = top;
    m.bottom = bottom;
    m.min = std::isfinite(min) ? min : 0.0;
    double range = static_cast<double>(max) - static_cast<double>(min);
    if (!std::isfinite(range) || range <= 0.0) range = 1.0;
    m.units_per_value = (static_cast<double>(top) - bottom) / range;
    return m;
}

int GridDivisions(int top, int bottom) {
    return saturating_double_to_int32((static_cast<double>(top) - bottom + 1) * 0.02 + 0.5);
}

std::vector<std::optional<int>> PlaceScaleLabels(const std::vector<int>& lines, int band_top, int band_bottom,
                                                 int text_height) {
    std::vector<std::optional<int>> tops;
    std::vector<std::pair<int, int>> taken;  // (top, bottom) of the labels placed
    for (const int line : lines) {
        std::optional<int> top;
        if (band_top - band_bottom >= text_height) {
            const int centred = line + text_height / 2;
            const int inside = std::clamp(centred, band_bottom + text_height, band_top);
            const bool clear = std::none_of(taken.begin(), taken.end(), [&](const std::pair<int, int>& t) {
                return inside > t.second && inside - text_height < t.first;
            });
            if (clear) {
                top = inside;
                taken.emplace_back(inside, inside - text_height);
            }
        }
        tops.push_back(top);
    }
    return tops;
}

std::vector<std::pair<int, int>> SwitchRuns(const std::vector<ChartPointXY>& points, int middle, std::size_t from) {
    std::vector<std::pair<int, int>> runs;
    bool in_run = false;
    int run_start = 0;
    for (std::size_t i = from; i < points.size(); ++i) {
        const bool on = points[i].y > middle;
        if (on && !in_run) {
            in_run = true;
            run_start = points[i].x;
        } else if (!on && in_run) {
            in_run = false;
            runs.emplace_back(run_start, points[i].x);
        }
    }
    if (in_run) runs.emplace_back(run_start, points.back().x);
    return runs;
}

int WheelAccumulator::Add(int delta) {
    accumulated_ = clamp_to_int(std::int64_t{accumulated_} + delta);
    if (accumulated_ >= 120) {
        accumulated_ -= 120;
        return 1;
    }
    if (accumulated_ <= -120) {
        accumulated_ += 120;
        return -1;
    }
    return 0;
}

std::array<LRect, 5> LayoutViewSlots(const LRect& client, const std::array<LSize, 5>& sizes) {
    std::array<LRect, 5> r;
    r[0] = {client.left, client.top, client.right, client.top - sizes[0].height};
    const int b = r[0].bottom;
    r[1] = {client.left, b - 1, client.right, b - sizes[1].height - 1};
    r[2] = {client.left, r[1].bottom - 1, client.right - sizes[4].width - 1, client.bottom + sizes[3].height + 1};
    r[4] = {r[2].right + 1, r[2].top, r[2].right + sizes[4].width + 1, r[2].bottom};
    r[3] = {client.left, r[2].bottom - 1, r[2].right, r[2].bottom - sizes[3].height - 1};
    return r;
}

}  // namespace korv::boxlogger::chart
