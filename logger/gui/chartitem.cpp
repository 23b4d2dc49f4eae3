#include "logger/gui/chartitem.h"

#include <QMouseEvent>

#include "common/gui/window_place.h"
#include "logger/core/chart_presets.h"
#include "logger/core/strip_chart_options.h"
#include "logger/gui/chartcontrol.h"

chartitem::chartitem(korv::logger::KorvLogHost* korv)
    : korv::StripChartView(korv::logger::strip_chart_options()), korv_handle_(korv) {}

void chartitem::set_korv_handle(korv::logger::KorvLogHost* korv) { korv_handle_ = korv; }

korv::logger::KorvLogHost* chartitem::korv_handle() const { return korv_handle_; }

void chartitem::set_title(const QString& title) {
    model().set_title(title.toStdString());
    refresh();
}

void chartitem::publish_title() {
    if (datavalue_handle_) datavalue_handle_->set_value(model().chart_item(), model().title_value());
    refresh();
}

void chartitem::setrange(int slot) {
    const korv::logger::ChartPreset* preset = korv::logger::chart_preset(slot);
    if (!preset) return;
    model().set_chart_item(preset->code);
    model().set_chart_low(preset->low);
    model().set_chart_high(preset->high);
    set_title(QString::fromUtf8(preset->title.data(), static_cast<qsizetype>(preset->title.size())));
}

void chartitem::plot_point(int v) {
    model().plot_point(v);
    publish_title();
}

void chartitem::clear_chart() {
    model().clear();
    test_point_ = 0;
    test_delta_ = 0;
    refresh();
}

void chartitem::resetscale() { model().reset_range(); }

void chartitem::paint() {
    model().repaint();
    refresh();
}

void chartitem::update_status() {
    model().update_status();
    publish_title();
}

void chartitem::resume_chart() {
    model().resume();
    refresh();
}

void chartitem::paintmark(int x) {
    model().paint_mark(x);
    refresh();
}

void chartitem::scroll_data(int x, int full_width) {
    if (model().scroll_data(x, full_width)) {
        publish_title();
    } else {
        refresh();
    }
}

void chartitem::setVisible(bool show) {
    if (show && p_) {
        move(*p_);
    } else if (show) {
        // 50, 50 the first time, unless that lies on the start window's controls.
        korv::place_for_first_show(*this, korv_handle_ ? korv_handle_->start_window() : nullptr, QPoint(50, 50));
    } else if (isVisible()) {
        p_ = pos();
    }
    korv::StripChartView::setVisible(show);
}

chartcontrol* chartitem::start_window_bar() const {
    if (!korv_handle_) return nullptr;
    return dynamic_cast<chartcontrol*>(korv_handle_->chartcontrol_frame());
}

void chartitem::mouseMoveEvent(QMouseEvent* event) {
    const std::optional<int> x = model().hover_position(static_cast<int>(event->position().x()));
    if (!x) return;
    if (chartcontrol* bar = start_window_bar()) bar->hover_sync(*x);
}

void chartitem::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || scroll_locked_) return;
    if (chartcontrol* bar = start_window_bar()) bar->click_sync(static_cast<int>(event->position().x()), width());
}
