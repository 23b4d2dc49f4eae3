#include "sim/core/clock_wait.h"

#include "platform/core/clock.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace korv::sim {

bool wait_for_clock(std::int64_t deadline_us, const std::function<bool()>& cancelled) {
    using Real = std::chrono::steady_clock;
    constexpr std::int64_t kLookUs = 500;
    auto& clock = platform::clock();
    std::int64_t seen = clock.now_us();
    auto still_since = Real::now();
    for (;;) {
        if (cancelled && cancelled()) return false;
        const std::int64_t now = clock.now_us();
        if (now >= deadline_us) return true;
        if (now != seen) {
            seen = now;
            still_since = Real::now();
        } else if (Real::now() - still_since > std::chrono::microseconds(kStalledClockRealUs)) {
            clock.sleep_us(deadline_us - now);
            continue;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(std::min(deadline_us - now, kLookUs)));
    }
}

void wait_heard_byte(long baud) {
    if (baud > 0) wait_for_clock(platform::clock().now_us() + 10'000'000 / baud);
}

}  // namespace korv::sim
