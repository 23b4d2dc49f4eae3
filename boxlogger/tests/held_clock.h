#pragma once
// Runs link work on a thread of its own against a held test clock, and moves
// the clock only while that work sleeps and the simulated box has dealt with
// everything it was sent. Waits of seconds pass in a few real milliseconds,
// and however late the box's thread runs on a loaded machine, it answers at
// the clock time it was asked.
#include "platform/core/clock.h"
#include "sim/core/peer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <optional>

namespace korv::boxlogger::testing {

template <typename Work>
auto run_on_held_clock(platform::TestClock& clock, const sim::Peer& box, Work work) {
    using namespace std::chrono_literals;
    clock.hold_sleeps();
    auto result = std::async(std::launch::async, std::move(work));
    const auto give_up = std::chrono::steady_clock::now() + 60s;
    while (result.wait_for(0s) != std::future_status::ready) {
        if (std::chrono::steady_clock::now() > give_up) {
            ADD_FAILURE() << "the work never finished";
            break;
        }
        const std::optional<std::int64_t> wake_at = clock.wait_for_sleeper(5ms);
        if (!wake_at) continue;
        EXPECT_TRUE(box.wait_idle(10s)) << "the box never dealt with what it was sent";
        clock.set_us(*wake_at);
    }
    clock.release_sleeps();
    return result.get();
}

}  // namespace korv::boxlogger::testing
