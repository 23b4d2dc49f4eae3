#include "sim/core/clock_wait.h"

#include "platform/core/clock.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>

namespace korv::sim {
namespace {

std::mutex watches_mutex;
std::vector<ClockWatch> watches;

// Lists the calling thread's wait for as long as it lasts.
class ListedWatch {
public:
    explicit ListedWatch(std::int64_t deadline_us) {
        std::lock_guard lock(watches_mutex);
        watches.push_back({std::this_thread::get_id(), deadline_us});
    }
    ~ListedWatch() {
        std::lock_guard lock(watches_mutex);
        const auto me = std::this_thread::get_id();
        watches.erase(
            std::find_if(watches.begin(), watches.end(), [&](const ClockWatch& w) { return w.thread == me; }));
    }
    ListedWatch(const ListedWatch&) = delete;
    ListedWatch& operator=(const ListedWatch&) = delete;
};

bool watch_lockstep_clock(std::int64_t deadline_us, const std::function<bool()>& cancelled) {
    const ListedWatch listed(deadline_us);
    for (;;) {
        if (cancelled && cancelled()) return false;
        if (platform::clock().now_us() >= deadline_us) return true;
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
}

}  // namespace

std::vector<ClockWatch> clock_watches() {
    std::lock_guard lock(watches_mutex);
    return watches;
}

bool waits_on_clock(std::thread::id thread) {
    {
        // A watch already due is about to end: its thread is busy.
        const std::int64_t now = platform::clock().now_us();
        std::lock_guard lock(watches_mutex);
        if (std::any_of(watches.begin(), watches.end(),
                        [&](const ClockWatch& w) { return w.thread == thread && w.deadline_us > now; }))
            return true;
    }
    auto* test_clock = dynamic_cast<platform::TestClock*>(&platform::clock());
    if (!test_clock) return false;
    const auto sleepers = test_clock->held_sleepers();
    return std::any_of(sleepers.begin(), sleepers.end(), [&](const auto& s) { return s.thread == thread; });
}

bool wait_for_clock(std::int64_t deadline_us, const std::function<bool()>& cancelled) {
    using Real = std::chrono::steady_clock;
    constexpr std::int64_t kLookUs = 500;
    auto& clock = platform::clock();
    if (clock.lockstep()) return watch_lockstep_clock(deadline_us, cancelled);
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
