#include "logger/gui/chartcontrol.h"

#include "common/gui/window_place.h"
#include "common/gui/window_style.h"
#include "logger/core/chart_presets.h"
#include "logger/gui/chartitem.h"

namespace {

// Three buttons a row, five rows, the "Range" box beneath.
constexpr int kColumns = 3;
constexpr int kButtonWidth = 54;
constexpr int kButtonHeight = 19;
constexpr int kRowStep = 20;

// The style sheet paints the button, its disabled text included.
QString button_style(const QColor& colour) {
    return QStringLiteral("QPushButton { background-color: %1; } QPushButton:disabled { color: %2; }")
        .arg(colour.name(), korv::disabled_text_on(colour).name());
}

QString text_of(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

chartcontrol::chartcontrol(korv::logger::KorvLogHost& korv) : QWidget(nullptr), korv_(korv) {
    setObjectName("chartcontrol");
    setWindowTitle(QString());
    setFixedSize(content_width, content_height);
    // Small enough for "L/M Trim" on a 54-pixel button.
    korv::use_window_style(*this, 9);

    int index = 0;
    for (const korv::logger::ChartButton& b : korv::logger::kChartButtons) {
        auto* button = new QPushButton(text_of(b.text), this);
        button->setObjectName(QStringLiteral("button_%1").arg(b.slot));
        button->setToolTip(text_of(b.tool_tip));
        button->setGeometry(1 + (index % kColumns) * (kButtonWidth + 2), 1 + (index / kColumns) * kRowStep,
                            kButtonWidth, kButtonHeight);
        button->setEnabled(false);
        // Toggled by the mouse only: without focus the keyboard cannot press it.
        button->setFocusPolicy(Qt::NoFocus);
        const int slot = b.slot;
        connect(button, &QPushButton::clicked, this, [this, slot] { setbutton(slot); });
        button_flag[static_cast<std::size_t>(slot)] = button;
        paint_button(slot, false);
        ++index;
    }
    range = new QCheckBox("Range", this);
    range->setObjectName("range");
    range->setToolTip("Charts will range max value to 100% on the Y axis");
    range->setGeometry(4, 5 * kRowStep + 1, 100, 18);
    range->setFocusPolicy(Qt::NoFocus);
    connect(range, &QCheckBox::clicked, this, &chartcontrol::range_mouseClicked);
}

void chartcontrol::paint_button(int slot, bool green) {
    green_[static_cast<std::size_t>(slot)] = green;
    button_flag[static_cast<std::size_t>(slot)]->setStyleSheet(green ? button_style(QColor(0, 255, 0))
                                                                     : button_style(QColor(255, 0, 0)));
}

bool chartcontrol::button_green(int slot) const {
    return slot >= 0 && slot < korv::logger::kItemSlots && green_[static_cast<std::size_t>(slot)];
}

chartitem* chartcontrol::chart_of(korv::logger::LogSettingsFrame* frame, int slot) {
    if (!frame) return nullptr;
    return dynamic_cast<chartitem*>(frame->chart_frames(slot));
}

void chartcontrol::setbutton(int slot) {
    if (slot < 0 || slot >= korv::logger::kItemSlots) return;
    QPushButton* button = button_flag[static_cast<std::size_t>(slot)];
    if (!button || !button->isEnabled()) return;
    chartitem* chart = chart_of(pf_, slot);
    if (!chart) return;
    if (!button_green(slot)) {
        paint_button(slot, true);
        chart->setVisible(true);
        chart->paint();
    } else {
        chart->setVisible(false);
        paint_button(slot, false);
    }
    chart->set_chartcontrol_frame(this);
}

void chartcontrol::set_buttons(korv::logger::LogSettingsFrame* frame) {
    if (!frame) return;
    for (int slot = 0; slot < korv::logger::kItemSlots; ++slot) {
        chartitem* chart = chart_of(frame, slot);
        QPushButton* button = button_flag[static_cast<std::size_t>(slot)];
        if (!chart || !button) continue;
        button->setEnabled(false);
        paint_button(slot, false);
        chart->setVisible(false);
    }
    for (int item : frame->log_items()) {
        if (item < 0) continue;
        for (int slot = 0; slot < korv::logger::kItemSlots; ++slot) {
            chartitem* chart = chart_of(frame, slot);
            QPushButton* button = button_flag[static_cast<std::size_t>(slot)];
            if (!chart || !button || chart->chart_item() != item) continue;
            button->setEnabled(true);
            if (korv_.charts_ticked()) {
                paint_button(slot, true);
                chart->setVisible(true);
            }
        }
    }
}

void chartcontrol::click_sync(int x, int width) {
    for (int slot = 0; slot < korv::logger::kItemSlots; ++slot) {
        chartitem* chart = chart_of(pf_, slot);
        if (chart && chart->isVisible()) chart->scroll_data(x, width);
    }
}

void chartcontrol::hover_sync(int x) {
    for (int slot = 0; slot < korv::logger::kItemSlots; ++slot) {
        chartitem* chart = chart_of(pf_, slot);
        if (!chart || !chart->isVisible()) continue;
        chart->paintmark(x);
        chart->update_status();
    }
}

void chartcontrol::range_mouseClicked() {
    // The drawing always takes its scale from the configured range, so only
    // High and Low change; they show at the next title rebuild.
    for (int slot = korv::logger::kRangeFirstSlot; slot <= korv::logger::kRangeLastSlot; ++slot) {
        chartitem* chart = chart_of(pf_, slot);
        if (!chart || !chart->model().has_points()) continue;
        chart->resetscale();
        if (chart->isVisible()) {
            chart->setVisible(false);
            chart->setVisible(true);
        }
    }
}

void chartcontrol::setVisible(bool show) {
    // 50, 50 the first time, unless that lies on the start window's controls.
    if (show) korv::place_for_first_show(*this, korv_.start_window(), QPoint(50, 50));
    QWidget::setVisible(show);
}

chartcontrol* chartcontrol_of(const korv::logger::KorvLogHost& korv) {
    return dynamic_cast<chartcontrol*>(korv.chartcontrol_frame());
}
