#pragma once
// A 4 x 4 homogeneous transform of the 3-D plot, single precision. Points are
// column vectors (x, y, z, 1); the first letter of an entry names the output
// component, the second the input one; d is the homogeneous row and column.
//
// "post" operations act after the matrix (M becomes R M), "pre" operations
// before it (M becomes M R). Rotations take radians and are right-handed.
#include <array>
#include <string>

#include "plot3d/core/vector3d.h"

namespace korv::plot3d {

class Matrix3D {
public:
    using Array = std::array<std::array<float, 4>, 4>;  // row-major, [0][3] = xd

    Matrix3D() = default;  // identity
    Matrix3D(float xx, float xy, float xz, float xd, float yx, float yy, float yz, float yd, float zx, float zy,
             float zz, float zd, float dx, float dy, float dz, float dd);
    explicit Matrix3D(const Array& m) { set(m); }
    Matrix3D(const Matrix3D& a, const Matrix3D& b);  // the product a b

    void set(float xx, float xy, float xz, float xd, float yx, float yy, float yz, float yd, float zx, float zy,
             float zz, float zd, float dx, float dy, float dz, float dd);
    void set(const Array& m);
    Array toArray() const;
    void unify() { *this = Matrix3D(); }

    void postRotateX(double angle);
    void postRotateY(double angle);
    void postRotateZ(double angle);
    void preRotateX(double angle);
    void preRotateY(double angle);
    void preRotateZ(double angle);
    void postScale(float sx, float sy, float sz);
    void preScale(float sx, float sy, float sz);
    void postTranslate(float tx, float ty, float tz);
    void postTranslate(const Vector3D& v) { postTranslate(v.x, v.y, v.z); }
    void preTranslate(float tx, float ty, float tz);
    void preTranslate(const Vector3D& v) { preTranslate(v.x, v.y, v.z); }

    Vector3D transform(float x, float y, float z) const;
    Vector3D transform(const Vector3D& v) const { return transform(v.x, v.y, v.z); }
    // By cofactors, without a test: a singular matrix gives infinities or NaNs.
    Matrix3D inverse() const;

    // Twenty '-', then one line per row: "|" entries separated by " " "| ".
    std::string text() const;
    void print() const;

    float xx = 1, xy = 0, xz = 0, xd = 0;
    float yx = 0, yy = 1, yz = 0, yd = 0;
    float zx = 0, zy = 0, zz = 1, zd = 0;
    float dx = 0, dy = 0, dz = 0, dd = 1;
};

}  // namespace korv::plot3d
