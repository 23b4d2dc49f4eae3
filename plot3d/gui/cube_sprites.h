#pragma once
// Where a thread drawing part of a frame finds the pixels of its cubes. Each
// shape's stamp is made once, by the painter that draws the one-thread
// frame, on a scratch image of the thread's own; a cube at the canvas edge,
// where the painter's clipping decides, is painted at its own place on a
// scratch of the canvas's size instead. Either way every pixel is the one
// the painter gives, in marker colours read back as fill and edge.
#include <QImage>

#include <unordered_map>

#include "plot3d/core/cube_stamp.h"

namespace korv::plot3d {

class CubeSprites {
public:
    // The stamp of a cube of this shape at (x, y), clear of the canvas edges.
    const CubeStamp& stamp(const StampKey& key, const CubeShape& shape, int x, int y);
    // A cube of this shape at (x, y) as a canvas of width x height clips it;
    // valid until the next call.
    const CubeStamp& clipped(const CubeShape& shape, int x, int y, int width, int height);

private:
    // Paints the shape moved by (dx, dy) into `scratch` and reads back the
    // box `box` (on the scratch), relative to (x + dx, y + dy); then clears it.
    static CubeStamp paint_and_read(QImage& scratch, const CubeShape& shape, int x, int y, int dx, int dy,
                                    const PixelBox& box);

    std::unordered_map<StampKey, CubeStamp, StampKeyHash> stamps_;
    QImage shapes_;  // for stamps: every shape fits around its middle
    QImage canvas_;  // the canvas's size, for cubes at its edges
    CubeStamp clipped_;
};

}  // namespace korv::plot3d
