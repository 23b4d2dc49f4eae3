#pragma once
// One short step of a wait with a deadline on the process clock.
//
// Waits loop: check what they wait for, then call wait_step. A step polls the
// device (or just pauses) for a short real time, so bytes are seen as soon as
// they come. If the process clock did not move meanwhile, it is one that runs
// only when told (a test clock): the step then sleeps on it, so a long
// time-out passes in a few real milliseconds while a simulated device still
// gets real time to answer. On a lockstep clock a step sleeps on the clock
// straight away: the test wakes it when input comes.
#include <cstdint>

namespace korv::platform::serial {

// Real time a step polls for, at most.
inline constexpr std::int64_t kStepRealUs = 2000;
// Clock time a step adds when the clock does not run by itself.
inline constexpr std::int64_t kStepStoppedClockUs = 50000;

// fd < 0: no device to watch. input_pending: bytes already wait but not yet
// enough, so polling would return at once; the step pauses instead.
void wait_step(int fd, bool input_pending, std::int64_t deadline_us);

// Sleeps until deadline_us on the process clock, in steps.
void pause_until(std::int64_t deadline_us);

}  // namespace korv::platform::serial
