// The strip-chart model as the logger's live charts use it: range from
// chart_low to chart_high, clamped, newest point followed.
#include <gtest/gtest.h>

#include <limits>

#include "logger/core/strip_chart_options.h"

namespace korv::logger {
namespace {

// A shown logger chart with the given range and base title.
StripChartModel logger_chart(int low, int high, const std::string& title = "RPMS", int item = 9) {
    StripChartModel chart(strip_chart_options());
    chart.set_shown(true);
    chart.set_chart_item(item);
    chart.set_chart_low(low);
    chart.set_chart_high(high);
    chart.set_title(title);
    return chart;
}

std::vector<StripChartVertex> trace_of(const StripChartModel& chart) {
    std::vector<StripChartVertex> out;
    chart.trace(out);
    return out;
}

// --- Logger: clamping, scale and title -------------------------------------

TEST(StripChartLogger, ValuesAboveTheRangeAreStoredAndDrawnAtTheTopEdge) {
    StripChartModel chart = logger_chart(0, 8000);
    chart.plot_point(900000);  // 9000 rpm
    chart.plot_point(900000);
    chart.plot_point(-500);  // below the low bound
    EXPECT_EQ(chart.points(), (std::vector<std::int32_t>{800000, 800000, 0}));
    EXPECT_EQ(chart.data_high(), 8000);
    EXPECT_EQ(chart.data_low(), 0);
    EXPECT_EQ(chart.value_y(800000), chart.area().top);
    EXPECT_EQ(chart.value_y(0), chart.area().top + chart.area().h);
    // Whole values only: 8000.50 is not above 8000 and is kept.
    chart.plot_point(800050);
    EXPECT_EQ(chart.points().back(), 800050);
}

TEST(StripChartLogger, ZeroOfASymmetricRangeIsAtMidHeight) {
    StripChartModel chart = logger_chart(-40, 40, "Timing", 0);
    chart.plot_point(0);
    EXPECT_EQ(chart.value_y(0), chart.area().top + chart.area().h / 2);
    EXPECT_EQ(chart.value_y(-4000), chart.area().top + chart.area().h);
}

TEST(StripChartLogger, TitleShowsHighLowAndTheNewestWholeValue) {
    StripChartModel chart = logger_chart(0, 8000);
    chart.plot_point(80000);
    chart.plot_point(650000);
    chart.plot_point(325099);
    EXPECT_EQ(chart.title(), "RPMS High: 6500 Low: 800 3250.0");
    EXPECT_EQ(chart.base_title(), "RPMS");
    EXPECT_FLOAT_EQ(chart.title_value(), 3250.0f);
}

TEST(StripChartLogger, O2AndTpsAreShownInWholeUnits) {
    StripChartModel tps = logger_chart(0, 10000, "TPS", 7);
    tps.plot_point(550000);  // 55 percent in hundredths, times 100
    EXPECT_EQ(tps.title(), "TPS High: 55 Low: 55 55.0");
    EXPECT_FLOAT_EQ(tps.title_value(), 55.0f);

    StripChartModel o2 = logger_chart(0, 200, "O2 Voltage", 3);
    o2.plot_point(4500);  // 0.45 V
    EXPECT_EQ(o2.title(), "O2 Voltage High: 0 Low: 0 0.45");
}

TEST(StripChartLogger, TheBaseTitleIsTakenAtTheFirstPointAfterClearing) {
    StripChartModel chart = logger_chart(0, 8000);
    chart.plot_point(100000);
    chart.set_title("something the window showed");
    chart.plot_point(100000);
    EXPECT_EQ(chart.base_title(), "RPMS");

    chart.clear();
    EXPECT_FALSE(chart.has_points());
    EXPECT_EQ(chart.chart_item(), -1);
    EXPECT_EQ(chart.chart_high(), -1);
    EXPECT_EQ(chart.last_record(), -1);
    EXPECT_FALSE(chart.has_data());
    chart.set_chart_low(0);
    chart.set_chart_high(100);
    chart.set_title("Knock Sum");
    chart.plot_point(500);
    EXPECT_EQ(chart.title(), "Knock Sum High: 5 Low: 5 5.0");
}

TEST(StripChartLogger, WithoutARangeAboveItsLowTheChartNeitherScalesNorDraws) {
    StripChartModel chart(strip_chart_options());
    chart.set_shown(true);
    chart.plot_point(100);  // range -1..-1: clamped to -100
    chart.plot_point(100);
    chart.plot_point(100);
    EXPECT_FLOAT_EQ(chart.conversion_factor(), -1.0f);
    EXPECT_FALSE(chart.drawable());
    EXPECT_TRUE(trace_of(chart).empty());
    chart.paint_mark(1);  // must not divide either
    chart.scroll_data(300, 405);
}

// --- Logger: view, hover and scrolling -------------------------------------

TEST(StripChartLogger, TheViewFollowsTheNewestPoint) {
    StripChartModel chart = logger_chart(0, 8000);
    const int w = chart.area().w;
    for (int i = 0; i < 1000; ++i) chart.plot_point(i * 100);
    EXPECT_EQ(chart.last_record(), 999);
    EXPECT_EQ(chart.curr_record(), 999);
    const std::vector<StripChartVertex> trace = trace_of(chart);
    ASSERT_EQ(trace.size(), static_cast<std::size_t>(w - 2));
    // The drawn stretch ends just before curr_record, at the right of the plot.
    EXPECT_EQ(trace.front().x, -1);
    EXPECT_EQ(trace.back().x, w - 4);
    EXPECT_EQ(trace.back().y, chart.value_y(998 * 100));
}

TEST(StripChartLogger, HoverMarksThePointUnderTheLineAndIgnoresPlacesWithoutOne) {
    StripChartModel chart = logger_chart(0, 8000);
    for (int i = 0; i < 50; ++i) chart.plot_point(i * 10000);
    EXPECT_EQ(chart.hover_position(10), 10);
    EXPECT_FALSE(chart.hover_position(-1));                  // left of the plot
    EXPECT_FALSE(chart.hover_position(50));                  // beyond the points
    EXPECT_FALSE(chart.hover_position(chart.area().w - 1));  // past the right end

    chart.paint_mark(10);
    EXPECT_EQ(chart.mark_x(), 10);
    EXPECT_EQ(chart.hover_x(), 10);
    // The logger's hover point is one to the right of the player's.
    EXPECT_FLOAT_EQ(chart.hover_value(), 1100.0f);
    // The mark leaves the title alone; the chart control rebuilds it.
    EXPECT_EQ(chart.title(), "RPMS High: 4900 Low: 0 4900.0");
    chart.update_status();
    EXPECT_EQ(chart.title(), "RPMS High: 4900 Low: 0 1100.0");
    // The next sample repaints without the mark.
    chart.plot_point(0);
    EXPECT_FALSE(chart.mark_x());
}

TEST(StripChartLogger, ClicksScrollByHalfTheWindow) {
    StripChartModel chart = logger_chart(0, 8000);
    for (int i = 0; i < 2000; ++i) chart.plot_point(100000);
    const int w = chart.area().w;
    const int width = chart.area().width;

    // Right half at the newest point: the view stays there.
    chart.scroll_data(300, width);
    EXPECT_EQ(chart.curr_record(), 1999);
    EXPECT_EQ(chart.mark_x(), 300);

    chart.scroll_data(10, width);
    EXPECT_EQ(chart.curr_record(), 1999 - width / 2);
    EXPECT_EQ(chart.mark_x(), 10);
    chart.scroll_data(300, width);
    EXPECT_EQ(chart.curr_record(), 1999);

    // Near the start, a left click shows the first screen.
    chart.set_curr_record(500);
    chart.scroll_data(10, width);
    EXPECT_EQ(chart.curr_record(), w - 2);

    chart.scroll_data(10, width);
    chart.resume();
    EXPECT_EQ(chart.curr_record(), chart.last_record());
}

TEST(StripChartLogger, AViewPastTheFewPointsThereAreDrawsOnlyThePoints) {
    StripChartModel chart = logger_chart(0, 8000);
    chart.plot_point(100000);                   // one point: last_record 0
    chart.scroll_data(10, chart.area().width);  // first screen, far past the point
    chart.plot_point(100000);
    EXPECT_LE(trace_of(chart).size(), chart.points().size());
}

TEST(StripChartLogger, RecordCountersSaturateAtThirtyTwoBits) {
    StripChartModel chart = logger_chart(0, 8000);
    chart.plot_point(0);
    chart.set_curr_record(std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(chart.curr_record(), std::numeric_limits<std::int32_t>::max());
    chart.set_last_record(std::numeric_limits<std::int32_t>::max());
    chart.plot_point(0);
    EXPECT_EQ(chart.last_record(), std::numeric_limits<std::int32_t>::max());
}

TEST(StripChartLogger, ResetScaleRecomputesHighAndLowOnly) {
    StripChartModel chart = logger_chart(0, 8000);
    chart.plot_point(500000);
    chart.plot_point(100000);
    const float factor = chart.conversion_factor();
    chart.reset_range(StripChartRangeBox::ticked);
    EXPECT_EQ(chart.data_high(), 5000);
    EXPECT_EQ(chart.data_low(), 1000);
    EXPECT_FLOAT_EQ(chart.conversion_factor(), factor);
    EXPECT_EQ(chart.value_y(800000), chart.area().top);
}

}  // namespace
}  // namespace korv::logger
