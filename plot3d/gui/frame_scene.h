#pragma once
// Everything one frame of the 3-D view is drawn from, copied off the view so
// that the frame can be drawn on other threads while the view changes.
#include <QFont>

#include <cstdint>
#include <memory>
#include <string>

#include "plot3d/core/database.h"
#include "plot3d/core/matrix3d.h"
#include "plot3d/core/point_cloud.h"

namespace korv::plot3d {

struct FrameScene {
    std::uint64_t generation = 0;              // grows with each change of the view
    std::shared_ptr<const PointCloud> points;  // null: nothing to plot
    std::shared_ptr<const Database> table;     // the value box's texts
    int width = 0, height = 0;
    Matrix3D transmat, invmat;
    float bulletsize = 0.075f;
    float xratio = 1, yratio = 1, zratio = 1;
    int selectid = -1;
    bool needgrid = false, opaqueplane = false;
    bool needreport = false;  // the value box of the selected point, at the click
    int reportx = 0, reporty = 0;
    std::string xlabel, ylabel, zlabel;
    QFont labelfont, reportfont;
};

}  // namespace korv::plot3d
