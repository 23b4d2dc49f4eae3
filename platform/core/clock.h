#pragma once
// Monotonic time for time-outs and pacing, replaceable so tests never wait.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace korv::platform {

class Clock {
public:
    virtual ~Clock() = default;

    // Microseconds since an arbitrary fixed point; never goes backwards.
    virtual std::int64_t now_us() const = 0;
    // Returns at once for zero or negative durations.
    virtual void sleep_us(std::int64_t duration) = 0;

    std::int64_t now_ms() const { return now_us() / 1000; }
    void sleep_ms(std::int64_t duration) { sleep_us(duration * 1000); }

    // True for a clock that moves only when every party of a test waits
    // (TestClock::set_lockstep): a wait then sleeps on the clock at once
    // instead of first watching its device in real time.
    virtual bool lockstep() const { return false; }
};

class MonotonicClock final : public Clock {
public:
    std::int64_t now_us() const override;
    void sleep_us(std::int64_t duration) override;
};

// Time moves only when told to. A sleep advances it instantly, so a worker
// waiting out a long time-out finishes at once; the test may advance it
// from another thread meanwhile.
//
// While sleeps are held, a sleep does not move the clock: the sleeper blocks
// until somebody else moves it (or the hold ends). A test then moves time
// only while the workers wait, so a starved worker never sees time jump past
// a window it was meant to watch.
class TestClock final : public Clock {
public:
    explicit TestClock(std::int64_t start_us = 0) : now_(start_us) {}

    std::int64_t now_us() const override { return now_.load(); }
    void sleep_us(std::int64_t duration) override;

    void set_us(std::int64_t time);
    void set_ms(std::int64_t time) { set_us(time * 1000); }
    void advance_us(std::int64_t duration);
    void advance_ms(std::int64_t duration) { advance_us(duration * 1000); }

    // Sleeps so far, so a test can tell a wait from a busy loop.
    std::int64_t sleep_count() const { return sleeps_.load(); }

    void hold_sleeps();
    // Wakes the held sleepers; later sleeps move the clock again.
    void release_sleeps();
    // Waits in real time until a thread is blocked in a held sleep that began
    // after the clock last moved: the earliest time such a sleeper wants to
    // wake at, or nothing when the time-out passed first.
    std::optional<std::int64_t> wait_for_sleeper(std::chrono::milliseconds timeout);

    struct HeldSleeper {
        std::thread::id thread;
        std::int64_t wake_at_us;
    };
    // The threads blocked in a held sleep since the clock last moved.
    std::vector<HeldSleeper> held_sleepers();
    // Wakes the held sleepers without moving the clock: something they wait
    // for came in the meantime.
    void wake_held_sleepers() { moved(); }

    // Held sleeps on a lockstep clock are what every wait does (see Clock).
    void set_lockstep(bool on) { lockstep_.store(on); }
    bool lockstep() const override { return lockstep_.load(); }

private:
    void moved();  // wakes the held sleepers

    std::atomic<std::int64_t> now_;
    std::atomic<std::int64_t> sleeps_{0};

    std::mutex mutex_;
    std::condition_variable changed_;
    bool held_ = false;
    std::uint64_t generation_ = 0;       // bumped whenever held sleepers are woken
    std::vector<HeldSleeper> wakes_at_;  // the sleepers blocked since then
    std::atomic<bool> lockstep_{false};
};

// The process-wide clock: a MonotonicClock unless a ScopedClock is alive.
Clock& clock();

// Replaces the process-wide clock for its lifetime, then restores the one
// it replaced. Workers that read the clock must be finished before it ends.
class ScopedClock {
public:
    explicit ScopedClock(Clock& replacement);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    Clock* previous_;
};

}  // namespace korv::platform
