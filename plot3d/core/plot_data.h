#pragma once
// The plotted points: each record of the shown table normalised into the
// cube [-1, 1]^3 with its size and colour.
#include <optional>
#include <string>
#include <vector>

#include "common/core/colour.h"
#include "plot3d/core/database.h"
#include "plot3d/core/mapper.h"
#include "plot3d/core/vector3d.h"

namespace korv::plot3d {

class PlotData {
public:
    PlotData() = default;
    PlotData(int id_, Vector3D vec_, Colour color_, float size_) : id(id_), vec(vec_), color(color_), size(size_) {}
    // A copy keeps the model position and drops the view position.
    PlotData(const PlotData& o) : id(o.id), vec(o.vec), color(o.color), size(o.size) {}
    PlotData& operator=(const PlotData& o) {
        id = o.id, vec = o.vec, viewvec.reset(), color = o.color, size = o.size;
        return *this;
    }
    // A move (the depth sort) keeps everything.
    PlotData(PlotData&&) = default;
    PlotData& operator=(PlotData&&) = default;

    int id = 0;
    Vector3D vec;                     // model position
    std::optional<Vector3D> viewvec;  // after the view transform, set each frame
    Colour color;
    float size = 1.0f;  // 1 .. 2 inside the size range
};

// The ranges the view normalises by.
struct Bounds {
    float minx = -1, maxx = 1, miny = -1, maxy = 1, minz = -1, maxz = 1;
    float minsize = 0, maxsize = 0;

    static Bounds of(const Mapper& m) { return {m.minx, m.maxx, m.miny, m.maxy, m.minz, m.maxz, m.minsize, m.maxsize}; }
};

// v from [min, max] onto [-1, 1]. An empty range (a constant column, one
// record) maps to 0, and values far outside the range stay finite.
float normalise(float v, float min, float max);
// v from [min, max] onto [1, 2]; an empty range gives 1.
float size_scale(float v, float min, float max);

// The names of the mapped fields: x, y, z and size, empty when unmapped.
struct AxisLabels {
    std::string x, y, z, size;
};
AxisLabels axis_labels(const Database& db, const Mapper& mapper);

// One point per record, id = record index.
std::vector<PlotData> plot_points(const Database& db, const Mapper& mapper, const Bounds& bounds);

}  // namespace korv::plot3d
