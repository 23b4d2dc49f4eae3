#include "plot3d/gui/icon_map.h"

#include <QImage>
#include <QPainter>

namespace korv::plot3d {

void IconMap::draw(QPainter& g, const QImage& picture, int px, int py) const {
    g.drawImage(QPoint(px, py), picture, QRect(x, y, width, height));
}

}  // namespace korv::plot3d
