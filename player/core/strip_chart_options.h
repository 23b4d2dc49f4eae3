#pragma once
// How the player's log charts use the shared model: its defaults, zero on
// the bottom edge, the scale from chart_high or the "Range" box, a fixed
// 405 x 130 window and the full title with Min/Max and the bracketed hover
// value. The chart windows drop the drawn-point limit on top of this.
#include "common/core/strip_chart_model.h"

namespace korv::player {

inline StripChartOptions strip_chart_options() { return StripChartOptions{}; }

}  // namespace korv::player
