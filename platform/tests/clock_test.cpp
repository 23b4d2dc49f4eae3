#include "platform/core/clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace korv::platform {
namespace {

TEST(TestClock, MovesOnlyByAdvanceSetOrSleep) {
    TestClock test_clock(1'500);
    EXPECT_EQ(test_clock.now_ms(), 1);
    test_clock.advance_ms(121'000);
    test_clock.advance_us(499);
    EXPECT_EQ(test_clock.now_us(), 121'001'999);
    test_clock.set_ms(5);
    test_clock.sleep_ms(5'000);
    test_clock.sleep_us(250);
    test_clock.sleep_ms(-3);  // a deadline already past
    EXPECT_EQ(test_clock.now_us(), 5'005'250);
    EXPECT_EQ(test_clock.sleep_count(), 3);
}

TEST(MonotonicClock, NeverGoesBackAndSleepsAtLeastAsLongAsAsked) {
    MonotonicClock monotonic;
    const std::int64_t start = monotonic.now_us();
    monotonic.sleep_ms(20);
    const std::int64_t after = monotonic.now_us();
    EXPECT_GE(after - start, 20'000);
    EXPECT_LT(after - start, 5'000'000);
    std::int64_t previous = monotonic.now_us();
    for (int i = 0; i < 10'000; ++i) {
        const std::int64_t now = monotonic.now_us();
        ASSERT_GE(now, previous);
        previous = now;
    }
}

TEST(ProcessClock, IsMonotonicByDefaultAndScopedOverridesNestAndRestore) {
    Clock* const original = &clock();
    EXPECT_NE(dynamic_cast<MonotonicClock*>(original), nullptr);
    TestClock outer(1'000'000);
    {
        ScopedClock use_outer(outer);
        EXPECT_EQ(clock().now_ms(), 1'000);
        TestClock inner(7'000);
        {
            ScopedClock use_inner(inner);
            EXPECT_EQ(&clock(), &inner);
        }
        EXPECT_EQ(&clock(), &outer);
    }
    EXPECT_EQ(&clock(), original);
}

TEST(ProcessClock, WorkersSleepOnTheOverrideWhileTheTestAdvancesIt) {
    TestClock test_clock;
    ScopedClock use_test_clock(test_clock);
    constexpr int workers = 4;
    constexpr int sleeps_each = 1000;
    std::vector<std::thread> threads;
    for (int i = 0; i < workers; ++i) {
        threads.emplace_back([] {
            for (int n = 0; n < sleeps_each; ++n) clock().sleep_ms(1);
        });
    }
    for (int n = 0; n < sleeps_each; ++n) test_clock.advance_ms(2);
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(test_clock.now_ms(), workers * sleeps_each + 2 * sleeps_each);
}

TEST(TestClock, HeldSleepsWaitForTheTestToMoveTheClock) {
    TestClock test_clock(1'000);
    EXPECT_FALSE(test_clock.wait_for_sleeper(std::chrono::milliseconds(1)));
    test_clock.hold_sleeps();
    test_clock.sleep_us(0);  // nothing to wait for
    std::atomic<int> woken{0};
    std::thread worker([&] {
        test_clock.sleep_us(500);
        woken = 1;
        test_clock.sleep_us(2'000);
        woken = 2;
        test_clock.sleep_us(700);  // after the hold: moves the clock itself
        woken = 3;
    });
    // The clock stands still until the test moves it, early or on time.
    EXPECT_EQ(test_clock.wait_for_sleeper(std::chrono::seconds(10)), 1'500);
    EXPECT_EQ(woken.load(), 0);
    EXPECT_EQ(test_clock.now_us(), 1'000);
    test_clock.advance_us(100);
    EXPECT_EQ(test_clock.wait_for_sleeper(std::chrono::seconds(10)), 3'100);
    EXPECT_EQ(woken.load(), 1);
    test_clock.release_sleeps();
    worker.join();
    EXPECT_EQ(woken.load(), 3);
    EXPECT_EQ(test_clock.now_us(), 1'800);
    EXPECT_EQ(test_clock.sleep_count(), 4);
}

}  // namespace
}  // namespace korv::platform
