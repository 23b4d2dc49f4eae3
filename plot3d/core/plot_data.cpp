#include "plot3d/core/plot_data.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korv::plot3d {

namespace {

float to_finite(double v) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (std::isnan(v)) return 0.0f;
    return static_cast<float>(std::clamp(v, -kMax, kMax));
}

std::string name_of(const Database& db, int field) {
    return field >= 0 && field < db.fieldcount ? db.fieldname[static_cast<std::size_t>(field)] : std::string();
}

}  // namespace

// In double: a float's range never overflows there, and the quotient is
// clamped back into float range.
float normalise(float v, float min, float max) {
    const double range = double(max) - double(min);
    if (!(range != 0.0) || !std::isfinite(range)) return 0.0f;
    return to_finite((2.0 * v - (double(min) + double(max))) / range);
}

float size_scale(float v, float min, float max) {
    const double range = double(max) - double(min);
    if (!(range != 0.0) || !std::isfinite(range)) return 1.0f;
    return to_finite(1.0 + (double(v) - double(min)) / range);
}

AxisLabels axis_labels(const Database& db, const Mapper& m) {
    return {name_of(db, m.x), name_of(db, m.y), name_of(db, m.z), name_of(db, m.size)};
}

}  // namespace korv::plot3d
