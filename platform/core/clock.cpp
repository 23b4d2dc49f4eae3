#include "platform/core/clock.h"

#include <chrono>
#include <thread>

namespace korv::platform {

namespace {

// Constant-initialised, so the clock is usable during other files' static
// initialisation.
constinit MonotonicClock monotonic_clock;
constinit std::atomic<Clock*> current_clock{&monotonic_clock};

}  // namespace

std::int64_t MonotonicClock::now_us() const {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void MonotonicClock::sleep_us(std::int64_t duration) {
    if (duration > 0) std::this_thread::sleep_for(std::chrono::microseconds(duration));
}

void TestClock::sleep_us(std::int64_t duration) {
    sleeps_.fetch_add(1);
    if (duration > 0) now_.fetch_add(duration);
    // Let a thread the sleeper is waiting for make progress.
    std::this_thread::yield();
}

Clock& clock() { return *current_clock.load(std::memory_order_acquire); }

ScopedClock::ScopedClock(Clock& replacement)
    : previous_(current_clock.exchange(&replacement, std::memory_order_acq_rel)) {}

ScopedClock::~ScopedClock() { current_clock.store(previous_, std::memory_order_release); }

}  // namespace korv::platform
