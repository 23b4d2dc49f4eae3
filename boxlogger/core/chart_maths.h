#pragma once
// The chart's arithmetic in logical units of 0.01 inch with y growing upward
// (a rectangle's top is numerically above its bottom): time scales and
// scrolling, label steps, trace stacking, legend columns, point mapping,
// switch runs, the mouse wheel and the view's layout.
#include <array>
#include <optional>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace korv::boxlogger::chart {

// A rectangle in logical units, top above bottom.
struct LRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return top - bottom; }
    bool contains(int x, int y) const { return x >= left && x < right && y <= top && y > bottom; }
    bool operator==(const LRect&) const = default;
};

struct LSize {
    int width = 0, height = 0;
    bool operator==(const LSize&) const = default;
};

inline constexpr int kUnitsPerInch = 100;

// ---- Time axis -------------------------------------------------------------

// Seconds per inch, smallest first.
inline constexpr std::array<int, 16> kTimeScales{1,   2,   5,   10,   15,   30,   60,    120,
                                                 300, 600, 900, 1800, 3600, 7200, 18000, 36000};
extern const std::array<const char*, 16> kTimeScaleNames;  // "1 second" ... "10 hours"
inline constexpr int kInitialScale = 2;
inline constexpr int kLastScaleIndex = 15;

// The index of s in the table, else of the first step above it; below the
// first step or above the last gives the last index.
int IndexOfScale(int seconds);

// The scroll bar codes the axes act on.
enum ScrollCode : int {
    kLineUp = 0,
    kLineDown = 1,
    kPageUp = 2,
    kPageDown = 3,
    kThumbPosition = 4,
    kThumbTrack = 5,
    kTop = 6,
    kBottom = 7,
};

struct LabelStep {
    int visible_seconds = 0;
    int step = 1;          // seconds between labels, always a table step
    double spacing = 0.0;  // units between labels
};
// Labels of `label_width` units across `width` units at `scale` seconds per
// inch: as many as fit, at the smallest table step that keeps them apart.
LabelStep ComputeLabelStep(int width, int scale, int label_width);

// Position and scale of the time axis, with its scroll range.
struct TimeAxisState {
    int position = 0;  // whole seconds at the plot's left edge
    int scale = kInitialScale;
    int maximum = 0;  // the last sample's time, rounded
    int page = 0;     // visible seconds

    // Scale = table[i] and the position rounded down to a multiple of it;
    // false when that changes nothing.
    bool SetScaleIndex(int index);
    bool NextScale() { return SetScaleIndex(IndexOfScale(scale) + 1); }  // shrink
    bool PrevScale() { return SetScaleIndex(IndexOfScale(scale) - 1); }  // expand
    // Scroll by code; the result is kept within 0..maximum and rounded down
    // to a multiple of the scale. True when the position moved.
    bool Scroll(int code, int thumb = 0);
    // The scroll range from the newest sample's time (none: 0).
    void SetRange(bool has_samples, float last_time, int visible_seconds);
};

// "hh:mm:ss" of whole seconds.
std::string FormatClock(int seconds);
// A scale label: printf "%5.1f".
std::string FormatScaleLabel(float value);

// ---- Value axis ------------------------------------------------------------

struct YAxisState {
    int position = 0;  // units scrolled off the top
    int maximum = 0;
    int page = 0;

    // From the stack's content height and the height it has; true when the
    // scroll data changed.
    bool Update(int content_height, int visible_height);
    // line_up / line_down: the heights of the last trace scrolled off and of
    // the first trace shown. Kept within 0..maximum - page.
    bool Scroll(int code, int thumb, int line_up, int line_down);
};

// ---- Trace stack -----------------------------------------------------------

inline constexpr LSize kValueTraceSize{300, 50};
inline constexpr LSize kSwitchTraceSize{300, 15};

struct StackEntry {
    int height = 0;  // 0 for a hidden trace
    bool is_value = true;
};

struct StackBand {
    bool shown = false;
    int top = 0, bottom = 0;
};

struct StackResult {
    std::vector<StackBand> bands;  // one per entry
    int line_up = 0;               // height of the last trace scrolled off
    int line_down = 0;             // height of the first trace shown
};

// Traces from the top of `top..bottom` down, skipping `offset` units of
// traces scrolled off; value traces share the spare height.
StackResult StackTraces(const std::vector<StackEntry>& entries, int top, int bottom, int offset);

// ---- Legend ----------------------------------------------------------------

struct LegendGrid {
    int column_width = 0, item_height = 0, columns = 0, rows = 0;
    LSize size;
    // Top-left corner of item k within a legend whose top-left is (left, top).
    std::pair<int, int> ItemOrigin(int k, int left, int top) const;
};
// Items of the given sizes in as many columns as the client width holds.
LegendGrid LayoutLegend(const std::vector<LSize>& items, int client_width);

// ---- Points ----------------------------------------------------------------

// The x of time t on a plot starting at plot_left showing `position` seconds
// at its left edge.
int TimeToX(int plot_left, double scale, float t, int position);
// The time under x (inverse of TimeToX).
double XToTime(int plot_left, double scale, int x, int position);

// A channel's values onto a band's height.
struct ValueMapping {
    int top = 0, bottom = 0;
    double min = 0.0;
    double units_per_value = 0.0;
    int ToY(float value) const;
};
// A range of 0, below 0 or not finite counts as 1.
ValueMapping MapValues(int top, int bottom, float min, float max);
// One grid division per half inch.
int GridDivisions(int top, int bottom);

// Where a band's scale labels go, `text_height` tall each, in the order the
// lines are given (the most wanted first): centred on its line, moved inside
// the band where the line is near an edge, so no label reaches a neighbour,
// the legend or the time axis; left out (none) where it would overlap a
// label placed before it or the band is lower than a label. Each answer is
// the label's top.
std::vector<std::optional<int>> PlaceScaleLabels(const std::vector<int>& lines, int band_top, int band_bottom,
                                                 int text_height);

struct ChartPointXY {
    int x = 0, y = 0;
    bool operator==(const ChartPointXY&) const = default;
};

// Which samples a plot shows: from `first` on, the first sample of each new
// x up to the plot's right edge. `previous_x` carries the last x across
// calls (none: INT_MIN). Calls keep(i, x) for each; returns false when it
// stopped at the right edge.
template <typename TimeOf, typename Keep>
bool CollectPoints(std::size_t first, std::size_t end, TimeOf time_of, int plot_left, int plot_right, double scale,
                   int position, int& previous_x, Keep keep) {
    for (std::size_t i = first; i < end; ++i) {
        const int x = TimeToX(plot_left, scale, time_of(i), position);
        if (x == previous_x) continue;
        if (x > plot_right) return false;
        previous_x = x;
        keep(i, x);
    }
    return true;
}

// The runs of a switch trace, as (from x, to x): a point is on above the
// band's middle; a run ends at the first following off point, or at the last
// point. Only the points from `from` on are looked at (an append redraws
// from the point before its first new one).
std::vector<std::pair<int, int>> SwitchRuns(const std::vector<ChartPointXY>& points, int middle, std::size_t from = 0);

// ---- Wheel -----------------------------------------------------------------

// Wheel deltas add up; each 120 is one step (at most one per message).
class WheelAccumulator {
public:
    // +1 one step forward (or expand), -1 back (or shrink), 0 none yet.
    int Add(int delta);
    int pending() const { return accumulated_; }

private:
    int accumulated_ = 0;
};

// ---- View layout -----------------------------------------------------------

inline constexpr int kViewSlots = 6;
// Rectangles of the title (0), legend (1), trace stack (2), time axis (3)
// and value axis (4) in a client area (top 0, bottom negative), from their
// preferred sizes.
std::array<LRect, 5> LayoutViewSlots(const LRect& client, const std::array<LSize, 5>& sizes);

}  // namespace korv::boxlogger::chart
