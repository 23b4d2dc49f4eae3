#pragma once
// A point or direction of the 3-D plot, single precision.
#include <string>

namespace korv::plot3d {

class Vector3D {
public:
    Vector3D() = default;
    Vector3D(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    float length() const;
    Vector3D plus(const Vector3D& v) const { return {x + v.x, y + v.y, z + v.z}; }
    Vector3D minus(const Vector3D& v) const { return {x - v.x, y - v.y, z - v.z}; }
    Vector3D negative() const { return {-x, -y, -z}; }
    // Scales this vector to length `len`; a zero vector turns into NaNs.
    Vector3D& normalize(float len);
    // "(x, y, z)" with each component as the runtime prints a float.
    std::string text() const;
    void print() const;

    float x = 0.0f, y = 0.0f, z = 0.0f;
};

}  // namespace korv::plot3d
