#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "player/core/player_log.h"

// The pass that gives the strip charts their points: the open log read as
// Play steps through it (from record 1 on, the last record read again at the
// end), each record's points handed over by slot in blocks rather than one
// at a time. A VXM log is decoded many records at once; where that fails, or
// for a PMS log, the records are stepped through one by one, so a failure
// ends the pass where stepping would have ended it.
namespace korv::player {

// Called with a slot (1..22) and the next points of its chart, in order.
using ChartPointSink = std::function<void(int slot, std::span<const std::int32_t> points)>;

// Runs the pass from the log's first record; the cursor is left where
// stepping would leave it. Returns the message of a read failure, if any.
std::optional<std::string> pass_chart_points(PlayerLog& log, const ChartPointSink& sink);

}  // namespace korv::player
