#include "common/core/chart_drawing.h"

#include <cmath>

namespace korv {

int to_pixel(double v) {
    constexpr double kLimit = 1 << 20;
    if (std::isnan(v)) return 0;
    if (v > kLimit) return static_cast<int>(kLimit);
    if (v < -kLimit) return -static_cast<int>(kLimit);
    return static_cast<int>(v);  // truncation, as the integer device maths did
}

}  // namespace korv
