#pragma once
// What a frame draws around its cubes with the painter: the back planes with
// their axes, labels and grid, and the value box of a selected point.
#include <QPainter>

#include <array>

#include "plot3d/gui/frame_scene.h"

namespace korv::plot3d {

// The planes `which` names (0 is x = -1.2, 1 is y = -1.2, 2 is z = -1.2).
void draw_planes(QPainter& g, const FrameScene& scene, const std::array<bool, 3>& which);
// The selected record's fields and values at the click, kept inside the canvas.
void draw_value_box(QPainter& g, const FrameScene& scene);

}  // namespace korv::plot3d
