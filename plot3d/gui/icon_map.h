#pragma once
// One rectangle of a picture strip.
#include "plot3d/core/wheel_geometry.h"

class QImage;
class QPainter;

namespace korv::plot3d {

class IconMap {
public:
    IconMap(int x, int y, int width, int height) : x(x), y(y), width(width), height(height) {}
    explicit IconMap(StripRect r) : IconMap(r.x, r.y, r.width, r.height) {}

    // Shows this rectangle of the picture with its top left at (px, py).
    void draw(QPainter& g, const QImage& picture, int px, int py) const;

    int x, y, width, height;
};

}  // namespace korv::plot3d
