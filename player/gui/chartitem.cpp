#include "player/gui/chartitem.h"

#include "player/core/strip_chart_options.h"
#include "player/gui/chartcontrolp.h"
#include "player/gui/play_frame.h"

#include <QEvent>
#include <QMouseEvent>

#include <algorithm>

korv::StripChartOptions chartitem::player_options() {
    korv::StripChartOptions options = korv::player::strip_chart_options();
    options.drawn_index_limit = korv::StripChartModel::kNoLimit;
    // The feeder builds the title once all points of a log are in.
    options.point_rebuilds_title = false;
    return options;
}

chartitem::chartitem(int slot) : korv::StripChartView(player_options()), slot_(slot) {
    setObjectName(QStringLiteral("chartitem_%1").arg(slot));
}

korv::StripChartRangeBox chartitem::range_box() const {
    if (!chartcontrol_frame) return korv::StripChartRangeBox::none;
    return chartcontrol_frame->range_ticked() ? korv::StripChartRangeBox::ticked : korv::StripChartRangeBox::unticked;
}

void chartitem::set_title(const QString& title) {
    model().set_title(title.toStdString());
    setWindowTitle(title);
}

void chartitem::plot_point(std::int32_t v) { model().plot_point(v, range_box()); }

void chartitem::plot_points(std::span<const std::int32_t> values, korv::StripChartRangeBox box) {
    model().plot_points(values, box);
}

void chartitem::clear_chart() {
    if (!model().has_points()) return;
    model().clear();
    local_scroll = false;
    chart_loaded = false;
}

void chartitem::resetrange() { model().reset_range(range_box()); }

void chartitem::scrollmark(std::int64_t n) {
    const bool was = local_scroll;
    local_scroll = true;
    model().scroll_mark(n);
    show_player_record_value();
    refresh();
    local_scroll = was;
}

void chartitem::paint() {
    model().repaint();
    refresh();
}

void chartitem::paintmark(int x) {
    model().paint_mark(x);
    refresh();
}

void chartitem::update_status() {
    model().update_status();
    refresh();
}

void chartitem::move_player(std::int64_t record, bool to_record) {
    pf->stop_play();
    pf->single_click = true;
    pf->point_log_file(0);
    if (to_record) pf->point_log_file(record);
    pf->read_log_record();
    pf->display_log_record();
    pf->single_click = false;
}

void chartitem::show_player_record_value() {
    if (!pf || !pf->log().is_open()) return;
    // Point i is record i + 1 (the feed starts after record 0, which has
    // none); past the end the player shows its last record again.
    const std::int64_t shown = std::min(pf->current_log_record(), pf->log().log_records() - 1);
    if (shown < 1) return;
    model().show_value_of(shown - 1);
    model().update_status();
}

void chartitem::mouseMoveEvent(QMouseEvent* event) {
    korv::StripChartView::mouseMoveEvent(event);
    if (!pf || local_scroll) return;
    const std::optional<int> x = model().hover_position(int(event->position().x()));
    if (!x) return;
    local_scroll = true;
    move_player(model().first_point() + *x + 2, true);
    model().paint_mark(*x);
    show_player_record_value();
    refresh();
    local_scroll = false;
}

void chartitem::mousePressEvent(QMouseEvent* event) {
    korv::StripChartView::mousePressEvent(event);
    if (!pf || local_scroll || event->button() != Qt::LeftButton) return;
    const auto click = model().player_click_scroll(int(event->position().x()), width());
    if (!click) return;
    local_scroll = true;
    move_player(click->player_record.value_or(0), click->player_record.has_value());
    paint();
    model().paint_mark(click->mark_x);
    show_player_record_value();
    refresh();
    local_scroll = false;
}

void chartitem::changeEvent(QEvent* event) {
    korv::StripChartView::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        model().set_window_size(width(), height());
        paint();
    }
}
