#include "dyno/core/chart_pens.h"

namespace korv::dyno {

Colour pen_colour(ChartPen pen) {
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

}  // namespace korv::dyno
