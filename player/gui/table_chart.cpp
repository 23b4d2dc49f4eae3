#include "player/gui/table_chart.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace korv::player {
namespace {

constexpr int kAxisWidth = 40;  // room for the Y labels
constexpr int kLegendWidth = 96;
constexpr int kMargin = 4;

const QColor kSeriesColours[] = {QColor(0, 0, 255),   QColor(255, 0, 0),   QColor(0, 128, 0),
                                 QColor(255, 0, 255), QColor(0, 128, 128), QColor(128, 64, 0)};

}  // namespace

TableChart::TableChart(QWidget* parent) : QWidget(parent) {}

void TableChart::setModel(const StringTable* table) {
    table_ = table;
    update();
}

void TableChart::setNumYTicks(int n) {
    y_ticks_ = std::max(2, n);
    update();
}

void TableChart::setYAxisMax(double value) {
    if (std::isfinite(value)) y_max_ = value;
    update();
}

std::pair<double, double> TableChart::y_range() const {
    double low = 0.0;
    double high = 0.0;
    bool any = false;
    if (table_) {
        for (int r = 0; r < table_->getRowCount(); ++r) {
            for (int c = 0; c < int(table_->headers().size()); ++c) {
                const auto v = table_->value(r, c);
                if (!v || !std::isfinite(*v)) continue;
                high = any ? std::max(high, *v) : *v;
                low = std::min(low, *v);
                any = true;
            }
        }
    }
    if (y_max_) high = *y_max_;
    if (high <= low) high = low + 1.0;
    return {low, high};
}

void TableChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QRect plot(kAxisWidth, kMargin, width() - kAxisWidth - kLegendWidth - kMargin, height() - 2 * kMargin);
    if (plot.width() < 2 || plot.height() < 2) return;
    // Plain variables, not a structured binding: clang 14 cannot capture one in a lambda.
    const std::pair<double, double> range = y_range();
    const double low = range.first;
    const double high = range.second;
    auto y_of = [&](double v) { return plot.bottom() - (v - low) / (high - low) * plot.height(); };

    painter.setPen(Qt::black);
    painter.drawRect(plot);
    const QFontMetrics metrics(font());
    for (int t = 0; t < y_ticks_; ++t) {
        const double v = low + (high - low) * t / (y_ticks_ - 1);
        const int y = int(std::lround(y_of(v)));
        painter.drawLine(plot.left() - 3, y, plot.left(), y);
        painter.drawText(QRect(0, y - metrics.height() / 2, kAxisWidth - 5, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(v, 'g', 4));
    }
    if (!table_) return;

    const int rows = table_->getRowCount();
    const int series = int(table_->headers().size());
    const double x_step = rows > 1 ? double(plot.width()) / (rows - 1) : 0.0;
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int c = 0; c < series; ++c) {
        const QColor colour = kSeriesColours[c % std::size(kSeriesColours)];
        painter.setPen(colour);
        QPainterPath path;
        bool drawing = false;
        for (int r = 0; r < rows; ++r) {
            const auto v = table_->value(r, c);
            if (!v || !std::isfinite(*v)) {
                drawing = false;  // a gap where a row has no number
                continue;
            }
            const QPointF p(plot.left() + x_step * r, std::clamp(y_of(*v), -1e4, 1e4));
            if (drawing) {
                path.lineTo(p);
            } else {
                path.moveTo(p);
                drawing = true;
            }
        }
        painter.save();
        painter.setClipRect(plot);
        painter.drawPath(path);
        painter.restore();

        const int legend_y = kMargin + c * (metrics.height() + 2);
        painter.fillRect(QRect(plot.right() + 8, legend_y + metrics.height() / 2 - 1, 12, 3), colour);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(plot.right() + 24, legend_y + metrics.ascent()),
                         QString::fromStdString(table_->headers()[std::size_t(c)]));
    }
}

}  // namespace korv::player
