#pragma once
// Paints the charts worked out in core on any Qt device: window, bitmap, printer.
#include "dyno/core/chart_drawing.h"
#include "dyno/core/dyno_chart.h"
#include "dyno/core/dyno_session.h"

#include <QColor>
#include <QImage>
#include <QRect>

class QPainter;

namespace korv::dyno {

QColor to_qcolor(Rgb rgb);

// Lines in their pens (`pen_width` device pixels wide) and texts in the
// painter's font.
void paint_drawing(QPainter& painter, const ChartDrawing& drawing, int pen_width = 1);

// The power and torque chart of the session into `rect`.
void DrawDynoChartOn(QPainter& painter, const QRect& rect, const DynoSession& session, int pen_width = 1);

// The chart on a white 640 x 480 image, as the bitmap export saves it.
inline constexpr int kBitmapWidth = 640;
inline constexpr int kBitmapHeight = 480;
QImage render_chart_image(const DynoSession& session);

} // namespace korv::dyno
