#pragma once
// The plotted points, one per record of the shown table, kept small: a float
// per point for each mapped axis only (an unmapped axis lies at 0), a size
// per point only when a size field is mapped (else 1), and a colour per
// point only when a colour field is mapped, as a byte naming one of the few
// colours in use. A frame works from this alone, so it can be shared with
// the threads that draw.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/core/colour.h"
#include "plot3d/core/database.h"
#include "plot3d/core/mapper.h"
#include "plot3d/core/plot_data.h"
#include "plot3d/core/vector3d.h"

namespace korv::plot3d {

class PointCloud {
public:
    PointCloud() = default;
    // Each record of `db` normalised by `bounds` under the mapping.
    PointCloud(const Database& db, const Mapper& mapper, const Bounds& bounds);
    // These points, in full; a point's id is its place in the list. At most
    // 256 different colours.
    explicit PointCloud(const std::vector<PlotData>& points);

    std::size_t count() const { return count_; }
    Vector3D position(std::size_t i) const {
        return {axis_[0].empty() ? 0.0f : axis_[0][i], axis_[1].empty() ? 0.0f : axis_[1][i],
                axis_[2].empty() ? 0.0f : axis_[2][i]};
    }
    float size(std::size_t i) const { return size_.empty() ? 1.0f : size_[i]; }
    Colour colour(std::size_t i) const { return palette_[colour_.empty() ? 0 : colour_[i]]; }
    PlotData at(std::size_t i) const;
    // The largest size of any point: the frame's cubes fit in its cube.
    float largestSize() const { return largest_size_; }

    // A copy in which the points named by `path` (record indexes; others are
    // passed over) move one place along it up to `step`, and the point at
    // `step` moves `fraction` of the way to the next one.
    PointCloud movedAlong(const std::vector<int>& path, int step, float fraction) const;

    // The bytes its points take.
    std::size_t bytes() const;

private:
    void setPosition(std::size_t i, const Vector3D& v);
    void findLargestSize();

    std::size_t count_ = 0;
    std::array<std::vector<float>, 3> axis_;
    std::vector<float> size_;
    std::vector<std::uint8_t> colour_;
    std::vector<Colour> palette_{kYellow};
    float largest_size_ = 1.0f;
};

}  // namespace korv::plot3d
