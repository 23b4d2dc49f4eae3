#pragma once
// The pictures of the picture widgets, drawn by the program: none ships with
// it. Each keeps the layout its widget cuts it by.
#include "plot3d/core/wheel_geometry.h"

#include <QImage>
#include <QString>

namespace korv::plot3d {

// 17 x 8: the 4 x 8 end cap at x 0, the 13 x 8 knob at x 4.
const QImage& slider_picture();

// The wheel's strip: ends for the four phases and the reset button up and
// down (see wheel_geometry.h for the rectangles).
const QImage& wheel_picture(WheelOrientation orientation);

// A button face with its label: the up look at (0, 0), the down look
// `width` to the right.
QImage button_picture(const QString& label, int width, int height);

}  // namespace korv::plot3d
