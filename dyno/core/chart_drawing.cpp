#include "dyno/core/chart_drawing.h"

#include <cmath>

namespace korv::dyno {

Rgb pen_colour(ChartPen pen) {
    switch (pen) {
    case ChartPen::Default: return {0, 0, 0};
    case ChartPen::Grid: return colour_from_bgr(0xC8C8C8);
    case ChartPen::Torque: return colour_from_bgr(0x50148C);
    case ChartPen::Power: return colour_from_bgr(0x3CC814);
    case ChartPen::RawRpm: return {0, 0, 0};
    case ChartPen::SmoothRpm: return colour_from_bgr(0x1414C8);
    }
    return {};
}

int to_pixel(double v) {
    constexpr double kLimit = 1 << 20;
    if (std::isnan(v)) return 0;
    if (v > kLimit) return static_cast<int>(kLimit);
    if (v < -kLimit) return -static_cast<int>(kLimit);
    return static_cast<int>(v);  // truncation, as the integer device maths did
}

} // namespace korv::dyno
