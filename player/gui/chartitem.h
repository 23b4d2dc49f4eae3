#pragma once
// One of the player's strip-chart windows: a quantity of the open log, one
// point per record. Hovering moves the player to the record under the
// pointer; a click scrolls the chart by half a window and the player follows.
#include "common/gui/strip_chart_view.h"

#include <cstdint>
#include <span>

class PLAYframe;
class chartcontrolp;

class chartitem : public korv::StripChartView {
    Q_OBJECT
public:
    // The shared model as the player uses it: every point drawable.
    static korv::StripChartOptions player_options();

    explicit chartitem(int slot);

    int slot() const { return slot_; }

    PLAYframe* pf = nullptr;
    chartcontrolp* chartcontrol_frame = nullptr;
    bool local_scroll = false;  // while this chart itself moves the player
    bool chart_loaded = false;

    // The base title, taken by the first point after creation or clearing.
    void set_title(const QString& title);
    void plot_point(std::int32_t v);
    // A block of a log's points, with the "Range" box as it stands now (see
    // range_box); the feeder reads the box once per log.
    void plot_points(std::span<const std::int32_t> values, korv::StripChartRangeBox box);
    korv::StripChartRangeBox range_box() const;
    // Drops the points and the range, when there are any.
    void clear_chart();
    void resetrange();
    // Follows the player: n is its current record + 1.
    void scrollmark(std::int64_t n);
    void paint();
    void paintmark(int x);
    void update_status();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Moves the player with single_click set, as its own buttons do.
    void move_player(std::int64_t record, bool to_record);
    // The title brackets the value of the record the player shows, which
    // the mark does not always stand on.
    void show_player_record_value();

    int slot_;
};
