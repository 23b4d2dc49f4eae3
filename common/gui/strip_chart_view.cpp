#include "common/gui/strip_chart_view.h"

#include <QPainter>
#include <QVarLengthArray>

namespace korv {

StripChartView::StripChartView(const StripChartOptions& options, QWidget* parent) : QWidget(parent), model_(options) {
    if (options.resizable) {
        resize(StripChartModel::kDefaultWidth, StripChartModel::kDefaultHeight);
    } else {
        setFixedSize(StripChartModel::kDefaultWidth, StripChartModel::kDefaultHeight);
    }
    model_.set_window_size(width(), height());
    setCursor(Qt::CrossCursor);
    // Hover acts without a button held.
    setMouseTracking(true);
    setAutoFillBackground(true);
}

void StripChartView::refresh() {
    const QString title = QString::fromStdString(model_.title());
    if (windowTitle() != title) setWindowTitle(title);
    update();
}

void StripChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    model_.trace(trace_);
    if (trace_.size() >= 2) {
        // Each point after the first is joined to the one before it.
        QVarLengthArray<QPoint, 512> line;
        line.reserve(static_cast<qsizetype>(trace_.size()));
        for (const StripChartVertex& v : trace_) line.append(QPoint(v.x, v.y));
        painter.drawPolyline(line.data(), static_cast<int>(line.size()));
    }
    if (const std::optional<int> mark = model_.mark_x()) {
        const StripChartArea& a = model_.area();
        const int x = a.left + *mark;
        painter.drawLine(x, a.top, x, a.bottom);
    }
}

void StripChartView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    model_.set_window_size(width(), height());
    model_.repaint();
    update();
}

void StripChartView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    model_.set_shown(true);
    model_.set_window_size(width(), height());
    model_.repaint();
    refresh();
}

void StripChartView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    model_.set_shown(false);
}

}  // namespace korv
