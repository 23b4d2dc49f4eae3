#include "player/gui/chartcontrolp.h"

#include "common/gui/window_place.h"
#include "common/gui/window_style.h"
#include "player/core/strip_chart_feed.h"
#include "player/gui/chartitem.h"
#include "player/gui/play_frame.h"

#include <QCheckBox>
#include <QPushButton>

namespace {
constexpr int kColumns = 7;
constexpr int kButtonWidth = 49;
constexpr int kButtonHeight = 22;
constexpr int kGap = 2;
}  // namespace

chartcontrolp::chartcontrolp() : QWidget(nullptr) {
    setObjectName("chartcontrolp");
    setWindowTitle(QStringLiteral("Chart Manager"));
    setFixedSize(content_width, content_height);
    // Small enough for "ECU P/W" on a 49-pixel button.
    korv::use_window_style(*this, 9);
    for (int slot = 1; slot <= max_charts; ++slot) {
        auto* b = new QPushButton(QString::fromLatin1(korv::player::strip_chart_spec(slot).button), this);
        b->setObjectName(QStringLiteral("chart_button_%1").arg(slot));
        const int i = slot - 1;
        b->setGeometry(4 + (i % kColumns) * (kButtonWidth + kGap), 4 + (i / kColumns) * (kButtonHeight + kGap),
                       kButtonWidth, kButtonHeight);
        b->setEnabled(false);
        connect(b, &QPushButton::clicked, this, [this, slot] { setbutton(slot); });
        button_flag[slot] = b;
        paint_button(slot);
    }
    range_box = new QCheckBox(QStringLiteral("Range"), this);
    range_box->setObjectName("range_box");
    range_box->setToolTip(QStringLiteral("Charts will range max value to 100% on the Y axis"));
    range_box->setGeometry(4 + kButtonWidth + kGap + 4, 4 + 3 * (kButtonHeight + kGap), 120, kButtonHeight);
    connect(range_box, &QCheckBox::clicked, this, &chartcontrolp::range_mouseClicked);
}

bool chartcontrolp::range_ticked() const { return range_box->isChecked(); }

void chartcontrolp::paint_button(int slot) {
    const QColor colour = on_[slot] ? QColor(0, 255, 0) : QColor(255, 0, 0);
    // The style sheet paints the button, its disabled text included.
    const QColor disabled = korv::disabled_text_on(colour);
    button_flag[slot]->setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; padding: 0px; } QPushButton:disabled { color: %2; }")
            .arg(colour.name(), disabled.name()));
}

void chartcontrolp::setbutton(int slot) {
    if (slot < 1 || slot > max_charts || !button_flag[slot]->isEnabled()) return;
    chartitem* chart = chart_frames[slot];
    on_[slot] = !on_[slot];
    paint_button(slot);
    if (!chart) return;
    if (on_[slot]) {
        show_chart(*chart);
        chart->paint();
    } else {
        chart->hide();
    }
}

void chartcontrolp::range_mouseClicked() {
    for (chartitem* chart : chart_frames) {
        if (!chart || !chart->model().has_points()) continue;
        chart->resetrange();
        if (chart->isVisible()) {
            // Redrawn on the new scale.
            chart->hide();
            chart->show();
        }
    }
}

void chartcontrolp::show_chart(chartitem& chart) {
    korv::place_for_first_show(chart, this);
    chart.show();
}

void chartcontrolp::setVisible(bool visible) {
    // Every log opened shows the manager again: it stays where it was.
    if (visible) korv::place_for_first_show(*this, pf, QPoint(50, 50));
    QWidget::setVisible(visible);
}
