// Live samples: scaling, chart slots and the demonstration wave.
#include "logger/core/live_scaling.h"

#include <gtest/gtest.h>

#include <vector>

namespace korv::logger {
namespace {

struct SlotCase {
    int cable;
    int code;
    int slot;
};

TEST(LoggerLiveScaling, EachCodeLandsInItsChartSlot) {
    const std::vector<SlotCase> cases = {
        {4, 0, 2},   {4, 3, 5},  {4, 7, 7},  {4, 9, 1},   {4, 10, 3},  {4, 11, 6}, {4, 12, 10},
        {4, 13, 11}, {4, 17, 9}, {4, 18, 8}, {4, 48, 14}, {1, 0, 2},   {1, 1, 4},  {1, 3, 5},
        {1, 7, 7},   {1, 9, 1},  {1, 11, 6}, {1, 12, 10}, {1, 13, 11}, {1, 18, 8},
    };
    for (const SlotCase& c : cases) {
        const auto scaled = scale_live_sample(c.cable, 0, 100, c.code);
        ASSERT_TRUE(scaled) << "cable " << c.cable << " code " << c.code;
        EXPECT_EQ(scaled->slot, c.slot) << "cable " << c.cable << " code " << c.code;
    }
}

TEST(LoggerLiveScaling, CodesAndCablesWithoutARowChartNothing) {
    EXPECT_FALSE(scale_live_sample(1, 0, 50, 20));  // speed
    EXPECT_FALSE(scale_live_sample(1, 0, 50, 10));  // pulse width is DSM only
    EXPECT_FALSE(scale_live_sample(1, 0, 50, 48));
    EXPECT_FALSE(scale_live_sample(4, 0, 50, 1));  // coolant is OBD-II only
    EXPECT_FALSE(scale_live_sample(5, 0, 50, 9));
    EXPECT_FALSE(is_charted_cable(0));
    EXPECT_FALSE(is_charted_cable(2));
    EXPECT_FALSE(is_charted_cable(-2));
    EXPECT_TRUE(is_charted_cable(1));
    EXPECT_TRUE(is_charted_cable(4));
}

TEST(LoggerLiveScaling, ObdRpmUsesBothBytes) {
    const auto scaled = scale_live_sample(1, 0x1F, 0x40, 9);
    ASSERT_TRUE(scaled);
    EXPECT_EQ(scaled->value, 2000.0f);
    EXPECT_EQ(chart_point(scaled->value), 200000);
}

TEST(LoggerLiveScaling, DsmUsesTheLowByteOnly) {
    const auto tps = scale_live_sample(4, 0x7F, 255, 7);
    ASSERT_TRUE(tps);
    EXPECT_EQ(tps->value, 10000.0f);  // 100 percent, in hundredths
    EXPECT_EQ(chart_point(tps->value), 1000000);
    EXPECT_EQ(scale_live_sample(4, 0, 0x40, 9)->value, 64.0f * 31.37f);
    EXPECT_EQ(scale_live_sample(4, 0, 0, 0)->value, -10.0f);
    EXPECT_EQ(scale_live_sample(4, 0, 100, 48)->value, 100.0f * 1.27f);
}

TEST(LoggerLiveScaling, ObdFormulasRunInSinglePrecisionInTheirOrder) {
    EXPECT_EQ(scale_live_sample(1, 0, 0, 0)->value, -64.0f);
    EXPECT_EQ(scale_live_sample(1, 0, 140, 1)->value, 212.0f);
    EXPECT_EQ(scale_live_sample(1, 0, 0x66, 3)->value, 102.0f * 0.005f * 100.0f);
    EXPECT_EQ(scale_live_sample(1, 0, 255, 7)->value, 10000.0f);
    EXPECT_EQ(scale_live_sample(1, 0, 128, 12)->value, 0.0f);
    EXPECT_EQ(scale_live_sample(1, 0x01, 0x2C, 18)->value, 3.0f);
}

TEST(LoggerLiveScaling, ChartPointTruncatesTowardZeroAndSaturates) {
    EXPECT_EQ(chart_point(-12.345f), -1234);
    EXPECT_EQ(chart_point(1e30f), 2147483647);
}

// One chart's demonstration wave as the feeder drives it: turn, plot, step.
std::vector<int> wave(int samples, int low, int high) {
    int test_point = 0;
    int test_delta = 1;  // set by the first sample
    std::vector<int> points;
    for (int i = 0; i < samples; ++i) {
        points.push_back(demo_wave_point(test_point, test_delta, low, high) / 100);
        demo_wave_step(test_point, test_delta);
    }
    return points;
}

TEST(LoggerDemoWave, ClimbsToOneAboveTheTopTurnsAndFallsToOneBelowTheBottom) {
    EXPECT_EQ(wave(14, 0, 3), (std::vector<int>{0, 1, 2, 3, 4, 3, 2, 1, 0, -1, 0, 1, 2, 3}));
    const std::vector<int> rpm = wave(16005, 0, 8000);
    EXPECT_EQ(rpm[8000], 8000);
    EXPECT_EQ(rpm[8001], 8001);
    EXPECT_EQ(rpm[8002], 8000);
    EXPECT_EQ(rpm[16002], 0);
    EXPECT_EQ(rpm[16003], -1);
    EXPECT_EQ(rpm[16004], 0);
}

}  // namespace
}  // namespace korv::logger
