#include "common/gui/chart_painter.h"

#include "common/gui/qt_colour.h"

#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

namespace korv {

void paint_drawing(QPainter& painter, const ChartDrawing& drawing) {
    painter.save();
    for (const ChartPolyline& line : drawing.lines) {
        painter.setPen(QPen(to_qcolor(line.colour), line.width));
        QPolygon polygon;
        polygon.reserve(static_cast<qsizetype>(line.points.size()));
        for (const ChartPoint& p : line.points) polygon << QPoint(p.x, p.y);
        painter.drawPolyline(polygon);
    }
    painter.setPen(Qt::black);
    const QFontMetrics metrics(painter.font(), painter.device());
    for (const ChartText& text : drawing.texts) {
        const QString s = QFile::decodeName(QByteArray::fromStdString(text.text));
        int x = text.x;
        if (text.anchor == TextAnchor::TopCentre) x -= metrics.horizontalAdvance(s) / 2;
        painter.drawText(x, text.y + metrics.ascent(), s);
    }
    painter.restore();
}

}  // namespace korv
