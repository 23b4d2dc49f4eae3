#pragma once
// Paints Ergomark's power and torque chart on any Qt device: window, bitmap,
// printer.
#include "dyno/core/dyno_session.h"

#include <QImage>
#include <QRect>

class QPainter;

namespace korv::dyno {

// The power and torque chart of the session into `rect`, its lines
// `pen_width` device pixels wide.
void DrawDynoChartOn(QPainter& painter, const QRect& rect, const DynoSession& session, int pen_width = 1);

// The chart on a white 640 x 480 image, as the bitmap export saves it.
inline constexpr int kBitmapWidth = 640;
inline constexpr int kBitmapHeight = 480;
QImage render_chart_image(const DynoSession& session);

}  // namespace korv::dyno
