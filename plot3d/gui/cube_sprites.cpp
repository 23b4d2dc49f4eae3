#include "plot3d/gui/cube_sprites.h"

#include <QPainter>

#include <algorithm>

#include "plot3d/gui/cube_painter.h"

namespace korv::plot3d {

namespace {

// A stamp's corners lie at most 127 pixels from its position; the painter's
// edges reach no further than kPaintReach past the corners.
constexpr int kShapeMiddle = 127 + kPaintReach + 2;
constexpr int kShapeSide = 2 * kShapeMiddle + 1;
// Many shapes are made while a view turns; a long session keeps no more than this.
constexpr std::size_t kMostStamps = 8192;

constexpr QRgb kUntouched = 0xFF000000u;
const Colour kFillMarker{0, 0, 255};
const Colour kEdgeMarker{0, 255, 0};

QImage cleared(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(kUntouched);
    return image;
}

}  // namespace

CubeStamp CubeSprites::paint_and_read(QImage& scratch, const CubeShape& shape, int x, int y, int dx, int dy,
                                      const PixelBox& box) {
    CubeShape moved = shape;
    for (std::size_t k = 0; k < moved.xpoints.size(); ++k) moved.xpoints[k] += dx, moved.ypoints[k] += dy;
    moved.centerx += dx;
    moved.centery += dy;
    {
        QPainter g(&scratch);
        CubePainter(g).cube(moved, kFillMarker, kEdgeMarker);
    }
    const QRgb fill = 0xFF000000u | 0x0000FFu, edge = 0xFF000000u | 0x00FF00u;
    const auto pixel = [&](int column, int row) {
        const QRgb p = reinterpret_cast<const QRgb*>(scratch.constScanLine(row))[column];
        return p == fill ? CubePixel::fill : p == edge ? CubePixel::edge : CubePixel::none;
    };
    CubeStamp stamp = stamp_of(pixel, box.left, box.top, box.right, box.bottom, x + dx, y + dy);
    for (int row = box.top; row <= box.bottom; ++row) {
        QRgb* line = reinterpret_cast<QRgb*>(scratch.scanLine(row));
        std::fill(line + box.left, line + box.right + 1, kUntouched);
    }
    return stamp;
}

const CubeStamp& CubeSprites::stamp(const StampKey& key, const CubeShape& shape, int x, int y) {
    if (const auto it = stamps_.find(key); it != stamps_.end()) return it->second;
    if (stamps_.size() >= kMostStamps) stamps_.clear();
    if (shapes_.isNull()) shapes_ = cleared(kShapeSide, kShapeSide);
    const int dx = kShapeMiddle - x, dy = kShapeMiddle - y;
    const PixelBox corners = box_of(shape);
    const PixelBox box{corners.left + dx - kPaintReach, corners.top + dy - kPaintReach,
                       corners.right + dx + kPaintReach, corners.bottom + dy + kPaintReach};
    return stamps_.emplace(key, paint_and_read(shapes_, shape, x, y, dx, dy, box)).first->second;
}

const CubeStamp& CubeSprites::clipped(const CubeShape& shape, int x, int y, int width, int height) {
    if (canvas_.width() != width || canvas_.height() != height) canvas_ = cleared(width, height);
    const PixelBox corners = box_of(shape);
    const PixelBox box{std::max(corners.left - kPaintReach, 0), std::max(corners.top - kPaintReach, 0),
                       std::min(corners.right + kPaintReach, width - 1),
                       std::min(corners.bottom + kPaintReach, height - 1)};
    clipped_.runs.clear();
    if (box.left <= box.right && box.top <= box.bottom) clipped_ = paint_and_read(canvas_, shape, x, y, 0, 0, box);
    return clipped_;
}

}  // namespace korv::plot3d
