#pragma once
// One live strip-chart window of a settings frame (one per item slot): it
// grows point by point, follows the newest point while a session logs,
// clamps to its range and passes the value under the mark to the
// "Real Time Data Values" panel.
#include <QPoint>
#include <optional>

#include "common/gui/strip_chart_view.h"
#include "logger/gui/korvlog_host.h"
#include "logger/gui/logger_parts.h"

class chartcontrol;

class chartitem : public korv::StripChartView, public korv::logger::ChartWindow {
    Q_OBJECT
public:
    // Hidden, 405 x 130, resizable; korv is the start window (may be set later).
    explicit chartitem(korv::logger::KorvLogHost* korv = nullptr);

    // Set by the settings frame: the start window, item code, title and range.
    void set_korv_handle(korv::logger::KorvLogHost* korv);
    korv::logger::KorvLogHost* korv_handle() const;
    int chart_item() const { return model().chart_item(); }
    void set_chart_item(int item) { model().set_chart_item(item); }
    void set_title(const QString& title);
    void set_chart_low(int low) { model().set_chart_low(low); }
    void set_chart_high(int high) { model().set_chart_high(high); }
    // Set by the chart control on each toggle.
    chartcontrol* chartcontrol_frame() const { return chartcontrol_frame_; }
    void set_chartcontrol_frame(chartcontrol* bar) { chartcontrol_frame_ = bar; }

    // ChartWindow
    bool scroll_locked() const override { return scroll_locked_; }
    void set_scroll_locked(bool locked) override { scroll_locked_ = locked; }
    void resume_chart() override;
    int chart_low() const override { return model().chart_low(); }
    int chart_high() const override { return model().chart_high(); }
    // The slot's preset title, item and range; other slots change nothing.
    void setrange(int slot) override;
    int test_point() const override { return test_point_; }
    void set_test_point(int point) override { test_point_ = point; }
    int test_delta() const override { return test_delta_; }
    void set_test_delta(int delta) override { test_delta_ = delta; }
    void plot_point(int v) override;
    korv::logger::DataValuePanel* datavalue_handle() const override { return datavalue_handle_; }
    void set_datavalue_handle(korv::logger::DataValuePanel* panel) override { datavalue_handle_ = panel; }

    void clear_chart();
    // High and Low recomputed from every point; the drawing keeps its range.
    void resetscale();
    // Redraw the whole chart (the mark goes).
    void paint();
    // Rebuild the title and pass the hover value to the data-value panel.
    void update_status();
    // Redraw, then the mark at x from the drawing area's left edge.
    void paintmark(int x);
    // Scroll half a window for a click at x in a window full_width wide.
    void scroll_data(int x, int full_width);

    // Shown at its last position (the first time at 50, 50, or beside the
    // start window where that would cover its controls); hiding remembers it.
    void setVisible(bool show) override;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    chartcontrol* start_window_bar() const;
    void publish_title();

    korv::logger::KorvLogHost* korv_handle_ = nullptr;
    korv::logger::DataValuePanel* datavalue_handle_ = nullptr;
    chartcontrol* chartcontrol_frame_ = nullptr;
    bool scroll_locked_ = false;
    int test_point_ = 0;
    int test_delta_ = 0;
    std::optional<QPoint> p_;
};
