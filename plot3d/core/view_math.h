#pragma once
// The 3-D view's maths without a canvas: the view matrix, screen positions,
// picking, the value box and the back planes' geometry.
#include <array>
#include <cstddef>
#include <vector>

#include "plot3d/core/matrix3d.h"
#include "plot3d/core/point_cloud.h"

namespace korv::plot3d {

struct ScreenPoint {
    int x = 0, y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

struct Segment {
    ScreenPoint a, b;
};

// Seen from `viewpoint`, rolled by `viewangle`, scaled by `zoom` and the axis
// ratios (applied to the model axes before the turn). Row z points at the
// viewer: a larger view z is nearer.
Matrix3D view_matrix(const Vector3D& viewpoint, double viewangle, float zoom, float rx, float ry, float rz);

// A view point on a canvas of w x h: the centre plus w (h) per unit, y up.
// Saturating, so far points still give integers.
ScreenPoint screen_of(const Vector3D& p, int w, int h);

// What a click at (x, y) picks on the frame drawn through `transmat` on a
// w x h canvas: of the points within 5 pixels of it each way, the one drawn
// last (the nearest; of equal depths the later record). Its id, or -1.
int pick_point(const PointCloud& points, const Matrix3D& transmat, int w, int h, int x, int y);
// A click on the selected point or on nothing clears the selection.
inline int next_selection(int hit_id, int selectid) { return hit_id == selectid ? -1 : hit_id; }

struct BoxPlace {
    int left = 0, top = 0, width = 150, height = 0;
};
inline constexpr int kValueBoxLine = 15;
// The value box of `fields` lines for a click at (x, y), kept inside w x h.
BoxPlace value_box_place(int x, int y, int fields, int w, int h);

// The three back planes at -1.2: 0 is the plane x = -1.2 (axis y, label of
// y), 1 the plane y = -1.2 (axis z), 2 the plane z = -1.2 (axis x).
inline constexpr float kPlaneAt = -1.2f;
struct PlaneShape {
    std::array<ScreenPoint, 4> quad;  // O, U, W, V
    std::array<Segment, 5> axis;      // the five-pixel edge O to U
    bool arrow = false;
    std::array<ScreenPoint, 3> head;  // arrowhead at U
    ScreenPoint label;                // where the axis label is written
    std::vector<Segment> grid;        // nine lines each way, when asked
};
PlaneShape plane_shape(int plane, const Matrix3D& transmat, int w, int h, bool grid);

// Which planes go behind the points (drawn first) and which in front (drawn
// last), from the eye's model position; a plane exactly level with the eye
// test is drawn in neither pass.
struct PlaneOrder {
    std::array<bool, 3> before{}, after{};
};
PlaneOrder plane_order(const Matrix3D& invmat);

}  // namespace korv::plot3d
