#include "dyno/gui/dyno_chart_view.h"

#include "dyno/gui/dyno_chart_painter.h"

#include <QPainter>

namespace korv::dyno {

DynoChartView::DynoChartView(const DynoSession& session, QWidget* parent) : QWidget(parent), session_(session) {
    setObjectName("dynoChart");
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void DynoChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawDynoChartOn(painter, rect(), session_);
}

}  // namespace korv::dyno
