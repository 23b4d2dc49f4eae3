#include "boxlogger/core/chart_maths.h"
#include "boxlogger/core/chart_source.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace korv::boxlogger::chart {
namespace {

TEST(ChartTimeScale, IndexOfFindsTheStepAtOrAbove) {
    const struct {
        int seconds, index;
    } cases[] = {{1, 0}, {2, 1}, {3, 2}, {36000, 15}, {20000, 15}, {0, 15}, {-5, 15}, {40000, 15}, {61, 7}};
    for (const auto& c : cases) EXPECT_EQ(IndexOfScale(c.seconds), c.index) << c.seconds;
}

TEST(ChartTimeScale, LabelStepIsAlwaysATableStep) {
    // 600 units at 2 s per inch show 12 s; labels 100 units wide fit 6 times.
    const struct {
        int width, scale, label_width, visible, step;
    } cases[] = {
        {600, 2, 100, 12, 2},
        {600, 2, 250, 12, 10},  // 2 labels: 6 s raised to 10
        {600, 2, 700, 12, 15},  // 1 label
        {100, 1, 100, 1, 1},
        {0, 2, 100, 0, 1},
        // A wide window at 10 hours per inch wants more than the last step.
        {10000, 36000, 5000, 3600000, 36000},
    };
    for (const auto& c : cases) {
        const LabelStep s = ComputeLabelStep(c.width, c.scale, c.label_width);
        EXPECT_EQ(s.visible_seconds, c.visible) << c.width << " " << c.label_width;
        EXPECT_EQ(s.step, c.step) << c.width << " " << c.label_width;
        EXPECT_DOUBLE_EQ(s.spacing, static_cast<double>(c.step) / c.scale * 100);
    }
}

TEST(ChartTimeScale, ShrinkAtTheLastAndExpandAtTheFirstChangeNothing) {
    TimeAxisState axis;
    axis.scale = 36000;
    EXPECT_FALSE(axis.NextScale());
    EXPECT_EQ(axis.scale, 36000);
    axis.scale = 1;
    EXPECT_FALSE(axis.PrevScale());
    EXPECT_EQ(axis.scale, 1);
    EXPECT_TRUE(axis.NextScale());
    EXPECT_EQ(axis.scale, 2);
}

TEST(ChartTimeScale, NewScaleRoundsThePositionDown) {
    TimeAxisState axis;
    axis.position = 47;
    axis.scale = 1;
    EXPECT_TRUE(axis.SetScaleIndex(4));  // 15 s
    EXPECT_EQ(axis.position, 45);
    EXPECT_FALSE(axis.SetScaleIndex(4));
    EXPECT_TRUE(axis.SetScaleIndex(99));  // clamped to 10 hours
    EXPECT_EQ(axis.scale, 36000);
    EXPECT_EQ(axis.position, 0);
}

TEST(ChartTimeScale, ScrollClampsAndRoundsToTheScale) {
    TimeAxisState axis;
    axis.scale = 5;
    axis.SetRange(true, 101.6f, 30);  // maximum 102
    EXPECT_EQ(axis.maximum, 102);
    EXPECT_FALSE(axis.Scroll(kLineUp));  // already at 0
    EXPECT_EQ(axis.position, 0);
    EXPECT_TRUE(axis.Scroll(kLineDown));
    EXPECT_EQ(axis.position, 5);
    EXPECT_TRUE(axis.Scroll(kPageDown));
    EXPECT_EQ(axis.position, 35);
    EXPECT_TRUE(axis.Scroll(kBottom));
    EXPECT_EQ(axis.position, 100);  // the last whole second, rounded down to the scale
    EXPECT_FALSE(axis.Scroll(kLineDown));
    EXPECT_TRUE(axis.Scroll(kThumbTrack, 63));
    EXPECT_EQ(axis.position, 60);
    EXPECT_FALSE(axis.Scroll(8));  // end of scroll: ignored
    EXPECT_TRUE(axis.Scroll(kTop));
    EXPECT_EQ(axis.position, 0);
    axis.position = 100;
    axis.SetRange(false, 0.0f, 30);  // emptied: back to 0
    EXPECT_EQ(axis.maximum, 0);
    EXPECT_EQ(axis.position, 0);
}

TEST(ChartTimeScale, Texts) {
    EXPECT_EQ(FormatClock(0), "00:00:00");
    EXPECT_EQ(FormatClock(3725), "01:02:05");
    EXPECT_EQ(FormatClock(36000 * 11), "110:00:00");
    EXPECT_EQ(FormatScaleLabel(2.0f), "  2.0");
    EXPECT_EQ(FormatScaleLabel(-12.25f), "-12.2");
    EXPECT_EQ(FormatScaleLabel(6500.0f), "6500.0");
    EXPECT_STREQ(kTimeScaleNames[0], "1 second");
    EXPECT_STREQ(kTimeScaleNames[15], "10 hours");
}

TEST(ChartValueAxis, UpdateAndScroll) {
    YAxisState y;
    EXPECT_TRUE(y.Update(400, 200));
    EXPECT_EQ(y.maximum, 400);
    EXPECT_EQ(y.page, 200);
    EXPECT_FALSE(y.Update(400, 200));
    EXPECT_TRUE(y.Scroll(kLineDown, 0, 15, 50));
    EXPECT_EQ(y.position, 50);
    EXPECT_TRUE(y.Scroll(kBottom, 0, 15, 50));
    EXPECT_EQ(y.position, 200);  // maximum - page
    EXPECT_FALSE(y.Scroll(kPageDown, 0, 15, 50));
    EXPECT_TRUE(y.Scroll(kLineUp, 0, 15, 50));
    EXPECT_EQ(y.position, 185);
    y.Update(5, 200);  // small content still scrolls over 10
    EXPECT_EQ(y.maximum, 10);
    EXPECT_EQ(y.position, 10);
    y.Update(0, 200);
    EXPECT_EQ(y.maximum, 0);
    EXPECT_EQ(y.page, 0);
    EXPECT_EQ(y.position, 0);
}

TEST(ChartStack, ValueTracesShareTheSpareHeight) {
    // Four value traces of 50 in 300 units: 100 spare, 26 each until used up.
    const std::vector<StackEntry> entries(4, StackEntry{50, true});
    const StackResult r = StackTraces(entries, 0, -300, 0);
    const int heights[] = {50 - 4 + 26, 50 - 4 + 26, 50 - 4 + 26, 50 - 4 + 22};
    int y = 0;
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(r.bands[i].shown);
        EXPECT_EQ(r.bands[i].top, y - 2) << i;
        EXPECT_EQ(r.bands[i].top - r.bands[i].bottom, heights[i]) << i;
        y = r.bands[i].bottom - 2;
    }
    EXPECT_EQ(r.bands[3].bottom, -300 + 2);
    EXPECT_EQ(r.line_down, 50);
}

TEST(ChartStack, HiddenScrolledAndOverflowingTraces) {
    const std::vector<StackEntry> entries{{50, true}, {0, true}, {15, false}, {50, true}, {50, true}, {15, false}};
    // Scrolled past the first trace; 80 units hold the switch and one value trace.
    const StackResult r = StackTraces(entries, 100, 20, 50);
    EXPECT_FALSE(r.bands[0].shown);
    EXPECT_FALSE(r.bands[1].shown);
    EXPECT_TRUE(r.bands[2].shown);
    EXPECT_TRUE(r.bands[3].shown);
    EXPECT_FALSE(r.bands[4].shown);
    EXPECT_FALSE(r.bands[5].shown);  // after one that did not fit
    EXPECT_EQ(r.line_up, 50);
    EXPECT_EQ(r.line_down, 15);
    EXPECT_EQ(r.bands[2].top, 98);
    EXPECT_EQ(r.bands[2].bottom, 100 - 15 + 2);  // switches do not grow
    EXPECT_EQ(r.bands[3].top, 85 - 2);
    EXPECT_EQ(r.bands[3].bottom, 85 - 50 + 2 - 15);  // 15 spare: 15 / 1 + 1, capped at 15
}

TEST(ChartLegend, ColumnsAndEmptyLegend) {
    EXPECT_EQ(LayoutLegend({}, 800).size, (LSize{0, 0}));
    const LegendGrid g = LayoutLegend({{100, 18}, {140, 21}, {90, 18}, {60, 18}, {70, 18}}, 500);
    EXPECT_EQ(g.column_width, 147);
    EXPECT_EQ(g.columns, 3);
    EXPECT_EQ(g.rows, 2);
    EXPECT_EQ(g.size, (LSize{441, 42}));
    EXPECT_EQ(g.ItemOrigin(4, 10, -5), (std::pair<int, int>{10 + 147, -5 - 21}));
    EXPECT_EQ(LayoutLegend({{900, 20}}, 100).columns, 1);
}

TEST(ChartPoints, TimeAndValueMapping) {
    EXPECT_EQ(TimeToX(100, 2, 10.0f, 4), 400);
    EXPECT_EQ(TimeToX(100, 2, 10.009f, 4), 400);
    EXPECT_EQ(TimeToX(100, 120, 60.0f, 0), 150);  // slow scales keep their fraction
    EXPECT_EQ(TimeToX(0, 1, 3.0e30f, 0), std::numeric_limits<int>::max());
    EXPECT_DOUBLE_EQ(XToTime(100, 2, 400, 4), 10.0);

    const ValueMapping m = MapValues(100, 0, 0.0f, 8000.0f);
    EXPECT_EQ(m.ToY(4000.0f), 50);
    EXPECT_EQ(m.ToY(-50.0f), 0);  // kept on the band
    EXPECT_EQ(m.ToY(1.0e9f), 100);
    EXPECT_EQ(m.ToY(std::nanf("")), 0);
    // A range of 0, below 0 or not finite counts as 1.
    for (float max : {5.0f, 4.0f, std::numeric_limits<float>::infinity(), std::nanf("")}) {
        const ValueMapping b = MapValues(100, 0, 5.0f, max);
        EXPECT_DOUBLE_EQ(b.units_per_value, 100.0) << max;
    }
    EXPECT_EQ(GridDivisions(72, 0), 1);
    EXPECT_EQ(GridDivisions(149, 0), 3);
}

TEST(ChartPoints, OnePointPerColumnUpToTheRightEdge) {
    const float times[] = {0.0f, 0.004f, 0.02f, 0.05f, 1.0f, 1.02f, 9.0f};
    std::vector<std::pair<std::size_t, int>> kept;
    int previous = std::numeric_limits<int>::min();
    const bool reached_end = CollectPoints(
        0, 7, [&](std::size_t i) { return times[i]; }, 10, 100, 2, 0, previous,
        [&](std::size_t i, int x) { kept.emplace_back(i, x); });
    EXPECT_FALSE(reached_end);
    const std::vector<std::pair<std::size_t, int>> expected{{0, 10}, {2, 11}, {3, 13}, {4, 60}, {5, 61}};
    EXPECT_EQ(kept, expected);
    EXPECT_EQ(previous, 61);
}

// Labels 16 units tall on a band from 100 down to 0: centred on their line
// inside, moved in at the edges, left out where they would overlap.
TEST(ChartScaleLabels, StayInsideTheBandAndNeverOverlap) {
    struct Case {
        std::vector<int> lines;
        int top, bottom;
        std::vector<std::optional<int>> tops;
    };
    const std::vector<Case> cases{
        {{0, 100, 50}, 100, 0, {16, 100, 58}},            // the ends move in, the middle stays centred
        {{0, 100, 10}, 100, 0, {16, 100, std::nullopt}},  // too close to the bottom label
        {{0, 11}, 11, 0, {std::nullopt, std::nullopt}},   // a band lower than a label
        {{20, 30}, 100, 0, {28, std::nullopt}},           // the second would overlap the first
        {{0, 32}, 32, 0, {16, 32}},                       // just room for both
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chart::PlaceScaleLabels(c.lines, c.top, c.bottom, 16), c.tops) << c.lines.size() << " " << c.top;
    }
}

TEST(ChartSwitch, Runs) {
    using P = ChartPointXY;
    // On from the first point to the last: one run over the whole stretch.
    EXPECT_EQ(SwitchRuns({{0, 10}, {5, 10}, {9, 10}}, 5), (std::vector<std::pair<int, int>>{{0, 9}}));
    const std::vector<P> pts{{0, 0}, {2, 10}, {4, 10}, {6, 0}, {8, 10}};
    EXPECT_EQ(SwitchRuns(pts, 5), (std::vector<std::pair<int, int>>{{2, 6}, {8, 8}}));
    EXPECT_EQ(SwitchRuns(pts, 5, 2), (std::vector<std::pair<int, int>>{{4, 6}, {8, 8}}));
    EXPECT_TRUE(SwitchRuns({}, 5).empty());
}

TEST(ChartWheel, NotchesAddUpToOneStep) {
    WheelAccumulator w;
    EXPECT_EQ(w.Add(40), 0);
    EXPECT_EQ(w.Add(40), 0);
    EXPECT_EQ(w.Add(40), 1);
    EXPECT_EQ(w.Add(-120), -1);
    EXPECT_EQ(w.Add(360), 1);  // one step per message
    EXPECT_EQ(w.pending(), 240);
}

TEST(ChartViewLayout, SlotsAroundTheTraceArea) {
    const auto r = LayoutViewSlots({0, 0, 800, -600}, {LSize{100, 20}, {800, 40}, {300, 200}, {800, 33}, {10, 20}});
    EXPECT_EQ(r[0], (LRect{0, 0, 800, -20}));
    EXPECT_EQ(r[1], (LRect{0, -21, 800, -61}));
    EXPECT_EQ(r[2], (LRect{0, -62, 789, -566}));
    EXPECT_EQ(r[4], (LRect{790, -62, 800, -566}));
    EXPECT_EQ(r[3], (LRect{0, -567, 789, -600}));
}

TEST(ChartSamplesInVectors, FindsTheSampleAtOrBefore) {
    VectorChartSamples s;
    EXPECT_FALSE(s.FindByTime(1.0f));
    s.Append(0.0f, {1.0f});
    s.Append(0.5f, {2.0f});
    s.Append(1.0f, {3.0f});
    EXPECT_EQ(s.FindByTime(0.7f), 1u);
    EXPECT_EQ(s.FindByTime(-1.0f), 0u);
    EXPECT_EQ(s.SeekTime(5.0f), 2u);
    EXPECT_EQ(s.value(1, 0), 2.0f);
    EXPECT_EQ(s.value(1, 3), 0.0f);
}

}  // namespace
}  // namespace korv::boxlogger::chart
