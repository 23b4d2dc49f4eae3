// Wide-open-throttle and rising-RPM blocks.
#include "dyno/core/block_select.h"

#include <gtest/gtest.h>

#include <list>
#include <random>

namespace korv::dyno {
namespace {

SampleArray with_throttle(const std::vector<float>& tps) {
    SampleArray s(tps.size());
    for (std::size_t i = 0; i < tps.size(); ++i) s[i][kThrottle] = tps[i];
    return s;
}

SampleArray with_rpm(const std::vector<float>& rpm) {
    SampleArray s(rpm.size());
    for (std::size_t i = 0; i < rpm.size(); ++i) s[i][kSmoothRpm] = rpm[i];
    return s;
}

// The insertion into a list exactly as the search was first written.
std::vector<RisingRun> order_by_list_insertion(const SampleArray& samples) {
    std::list<RisingRun> list;
    for (const RisingRun& run : RisingRuns(samples)) {
        if (list.empty() || run.length > list.front().length) {
            list.push_front(run);
            continue;
        }
        auto it = std::next(list.begin());
        while (it != list.end() && it->length > run.length) ++it;
        list.insert(it, run);
    }
    return {list.begin(), list.end()};
}

TEST(DynoThrottleBlock, StepsThroughStretchesAndWraps) {
    std::vector<float> tps(60, 10.0f);
    for (int i = 5; i < 20; ++i) tps[i] = 100;
    for (int i = 30; i < 45; ++i) tps[i] = 100;
    const SampleArray s = with_throttle(tps);
    // W(j) needs j, j+2, j+4, j+6 above 95: a stretch 5..19 gives 5..13.
    EXPECT_EQ(FindThrottleBlock(s, 0), (SampleRange{5, 20}));
    EXPECT_EQ(FindThrottleBlock(s, 5), (SampleRange{30, 45}));
    EXPECT_EQ(FindThrottleBlock(s, 30), (SampleRange{5, 20}));
}

TEST(DynoThrottleBlock, FullThrottleToTheEndGivesNothing) {
    EXPECT_EQ(FindThrottleBlock(with_throttle(std::vector<float>(20, 99.0f)), 0), (SampleRange{0, 0}));
    EXPECT_EQ(FindThrottleBlock(with_throttle(std::vector<float>(20, 50.0f)), 3), (SampleRange{0, 0}));
    EXPECT_EQ(FindThrottleBlock({}, 0), (SampleRange{0, 0}));
}

// Every start, including ones past the end, on short logs: under the
// address sanitizer any read outside the array fails here.
TEST(DynoThrottleBlock, ShortLogsStayInside) {
    for (int n = 0; n <= 9; ++n) {
        for (float level : {0.0f, 100.0f}) {
            const SampleArray s = with_throttle(std::vector<float>(static_cast<std::size_t>(n), level));
            for (int start = -2; start <= n + 2; ++start) {
                const SampleRange r = FindThrottleBlock(s, start);
                EXPECT_LE(r.end, n);
                EXPECT_GE(r.start, 0);
            }
        }
    }
}

TEST(DynoRisingBlock, RunsAndSteppingByLength) {
    // Runs: [0,4) len 4, [4,14) len 10, [14,16) len 2, [16,28) len 12.
    std::vector<float> rpm;
    for (int i = 0; i < 4; ++i) rpm.push_back(1000 + i);
    for (int i = 0; i < 10; ++i) rpm.push_back(500 + i);
    for (int i = 0; i < 2; ++i) rpm.push_back(400 + i);
    for (int i = 0; i < 12; ++i) rpm.push_back(100 + i);
    const SampleArray s = with_rpm(rpm);
    EXPECT_EQ(FindRisingBlock(s, 0), (SampleRange{16, 28}));  // longest; end may equal N
    EXPECT_EQ(FindRisingBlock(s, 16), (SampleRange{4, 14}));  // next longest
    EXPECT_EQ(FindRisingBlock(s, 4), (SampleRange{16, 28}));  // next is 4 long: back to the longest
    EXPECT_EQ(FindRisingBlock(s, 7), (SampleRange{16, 28}));  // no run starts there
    EXPECT_EQ(FindRisingBlock({}, 0), (SampleRange{0, 0}));
}

TEST(DynoRisingBlock, FallingTraceGivesOneSample) {
    const SampleArray s = with_rpm({5, 4, 3, 2, 1});
    const SampleRange r = FindRisingBlock(s, 0);
    EXPECT_EQ(r.end - r.start, 1);
    EXPECT_EQ(RisingRuns(s).size(), 5u);
}

TEST(DynoRisingBlock, OrderMatchesListInsertionOnRandomData) {
    std::mt19937 rng(12345);
    for (int trial = 0; trial < 400; ++trial) {
        const int n = std::uniform_int_distribution<int>(0, 300)(rng);
        // Few distinct steps make many runs of equal length, the hard case.
        std::uniform_int_distribution<int> step(-1, trial % 3 == 0 ? 6 : 2);
        std::vector<float> rpm;
        float v = 3000;
        for (int i = 0; i < n; ++i) {
            int d = step(rng);
            v += d < 0 ? -50.0f : static_cast<float>(d == 0 ? 0 : 10);
            rpm.push_back(v);
        }
        const SampleArray s = with_rpm(rpm);
        ASSERT_EQ(RisingRunOrder(s), order_by_list_insertion(s)) << "trial " << trial;
    }
}

TEST(DynoRisingBlock, EqualLengthsFollowInsertion) {
    // Lengths 3, 3, 5, 3, 5, 3 in log order.
    std::vector<float> rpm;
    float base = 10000;
    for (int len : {3, 3, 5, 3, 5, 3}) {
        base -= 1000;
        for (int i = 0; i < len; ++i) rpm.push_back(base + i);
    }
    const SampleArray s = with_rpm(rpm);
    EXPECT_EQ(RisingRunOrder(s), order_by_list_insertion(s));
    const auto order = RisingRunOrder(s);
    EXPECT_EQ(order[0].start, 6);  // the first 5 stays first
    EXPECT_EQ(order[1].start, 14);
    EXPECT_EQ(order[2].start, 19);  // 3s: newest in front, then the early leader
    EXPECT_EQ(order[3].start, 11);
    EXPECT_EQ(order[4].start, 0);
    EXPECT_EQ(order[5].start, 3);
}

}  // namespace
}  // namespace korv::dyno
