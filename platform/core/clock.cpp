#include "platform/core/clock.h"

#include <algorithm>
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
    if (duration > 0) {
        std::unique_lock lock(mutex_);
        if (held_) {
            wakes_at_.push_back({std::this_thread::get_id(), now_.load() + duration});
            changed_.notify_all();
            const std::uint64_t generation = generation_;
            changed_.wait(lock, [&] { return generation_ != generation; });
            return;
        }
    }
    if (duration > 0) now_.fetch_add(duration);
    // Let a thread the sleeper is waiting for make progress.
    std::this_thread::yield();
}

void TestClock::set_us(std::int64_t time) {
    now_.store(time);
    moved();
}

void TestClock::advance_us(std::int64_t duration) {
    now_.fetch_add(duration);
    moved();
}

void TestClock::moved() {
    std::lock_guard lock(mutex_);
    if (wakes_at_.empty()) return;
    wakes_at_.clear();
    ++generation_;
    changed_.notify_all();
}

void TestClock::hold_sleeps() {
    std::lock_guard lock(mutex_);
    held_ = true;
}

void TestClock::release_sleeps() {
    std::lock_guard lock(mutex_);
    held_ = false;
    wakes_at_.clear();
    ++generation_;
    changed_.notify_all();
}

std::optional<std::int64_t> TestClock::wait_for_sleeper(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, timeout, [&] { return !wakes_at_.empty(); })) return std::nullopt;
    return std::min_element(wakes_at_.begin(), wakes_at_.end(),
                            [](const HeldSleeper& a, const HeldSleeper& b) { return a.wake_at_us < b.wake_at_us; })
        ->wake_at_us;
}

std::vector<TestClock::HeldSleeper> TestClock::held_sleepers() {
    std::lock_guard lock(mutex_);
    return wakes_at_;
}

Clock& clock() { return *current_clock.load(std::memory_order_acquire); }

ScopedClock::ScopedClock(Clock& replacement)
    : previous_(current_clock.exchange(&replacement, std::memory_order_acq_rel)) {}

ScopedClock::~ScopedClock() { current_clock.store(previous_, std::memory_order_release); }

}  // namespace korv::platform
