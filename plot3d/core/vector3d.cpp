#include "plot3d/core/vector3d.h"

#include <cmath>
#include <cstdio>

#include "common/core/java_numbers.h"

namespace korv::plot3d {

float Vector3D::length() const { return static_cast<float>(std::sqrt(static_cast<double>(x * x + y * y + z * z))); }

Vector3D& Vector3D::normalize(float len) {
    const float k = len / length();
    x *= k;
    y *= k;
    z *= k;
    return *this;
}

std::string Vector3D::text() const {
    return "(" + java_float_to_string(x) + ", " + java_float_to_string(y) + ", " + java_float_to_string(z) + ")";
}

void Vector3D::print() const { std::printf("%s\n", text().c_str()); }

}  // namespace korv::plot3d
