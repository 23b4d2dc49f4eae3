#include "plot3d/core/cube_drawer.h"

namespace korv::plot3d {

const std::array<Vector3D, 8> CubeDrawer::vertextable = [] {
    std::array<Vector3D, 8> t;
    for (int i = 0; i < 8; ++i)
        t[static_cast<std::size_t>(i)] = Vector3D(i & 4 ? 1.0f : -1.0f, i & 2 ? 1.0f : -1.0f, i & 1 ? 1.0f : -1.0f);
    return t;
}();

void CubeDrawer::reset(const Matrix3D& transmat, const Matrix3D& invmat, int width, int height, float bulletsize,
                       float xratio, float yratio, float zratio) {
    const Vector3D eye = invmat.transform(0, 0, 100);
    octant_ = 4 * (eye.x > -1) + 2 * (eye.y > -1) + (eye.z > -1);
    const float sx = static_cast<float>(width) * bulletsize;
    const float sy = -static_cast<float>(height) * bulletsize;
    const auto place = [&](const Vector3D& q, float& px, float& py) {
        const Vector3D p = transmat.transform(q.x / xratio, q.y / yratio, q.z / zratio);
        px = sx * p.x;
        py = sy * p.y;
    };
    for (std::size_t k = 0; k < 6; ++k)
        place(vertextable[static_cast<std::size_t>(contourtable[octant_][k])], contourx[k], contoury[k]);
    place(vertextable[static_cast<std::size_t>(octant_)], centerx, centery);
}

CubeShape CubeDrawer::shape(float size, int x, int y) const {
    CubeShape s;
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    for (std::size_t k = 0; k < 7; ++k) {
        s.xpoints[k] = saturating_float_to_int32(fx + size * contourx[k % 6]);
        s.ypoints[k] = saturating_float_to_int32(fy + size * contoury[k % 6]);
    }
    s.centerx = saturating_float_to_int32(fx + size * centerx);
    s.centery = saturating_float_to_int32(fy + size * centery);
    return s;
}

}  // namespace korv::plot3d
