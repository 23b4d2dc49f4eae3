#include "plot3d/core/point_cloud.h"

#include <algorithm>
#include <stdexcept>

namespace korv::plot3d {

namespace {

// The place of `c` in `palette`, added when new.
std::uint8_t palette_index(std::vector<Colour>& palette, Colour c) {
    const auto it = std::find(palette.begin(), palette.end(), c);
    if (it != palette.end()) return static_cast<std::uint8_t>(it - palette.begin());
    if (palette.size() >= 256) throw std::length_error("more than 256 colours of points");
    palette.push_back(c);
    return static_cast<std::uint8_t>(palette.size() - 1);
}

bool valid(std::size_t count, int i) { return i >= 0 && static_cast<std::size_t>(i) < count; }

}  // namespace

PointCloud::PointCloud(const Database& db, const Mapper& m, const Bounds& b)
    : count_(static_cast<std::size_t>(std::max(db.reccount, 0))), palette_{m.defcolor} {
    const int fields[3] = {m.x, m.y, m.z};
    const float mins[3] = {b.minx, b.miny, b.minz};
    const float maxs[3] = {b.maxx, b.maxy, b.maxz};
    for (std::size_t a = 0; a < 3; ++a) {
        if (fields[a] < 0) continue;
        axis_[a].resize(count_);
        for (std::size_t i = 0; i < count_; ++i)
            axis_[a][i] = normalise(db.numericValue(static_cast<int>(i), fields[a]), mins[a], maxs[a]);
    }
    if (m.size >= 0) {
        size_.resize(count_);
        for (std::size_t i = 0; i < count_; ++i)
            size_[i] = size_scale(db.numericValue(static_cast<int>(i), m.size), b.minsize, b.maxsize);
    }
    if (m.color >= 0) {
        colour_.resize(count_);
        for (std::size_t i = 0; i < count_; ++i)
            colour_[i] = palette_index(palette_, m.getcolor(db.stringValue(static_cast<int>(i), m.color)));
    }
    findLargestSize();
}

PointCloud::PointCloud(const std::vector<PlotData>& points) : count_(points.size()) {
    for (auto& axis : axis_) axis.resize(count_);
    size_.resize(count_);
    colour_.resize(count_);
    palette_.clear();
    for (std::size_t i = 0; i < count_; ++i) {
        setPosition(i, points[i].vec);
        size_[i] = points[i].size;
        colour_[i] = palette_index(palette_, points[i].color);
    }
    if (palette_.empty()) palette_.push_back(kYellow);
    findLargestSize();
}

PlotData PointCloud::at(std::size_t i) const { return PlotData(static_cast<int>(i), position(i), colour(i), size(i)); }

void PointCloud::setPosition(std::size_t i, const Vector3D& v) {
    const float c[3] = {v.x, v.y, v.z};
    // An unmapped axis is 0 for every point, so a point moved along others stays at 0 there.
    for (std::size_t a = 0; a < 3; ++a)
        if (!axis_[a].empty()) axis_[a][i] = c[a];
}

void PointCloud::findLargestSize() {
    largest_size_ = 1.0f;
    if (!size_.empty()) largest_size_ = *std::max_element(size_.begin(), size_.end());
}

PointCloud PointCloud::movedAlong(const std::vector<int>& path, int step, float fraction) const {
    PointCloud moved = *this;
    std::vector<Vector3D> from;
    from.reserve(path.size());
    for (int i : path) from.push_back(valid(count_, i) ? position(static_cast<std::size_t>(i)) : Vector3D());
    const auto n = static_cast<int>(path.size());
    for (int k = 0; k < n - 1 && k <= step; ++k) {
        const auto kk = static_cast<std::size_t>(k);
        if (!valid(count_, path[kk]) || !valid(count_, path[kk + 1])) continue;
        const Vector3D& a = from[kk];
        const Vector3D& b = from[kk + 1];
        const Vector3D to = k < step ? b
                                     : Vector3D(a.x + fraction * (b.x - a.x), a.y + fraction * (b.y - a.y),
                                                a.z + fraction * (b.z - a.z));
        moved.setPosition(static_cast<std::size_t>(path[kk]), to);
    }
    return moved;
}

std::size_t PointCloud::bytes() const {
    std::size_t n = size_.capacity() * sizeof(float) + colour_.capacity() + palette_.capacity() * sizeof(Colour);
    for (const auto& axis : axis_) n += axis.capacity() * sizeof(float);
    return n;
}

}  // namespace korv::plot3d
