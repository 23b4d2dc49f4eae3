#pragma once
// A process clock that runs by itself, `speed` times faster than real time.
// Waits of seconds pass in a fraction of that, while a simulated box on its
// own thread still has real milliseconds to answer each exchange: a clock
// that moves only when told would let a 100 ms reply time-out pass in a few
// real milliseconds, shorter than a loaded machine's scheduling delay.
#include "platform/core/clock.h"

#include <chrono>
#include <thread>

namespace korv::boxlogger::testing {

class FastClock final : public platform::Clock {
public:
    explicit FastClock(int speed) : speed_(speed), start_(std::chrono::steady_clock::now()) {}

    std::int64_t now_us() const override {
        const auto real = std::chrono::steady_clock::now() - start_;
        return std::chrono::duration_cast<std::chrono::microseconds>(real).count() * speed_;
    }
    void sleep_us(std::int64_t duration) override {
        if (duration > 0) std::this_thread::sleep_for(std::chrono::microseconds(duration / speed_));
    }

private:
    const int speed_;
    const std::chrono::steady_clock::time_point start_;
};

// Twice real speed: 50 real ms for a 100 ms reply.
inline constexpr int kFastClockSpeed = 2;

}  // namespace korv::boxlogger::testing
