// What a charted live sample does to its chart: when the slot's range is
// set, what is plotted, and the demonstration port's wave.
#include "logger/core/live_chart.h"

#include <gtest/gtest.h>

#include <vector>

namespace korv::logger {
namespace {

// Records what the sample does; its preset range is 0 to 3.
struct RecordingChart final : LiveChart {
    int chart_low() const override { return low; }
    int chart_high() const override { return high; }
    void setrange(int slot) override {
        ranges.push_back(slot);
        low = 0;
        high = 3;
    }
    int test_point() const override { return point; }
    void set_test_point(int value) override { point = value; }
    int test_delta() const override { return delta; }
    void set_test_delta(int value) override { delta = value; }
    void plot_point(int v) override { points.push_back(v); }

    int low = 0;
    int high = -1;
    int point = 0;
    int delta = 0;
    std::vector<int> ranges;
    std::vector<int> points;
};

constexpr int kRecordedPort = 1;
constexpr LiveValue kRpm{1, 2000.0f};

struct RangeCase {
    const char* chart;
    int high;
    int delta;
    int presets_applied;
    int delta_after;
};

TEST(LoggerLiveChart, TheSlotsRangeIsSetWhenTheChartHasNoneAndOnItsFirstSample) {
    const std::vector<RangeCase> cases = {
        {"new chart", -1, 0, 2, 1},
        {"cleared chart", 8000, 0, 1, 1},
        {"charting, no range", -1, 1, 1, 1},
        {"charting", 8000, 1, 0, 1},
        {"charting, falling wave", 8000, -1, 0, -1},
    };
    for (const RangeCase& c : cases) {
        RecordingChart chart;
        chart.high = c.high;
        chart.delta = c.delta;
        chart_live_sample(chart, kRecordedPort, kRpm);
        EXPECT_EQ(chart.ranges, std::vector<int>(static_cast<std::size_t>(c.presets_applied), kRpm.slot)) << c.chart;
        EXPECT_EQ(chart.delta, c.delta_after) << c.chart;
        // Off the demonstration port the sample's own value is plotted.
        EXPECT_EQ(chart.points, std::vector<int>{200000}) << c.chart;
        EXPECT_EQ(chart.point, 0) << c.chart;
    }
}

TEST(LoggerLiveChart, TheDemonstrationPortPlotsTheWaveInsteadOfTheSample) {
    RecordingChart chart;
    chart.point = 7;  // a wave left above a cleared chart's new range
    for (int i = 0; i < 15; ++i) chart_live_sample(chart, kDemonstrationPort, kRpm);
    // Falls from where it was to one below the preset's bottom, then climbs
    // to one above its top and turns.
    EXPECT_EQ(chart.points, (std::vector<int>{700, 600, 500, 400, 300, 200, 100, 0, -100, 0, 100, 200, 300, 400, 300}));
    EXPECT_EQ(chart.point, 2);
    EXPECT_EQ(chart.delta, -1);
    EXPECT_EQ(chart.ranges, (std::vector<int>{1, 1}));
}

}  // namespace
}  // namespace korv::logger
