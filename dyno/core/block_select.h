#pragma once
// Choice of the stretch of samples to evaluate: a wide-open-throttle block
// or a block of rising smoothed RPM.
#include "dyno/core/dyno_sample.h"

#include <vector>

namespace korv::dyno {

// Throttle above this counts as wide open.
inline constexpr float kWideOpenThrottle = 95.0f;

// The next wide-open-throttle stretch after the one holding `current_start`,
// wrapping to the first; (0, 0) when a stretch runs to the end of the log.
SampleRange FindThrottleBlock(const SampleArray& samples, int current_start);

struct RisingRun {
    int start = 0;
    int length = 0;
    bool operator==(const RisingRun&) const = default;
};

// Runs of non-decreasing smoothed RPM, in log order.
std::vector<RisingRun> RisingRuns(const SampleArray& samples);

// The runs, longest first, in the order the rising-block search steps
// through them: a new run goes first when longer than the current first,
// otherwise directly before the first later run not longer than it.
// Built in linear time.
std::vector<RisingRun> RisingRunOrder(const SampleArray& samples);

// With key 0, or no run starting at key, or a next run of 8 samples or
// fewer: the longest run. Otherwise the run after the one starting at key.
// End is start + length and may equal the sample count.
SampleRange FindRisingBlock(const SampleArray& samples, int key);

}  // namespace korv::dyno
