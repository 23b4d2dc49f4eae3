#pragma once
// One strip chart: the points (each the quantity times 100), the configured
// range, the highest, lowest and hovered values, the view that scrolls over
// the points, the vertical mark and the title text. No drawing here:
// StripChartView (common/gui) paints what trace() and mark_x() give.
//
// The logger's live charts and the player's log charts share this model;
// every difference between them is a field of StripChartOptions. Each
// program keeps its own set, strip_chart_options() in its core folder; the
// defaults are the player's.
//
// How the player configures it:
//   StripChartModel chart(player::strip_chart_options());
//   - Bottom edge 0: y = top + h - trunc(trunc(v/100) * conversion_factor).
//     plot_point(v, box) and reset_range(box) set the scale from data_high
//     through set_scale(high, box); pass the manager's "Range" box as
//     unticked/ticked, or none when the chart has no manager.
//   - plot_point neither draws nor moves the view; the feeder sets
//     set_last_record(n) and set_curr_record(n), and the window shows the
//     chart afterwards (StripChartView::showEvent repaints).
//   - Hover offset 0 (the point at first + hover_x), hover value v/100.0,
//     title "RPM Min: 0 Max: 8000 High: 6500 Low: 750 (3250.0)", points at
//     index 32000 or more never drawn, paint_mark() rebuilds the title,
//     clear() leaves an empty chart alone, 64-bit record counters.
//   - Following the player: scroll_mark(n). Hover: hover_position(mouse_x),
//     move the player to first_point() + x + 2, then paint_mark(x). Click:
//     player_click_scroll(mouse_x, width) gives the record to move the player
//     to, then paint_mark(result.mark_x).
//   - Window: StripChartView with resizable = false (405 x 130, fixed).
// The logger uses chart_low as the bottom edge, clamps to the range, shows
// the title divided by 100 for O2 and TPS without Min/Max or brackets, moves
// the view to the newest point on each sample, and neither scales nor draws
// while chart_high is not above chart_low.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korv {

// Which value sits on the bottom edge of the drawing area.
enum class StripChartBottom {
    zero,       // 0; the top is the conversion factor's (chart_high or, with "Range", data_high)
    chart_low,  // chart_low; the top is chart_high
};

// The chart manager's "Range" box as a chart sees it.
enum class StripChartRangeBox { none, unticked, ticked };

struct StripChartTitleFormat {
    bool min_max = true;        // "Min: <chart_low> Max: <chart_high> " after the base title
    bool brackets = true;       // "(3250.0)" rather than "3250.0"
    bool item_divisor = false;  // O2 (item 3) and TPS (item 7) shown divided by 100
};

// Window edges around the drawing area, in pixels.
struct StripChartBorders {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct StripChartOptions {
    StripChartBottom bottom = StripChartBottom::zero;
    // Values outside chart_low..chart_high are stored at the nearer bound.
    bool clamp_to_range = false;
    // No scale and no drawing while chart_high <= chart_low (the logger's
    // charts before their first sample).
    bool require_high_above_low = false;
    // The hover value comes from the point at first + hover_x + hover_offset.
    int hover_offset = 0;
    // Hover value v/100 in integer division (else v/100.0).
    bool whole_hover_value = false;
    // plot_point repaints, counts the point into last_record and
    // curr_record and takes it as the hover value: a live chart.
    bool follows_newest = false;
    // Points at this index or beyond are never drawn; negative: no limit.
    std::int64_t drawn_index_limit = 32000;
    // clear() resets the fields even when the chart has no points.
    bool clear_when_empty = false;
    // paint_mark() also rebuilds the title.
    bool mark_rebuilds_title = true;
    // plot_point() of a chart that does not follow the newest point rebuilds
    // the title; off, the owner calls update_status() once its points are in
    // (a long log then costs no title text per point).
    bool point_rebuilds_title = true;
    // last_record, curr_record and hover_x: 32 or 64 bits. The model keeps
    // them in 64 bits and saturates them at the narrower width.
    int record_bits = 64;
    // The window may be resized (StripChartView).
    bool resizable = false;
    StripChartTitleFormat title;
    StripChartBorders borders;
};

// The drawing area, recomputed from the window size.
struct StripChartArea {
    int width = 0;  // the window's full width and height
    int height = 0;
    int left = 0;    // left border
    int top = 0;     // top border
    int right = 0;   // width - right border - 1
    int bottom = 0;  // height - bottom border - 1
    int w = 0;       // width - left and right borders
    int h = 0;       // height - top and bottom borders
};

// A vertex of the trace, in window pixels.
struct StripChartVertex {
    int x;
    int y;
    friend bool operator==(const StripChartVertex&, const StripChartVertex&) = default;
};

class StripChartModel {
public:
    using Record = std::int64_t;
    static constexpr int kNoData = 65000;      // data_low before the first point
    static constexpr int kDefaultWidth = 405;  // content size of a chart window
    static constexpr int kDefaultHeight = 130;
    static constexpr std::int64_t kNoLimit = -1;

    explicit StripChartModel(StripChartOptions options);

    const StripChartOptions& options() const { return options_; }

    // --- Window ---------------------------------------------------------
    // Recomputes the drawing area (and, with the chart_low bottom, the
    // conversion factor). The view calls it on every resize.
    void set_window_size(int width, int height);
    const StripChartArea& area() const { return area_; }
    // Only a shown chart paints.
    void set_shown(bool shown);
    bool shown() const { return shown_; }

    // --- Configuration, set by the owner --------------------------------
    int chart_item() const { return chart_item_; }
    void set_chart_item(int item) { chart_item_ = item; }
    int chart_low() const { return chart_low_; }
    int chart_high() const { return chart_high_; }
    void set_chart_low(int low);
    void set_chart_high(int high);
    // The window title; the first point after creation or clearing takes it
    // as the base title.
    const std::string& title() const { return title_; }
    void set_title(std::string title) { title_ = std::move(title); }
    const std::string& base_title() const { return ts_; }

    // --- Points -----------------------------------------------------------
    // One value, the quantity times 100.
    void plot_point(std::int32_t v, StripChartRangeBox box = StripChartRangeBox::none);
    // Many values in a row: the same points, range, scale and title as
    // plot_point on each in turn, but with the window, scale and title set
    // once per call. A long log's feeder calls it on blocks of points.
    void plot_points(std::span<const std::int32_t> values, StripChartRangeBox box = StripChartRangeBox::none);
    // Room for n points in all, so a long feed does not grow the storage
    // step by step. Returns the new room (past the points held), whose
    // pages the caller may have backed before the points arrive (see
    // platform/core/page_populator.h); empty when the room was there.
    std::span<std::int32_t> reserve_points(std::size_t n);
    const std::vector<std::int32_t>& points() const { return points_; }
    bool has_points() const { return !points_.empty(); }
    // Drop the points (keeping their storage for the next feed) and reset
    // the range, data and view (see clear_when_empty). The base title is
    // taken again at the next point.
    void clear();
    // Recompute data_high/data_low from every point and set the scale.
    void reset_range(StripChartRangeBox box = StripChartRangeBox::none);
    // The scale for a highest value (the zero bottom's algorithm); with the
    // chart_low bottom the scale always comes from the configured range.
    void set_scale(int high, StripChartRangeBox box = StripChartRangeBox::none);

    int data_high() const { return data_high_; }
    int data_low() const { return data_low_; }
    bool has_data() const { return data_low_ != kNoData; }
    // Pixels per unit of value; -1 while not set.
    float conversion_factor() const { return conversion_factor_; }
    float hover_value() const { return hover_value_; }
    // The bracketed value is point i's from now on, wherever the mark stands,
    // until the points are cleared: for a chart that follows a cursor (the
    // player's record), whose point the mark does not always stand on.
    // Nothing changes for an i with no point.
    void show_value_of(Record i);

    Record last_record() const { return last_record_; }
    void set_last_record(Record n) { last_record_ = saturate(n); }
    Record curr_record() const { return curr_record_; }
    void set_curr_record(Record n) { curr_record_ = saturate(n); }
    Record hover_x() const { return hover_x_; }
    // The first index the last repaint drew.
    Record first_point() const { return first_point_; }

    // --- Drawing ----------------------------------------------------------
    // A shown chart with points (and, where required, a range above its
    // low) can be drawn.
    bool drawable() const;
    // A full repaint: drops the mark, keeps a short log's view at its end,
    // fixes the view and takes the hover value. Nothing when not drawable.
    void repaint();
    // Repaint, then the mark at x pixels from the drawing area's left edge;
    // hover_x becomes x.
    void paint_mark(int x);
    // The mark of the picture, from the drawing area's left edge.
    std::optional<int> mark_x() const { return mark_x_; }
    // The polyline of the last repaint, in window pixels; empty when not
    // drawable. Reuses out's storage.
    void trace(std::vector<StripChartVertex>& out) const;
    // The y of a value (times 100) on the current scale, in window pixels.
    std::int64_t value_y(std::int32_t v) const;

    // --- Title ------------------------------------------------------------
    void update_status();
    // The hover value as the title shows it (divided for O2 and TPS where
    // the format asks), also what the logger's data-value panel shows.
    float title_value() const;
    int title_divisor() const;

    // --- Mouse and scrolling -----------------------------------------------
    // x from the drawing area's left edge for a mouse at mouse_x, when it is
    // over the plot: not left of it, not past w - 2, not past last_record.
    std::optional<int> hover_position(int mouse_x) const;
    // The logger's half-window scroll for a click at click_x (window
    // pixels) in a window full_width wide. True when it rebuilt the title
    // (not when a click past the newest point just returned to it).
    bool scroll_data(int click_x, int full_width);
    // Back to the newest point.
    void resume();

    // The player follows its current record: n = record + 1.
    void scroll_mark(Record n);
    struct PlayerClick {
        // The record to move the player to; none: stay on the first record.
        std::optional<Record> player_record;
        int mark_x;  // paint the mark here once the player has moved
    };
    // The player's half-window scroll; none for a chart without points.
    std::optional<PlayerClick> player_click_scroll(int click_x, int full_width);

private:
    Record saturate(Record n) const;
    bool range_usable() const { return chart_high_ > chart_low_; }
    void scale_from_range();
    float hover_of(std::int32_t v) const;
    std::int64_t drawn_end() const;
    void take_base_title();
    std::int32_t clamped(std::int32_t v) const;

    StripChartOptions options_;
    StripChartArea area_;
    bool shown_ = false;

    int chart_item_ = -1;
    int chart_low_ = -1;
    int chart_high_ = -1;
    std::string title_;
    std::string ts_;
    bool base_title_taken_ = false;

    std::vector<std::int32_t> points_;
    int data_high_ = 0;
    int data_low_ = kNoData;
    float conversion_factor_ = -1.0f;
    float hover_value_ = 0.0f;
    std::optional<Record> value_point_;  // see show_value_of

    Record last_record_ = -1;
    Record curr_record_ = -1;
    Record first_point_ = 0;
    Record last_point_ = -1;
    Record hover_x_ = 0;
    std::optional<int> mark_x_;
};

}  // namespace korv
