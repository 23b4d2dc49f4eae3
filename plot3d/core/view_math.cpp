#include "plot3d/core/view_math.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/core/java_numbers.h"
#include "plot3d/core/depth_order.h"

namespace korv::plot3d {

namespace {

Vector3D scaled2d(Vector3D v, float len) {
    const float l = static_cast<float>(std::sqrt(static_cast<double>(v.x * v.x + v.y * v.y)));
    return {v.x * len / l, v.y * len / l, 0.0f};
}

}  // namespace

Matrix3D view_matrix(const Vector3D& v, double viewangle, float k, float rx, float ry, float rz) {
    const float ca = static_cast<float>(std::cos(viewangle));
    const float sa = static_cast<float>(std::sin(viewangle));
    float s1 = 1, c1 = 0, s2 = 0, c2 = 0;
    const float len = static_cast<float>(std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z));
    if (std::fabs(v.x) > 0.001f || std::fabs(v.y) > 0.001f) {
        const float flat = static_cast<float>(std::sqrt(double(v.x) * v.x + double(v.y) * v.y));
        s1 = v.y / flat;
        c1 = v.x / flat;
        s2 = v.z / len;
        c2 = flat / len;
    } else {
        s2 = v.z / len;
    }
    return Matrix3D(k * rx * (ca * s1 + sa * c1), k * ry * (-ca * c1 - sa * s2 * s1), k * rz * sa * c2, 0,
                    k * rx * (sa * s1 + ca * s2 * c1), k * ry * (-sa * c1 + ca * s2 * s1), -k * rz * ca * c2, 0,
                    k * rx * c2 * c1, k * ry * c2 * s1, k * rz * s2, 0, 0, 0, 0, 1);
}

ScreenPoint screen_of(const Vector3D& p, int w, int h) {
    return {saturating_float_to_int32(static_cast<float>(w / 2) + static_cast<float>(w) * p.x),
            saturating_float_to_int32(static_cast<float>(h / 2) - static_cast<float>(h) * p.y)};
}

int pick_point(const PointCloud& points, const Matrix3D& transmat, int w, int h, int x, int y) {
    // The last drawn is the greatest in the frame's depth order.
    int hit = -1;
    std::uint64_t hit_entry = 0;
    for (std::size_t i = 0; i < points.count(); ++i) {
        const Vector3D v = transmat.transform(points.position(i));
        const ScreenPoint s = screen_of(v, w, h);
        const auto dx = static_cast<long long>(x) - s.x;
        const auto dy = static_cast<long long>(y) - s.y;
        if (std::llabs(dx) > 5 || std::llabs(dy) > 5) continue;
        const std::uint64_t entry = depth_entry(v.z, static_cast<std::uint32_t>(i));
        if (hit < 0 || entry > hit_entry) hit = static_cast<int>(i), hit_entry = entry;
    }
    return hit;
}

BoxPlace value_box_place(int x, int y, int fields, int w, int h) {
    BoxPlace box;
    box.height = 6 + kValueBoxLine * fields;
    box.top = y + 5;
    if (box.top + kValueBoxLine * fields + 8 >= h) box.top = h - kValueBoxLine * fields - 8;
    box.left = x;
    if (box.left + 152 >= w) box.left = w - 152;
    return box;
}

PlaneShape plane_shape(int plane, const Matrix3D& m, int w, int h, bool grid) {
    // Directions u (the axis) and v of each plane.
    static constexpr float kDir[3][2][3] = {{{0, 1, 0}, {0, 0, 1}}, {{0, 0, 1}, {1, 0, 0}}, {{1, 0, 0}, {0, 1, 0}}};
    const auto& u = kDir[plane][0];
    const auto& v = kDir[plane][1];
    const float c = kPlaneAt, span = 2.2f;
    const Vector3D o = m.transform(c, c, c);
    const Vector3D uu = m.transform(c + span * u[0], c + span * u[1], c + span * u[2]);
    const Vector3D vv = m.transform(c + span * v[0], c + span * v[1], c + span * v[2]);
    const Vector3D ww = m.transform(c + span * (u[0] + v[0]), c + span * (u[1] + v[1]), c + span * (u[2] + v[2]));

    PlaneShape s;
    const ScreenPoint so = screen_of(o, w, h), su = screen_of(uu, w, h);
    s.quad = {so, su, screen_of(ww, w, h), screen_of(vv, w, h)};

    const int sx = su.x > so.x ? 1 : -1;
    const int sy = su.y > so.y ? 1 : -1;
    static constexpr int kOffset[5][2] = {{0, -1}, {0, -1}, {0, 0}, {1, 0}, {1, 0}};
    for (int i = 0; i < 5; ++i) {
        const int ox = sx * kOffset[i][0], oy = sy * kOffset[i][1];
        s.axis[static_cast<std::size_t>(i)] = {{so.x + ox, so.y + oy}, {su.x + ox, su.y + oy}};
    }

    const Vector3D d(uu.x - o.x, uu.y - o.y, 0.0f);
    if (std::sqrt(double(d.x) * d.x + double(d.y) * d.y) > 0.001) {
        s.arrow = true;
        const Vector3D a = scaled2d(d, 0.03f);
        const Vector3D n = scaled2d(Vector3D(-a.y, a.x, 0.0f), 0.01f);
        s.head = {su, screen_of(Vector3D(uu.x - a.x + n.x, uu.y - a.y + n.y, 0), w, h),
                  screen_of(Vector3D(uu.x - a.x - n.x, uu.y - a.y - n.y, 0), w, h)};
        s.label = {(s.head[0].x + (s.head[1].x + s.head[2].x) / 2) / 2 + 6,
                   (s.head[0].y + (s.head[1].y + s.head[2].y) / 2) / 2 + 4};
    }

    if (grid) {
        const auto at = [&](const Vector3D& p, const Vector3D& q, float t) {
            return screen_of(Vector3D(p.x + t * (q.x - p.x), p.y + t * (q.y - p.y), p.z + t * (q.z - p.z)), w, h);
        };
        for (int i = 1; i <= 9; ++i) {
            const float t = static_cast<float>(i) / 10.0f;
            s.grid.push_back({at(o, uu, t), at(vv, ww, t)});
            s.grid.push_back({at(o, vv, t), at(uu, ww, t)});
        }
    }
    return s;
}

PlaneOrder plane_order(const Matrix3D& invmat) {
    const Vector3D eye = invmat.transform(0, 0, 1000);
    const float test[3] = {eye.x + 1, eye.y + 1, eye.z + 1};
    PlaneOrder order;
    for (int i = 0; i < 3; ++i) {
        order.before[static_cast<std::size_t>(i)] = test[i] > kPlaneAt;
        order.after[static_cast<std::size_t>(i)] = test[i] < kPlaneAt;
    }
    return order;
}

}  // namespace korv::plot3d
