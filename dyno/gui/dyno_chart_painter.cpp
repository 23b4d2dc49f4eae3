#include "dyno/gui/dyno_chart_painter.h"

#include "common/gui/chart_painter.h"
#include "dyno/core/dyno_chart.h"

#include <QFontMetrics>
#include <QPainter>

namespace korv::dyno {

void DrawDynoChartOn(QPainter& painter, const QRect& rect, const DynoSession& session, int pen_width) {
    const QFontMetrics metrics(painter.font(), painter.device());
    const int line_height = metrics.height() + 2;
    const DynoChartInput input{&session.samples(), session.range(), &session.settings, session.file_name(), pen_width};
    const ChartRect area{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
    paint_drawing(painter, DrawDynoChart(input, area, line_height));
}

QImage render_chart_image(const DynoSession& session) {
    QImage image(kBitmapWidth, kBitmapHeight, QImage::Format_RGB888);
    if (image.isNull()) return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawDynoChartOn(painter, QRect(0, 0, kBitmapWidth, kBitmapHeight), session);
    return image;
}

}  // namespace korv::dyno
