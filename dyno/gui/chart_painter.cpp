#include "dyno/gui/chart_painter.h"

#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

namespace korv::dyno {

QColor to_qcolor(Rgb rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

void paint_drawing(QPainter& painter, const ChartDrawing& drawing, int pen_width) {
    painter.save();
    for (const ChartPolyline& line : drawing.lines) {
        painter.setPen(QPen(to_qcolor(pen_colour(line.pen)), pen_width));
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

void DrawDynoChartOn(QPainter& painter, const QRect& rect, const DynoSession& session, int pen_width) {
    const QFontMetrics metrics(painter.font(), painter.device());
    const int line_height = metrics.height() + 2;
    const DynoChartInput input{&session.samples(), session.range(), &session.settings, session.file_name()};
    const ChartRect area{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
    paint_drawing(painter, DrawDynoChart(input, area, line_height), pen_width);
}

QImage render_chart_image(const DynoSession& session) {
    QImage image(kBitmapWidth, kBitmapHeight, QImage::Format_RGB888);
    if (image.isNull()) return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawDynoChartOn(painter, QRect(0, 0, kBitmapWidth, kBitmapHeight), session);
    return image;
}

} // namespace korv::dyno
