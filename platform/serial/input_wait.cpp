#include "platform/serial/input_wait.h"

#include "platform/core/clock.h"

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace korv::platform::serial {

void wait_step(int fd, bool input_pending, std::int64_t deadline_us) {
    auto& clock = korv::platform::clock();
    const std::int64_t start = clock.now_us();
    const std::int64_t remaining = deadline_us - start;
    if (remaining <= 0) return;
    if (clock.lockstep()) {
        // The test moves the clock once everybody waits, and wakes us when
        // bytes come meanwhile: look once, then sleep out the whole wait.
        pollfd p{fd, POLLIN, 0};
        if (fd >= 0 && !input_pending && poll(&p, 1, 0) > 0) return;
        clock.sleep_us(remaining);
        return;
    }
    const std::int64_t real_us = std::min(remaining, kStepRealUs);

    bool timed_out = true;
    if (fd >= 0 && !input_pending) {
        pollfd p{fd, POLLIN, 0};
        const int timeout_ms = static_cast<int>((real_us + 999) / 1000);
        timed_out = poll(&p, 1, timeout_ms) == 0;
    } else {
        std::this_thread::sleep_for(std::chrono::microseconds(real_us));
    }
    if (timed_out && clock.now_us() == start) clock.sleep_us(std::min(remaining, kStepStoppedClockUs));
}

void pause_until(std::int64_t deadline_us) {
    while (korv::platform::clock().now_us() < deadline_us) wait_step(-1, false, deadline_us);
}

}  // namespace korv::platform::serial
