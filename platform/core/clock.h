#pragma once
// Monotonic time for time-outs and pacing, replaceable so tests never wait.
#include <atomic>
#include <cstdint>

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
};

class MonotonicClock final : public Clock {
public:
    std::int64_t now_us() const override;
    void sleep_us(std::int64_t duration) override;
};

// Time moves only when told to. A sleep advances it instantly, so a worker
// waiting out a long time-out finishes at once; the test may advance it
// from another thread meanwhile.
class TestClock final : public Clock {
public:
    explicit TestClock(std::int64_t start_us = 0) : now_(start_us) {}

    std::int64_t now_us() const override { return now_.load(); }
    void sleep_us(std::int64_t duration) override;

    void set_us(std::int64_t time) { now_.store(time); }
    void set_ms(std::int64_t time) { set_us(time * 1000); }
    void advance_us(std::int64_t duration) { now_.fetch_add(duration); }
    void advance_ms(std::int64_t duration) { advance_us(duration * 1000); }

    // Sleeps so far, so a test can tell a wait from a busy loop.
    std::int64_t sleep_count() const { return sleeps_.load(); }

private:
    std::atomic<std::int64_t> now_;
    std::atomic<std::int64_t> sleeps_{0};
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
