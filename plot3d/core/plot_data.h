#pragma once
// A plotted point: a record of the shown table normalised into the cube
// [-1, 1]^3 with its size and colour, and the maths of that normalising.
#include <string>

#include "common/core/colour.h"
#include "plot3d/core/database.h"
#include "plot3d/core/mapper.h"
#include "plot3d/core/vector3d.h"

namespace korv::plot3d {

// One point as a value; the view keeps its points in a PointCloud, and works
// out their view positions afresh each frame.
struct PlotData {
    PlotData() = default;
    PlotData(int id_, Vector3D vec_, Colour color_, float size_) : id(id_), vec(vec_), color(color_), size(size_) {}

    int id = 0;
    Vector3D vec;  // model position
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

}  // namespace korv::plot3d
