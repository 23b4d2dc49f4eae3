#pragma once
// Ergomark's pens: the colour each part of its charts is drawn in.
#include "common/core/colour.h"

namespace korv::dyno {

enum class ChartPen { Default, Grid, Torque, Power, RawRpm, SmoothRpm };

Colour pen_colour(ChartPen pen);

}  // namespace korv::dyno
