#pragma once
// Waiting on the process clock the way a device waits: it watches the clock
// and never moves it, so with a test clock the program under test sets the
// pace (its waits move the clock) and a device's answer times stay in step
// with it.
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

namespace korv::sim {

// A clock that has not moved for this long in real time is moved on by the
// waiter itself: nobody is waiting on the other side.
inline constexpr std::int64_t kStalledClockRealUs = 500'000;

// Waits until the process clock reaches deadline_us. False when cancelled()
// turned true first (checked about every half millisecond). On a lockstep
// clock the wait is listed in clock_watches() meanwhile, so the test moves
// the clock up to it.
bool wait_for_clock(std::int64_t deadline_us, const std::function<bool()>& cancelled = {});

struct ClockWatch {
    std::thread::id thread;
    std::int64_t deadline_us;
};
// The waits of wait_for_clock() under way on a lockstep clock.
std::vector<ClockWatch> clock_watches();

// The thread is blocked until the clock moves: in wait_for_clock() on a
// lockstep clock short of its deadline, or in a held sleep of the test clock.
bool waits_on_clock(std::thread::id thread);

// The pty hands a byte over at once; on the wire it was whole only a byte's
// time (10 bits at the given speed) after it began. A device paced on the
// wire waits this out before it answers.
void wait_heard_byte(long baud);

}  // namespace korv::sim
