#pragma once
// The cube drawer's canvas on a QPainter: one filled, outlined polygon and
// one call for the three near edges per cube, changing pen and brush only
// when the colour changes (most points share one).
#include <QLine>
#include <QPainter>
#include <QPoint>

#include "common/gui/qt_colour.h"
#include "plot3d/core/cube_drawer.h"

namespace korv::plot3d {

class CubePainter {
public:
    explicit CubePainter(QPainter& g) : g_(g) {}

    void cube(const CubeShape& s, Colour fill, Colour edge) {
        if (!pen_ || !(*pen_ == edge)) {
            g_.setPen(to_qcolor(edge));
            pen_ = edge;
        }
        if (!brush_ || !(*brush_ == fill)) {
            g_.setBrush(to_qcolor(fill));
            brush_ = fill;
        }
        QPoint hexagon[6];
        for (int k = 0; k < 6; ++k)
            hexagon[k] = {s.xpoints[static_cast<std::size_t>(k)], s.ypoints[static_cast<std::size_t>(k)]};
        g_.drawPolygon(hexagon, 6);
        const QLine edges[3] = {{s.centerx, s.centery, s.xpoints[0], s.ypoints[0]},
                                {s.centerx, s.centery, s.xpoints[2], s.ypoints[2]},
                                {s.centerx, s.centery, s.xpoints[4], s.ypoints[4]}};
        g_.drawLines(edges, 3);
    }

    // Someone else changed the painter's pen or brush.
    void forget() { pen_.reset(), brush_.reset(); }

private:
    QPainter& g_;
    std::optional<Colour> pen_, brush_;
};

}  // namespace korv::plot3d
