// The strip-chart model in both configurations: the logger's live chart
// (range from chart_low to chart_high, clamped, newest point followed) and
// the player's log chart (bottom at zero, scaled by chart_high or "Range").
#include <gtest/gtest.h>

#include <limits>

#include "common/core/strip_chart_model.h"

namespace korv {
namespace {

// A shown logger chart with the given range and base title.
StripChartModel logger_chart(int low, int high, const std::string& title = "RPMS", int item = 9) {
    StripChartModel chart(StripChartOptions::logger());
    chart.set_shown(true);
    chart.set_chart_item(item);
    chart.set_chart_low(low);
    chart.set_chart_high(high);
    chart.set_title(title);
    return chart;
}

StripChartModel player_chart(int low, int high, const std::string& title = "RPM") {
    StripChartModel chart(StripChartOptions::player());
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
    chart.plot_point(-500);    // below the low bound
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
    // The player's chart puts zero on the bottom edge instead.
    StripChartModel player = player_chart(-40, 40, "Timing");
    player.plot_point(0);
    EXPECT_EQ(player.value_y(0), player.area().top + player.area().h);
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
    StripChartModel chart(StripChartOptions::logger());
    chart.set_shown(true);
    chart.plot_point(100);  // range -1..-1: clamped to -100
    chart.plot_point(100);
    chart.plot_point(100);
    EXPECT_FLOAT_EQ(chart.conversion_factor(), -1.0f);
    EXPECT_FALSE(chart.drawable());
    EXPECT_TRUE(trace_of(chart).empty());
    chart.paint_mark(1);  // must not divide either
    chart.scroll_data(300, 405);

    // The player's charts ranged 128..128 still draw.
    StripChartModel player = player_chart(128, 128);
    player.set_shown(true);
    for (int v : {12800, 12900, 13000}) player.plot_point(v);
    player.set_last_record(3);
    player.set_curr_record(3);
    player.repaint();
    EXPECT_TRUE(player.drawable());
    EXPECT_EQ(trace_of(player).size(), 3u);
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
    EXPECT_FALSE(chart.hover_position(-1));                        // left of the plot
    EXPECT_FALSE(chart.hover_position(50));                        // beyond the points
    EXPECT_FALSE(chart.hover_position(chart.area().w - 1));        // past the right end

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
    chart.plot_point(100000);  // one point: last_record 0
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

// --- Player ------------------------------------------------------------------

TEST(StripChartPlayer, TitleCarriesTheRangeAndTheBracketedHoverValue) {
    StripChartModel chart = player_chart(0, 8000);
    for (int v : {75000, 650000, 325000}) chart.plot_point(v);
    chart.set_last_record(3);
    chart.set_curr_record(3);
    chart.set_shown(true);
    chart.paint_mark(1);  // hover offset 0: the point at first + 1
    EXPECT_EQ(chart.title(), "RPM Min: 0 Max: 8000 High: 6500 Low: 750 (6500.0)");
}

TEST(StripChartPlayer, HoverKeepsHundredthsWhileTheHeightUsesWholeValues) {
    StripChartModel chart = player_chart(0, 100);
    chart.set_shown(true);
    chart.plot_point(1234);
    chart.plot_point(1299);
    EXPECT_EQ(chart.value_y(1234), chart.value_y(1299));
    chart.set_last_record(2);
    chart.set_curr_record(2);
    chart.paint_mark(0);
    EXPECT_FLOAT_EQ(chart.hover_value(), 12.34f);
    chart.paint_mark(1);
    EXPECT_EQ(chart.title(), "RPM Min: 0 Max: 100 High: 12 Low: 12 (12.99)");
}

TEST(StripChartPlayer, RangeBoxScalesToTheHighestValue) {
    StripChartModel ranged = player_chart(0, 8000);
    ranged.plot_point(300000, StripChartRangeBox::ticked);
    EXPECT_EQ(ranged.value_y(300000), ranged.area().top);

    StripChartModel unranged = player_chart(0, 8000);
    unranged.plot_point(300000, StripChartRangeBox::unticked);
    EXPECT_GT(unranged.value_y(300000), unranged.area().top);
    EXPECT_EQ(unranged.value_y(800000), unranged.area().top);
}

TEST(StripChartPlayer, OnlyNegativeValuesShowHighZeroUntilARangeReset) {
    StripChartModel chart = player_chart(-20, 20);
    chart.plot_point(-500);
    chart.plot_point(-1000);
    EXPECT_EQ(chart.data_high(), 0);
    chart.reset_range(StripChartRangeBox::ticked);
    EXPECT_EQ(chart.data_high(), -1);
    EXPECT_EQ(chart.data_low(), -10);
}

TEST(StripChartPlayer, PointsFromIndex32000OnAreNeverDrawn) {
    StripChartModel chart = player_chart(0, 100);
    chart.set_shown(true);
    for (int i = 0; i < 32100; ++i) chart.plot_point(100);
    chart.set_last_record(32100);
    chart.set_curr_record(32100);
    chart.repaint();
    const std::vector<StripChartVertex> trace = trace_of(chart);
    const int first = static_cast<int>(chart.first_point());
    EXPECT_EQ(static_cast<int>(trace.size()), 32000 - first);
}

TEST(StripChartPlayer, ClearLeavesAnEmptyChartAlone) {
    StripChartModel chart = player_chart(0, 8000);
    chart.clear();
    EXPECT_EQ(chart.chart_high(), 8000);
    chart.plot_point(100);
    chart.clear();
    EXPECT_EQ(chart.chart_high(), -1);
    EXPECT_FALSE(chart.has_points());
}

TEST(StripChartPlayer, ScrollMarkFollowsThePlayersRecord) {
    StripChartModel chart = player_chart(0, 8000);
    chart.set_shown(true);
    for (int i = 0; i < 5000; ++i) chart.plot_point(100);
    const int w = chart.area().w;
    chart.set_last_record(5000);
    chart.set_curr_record(w - 2);
    chart.repaint();

    chart.scroll_mark(50);  // inside the view
    EXPECT_EQ(chart.mark_x(), 48);
    EXPECT_EQ(chart.curr_record(), w - 2);

    chart.scroll_mark(1000);  // right of the view
    EXPECT_EQ(chart.curr_record(), 1000);
    EXPECT_EQ(chart.mark_x(), w - 2);

    chart.scroll_mark(100);  // left of the view, within the first screen
    EXPECT_EQ(chart.curr_record(), w - 2);
    EXPECT_EQ(chart.mark_x(), 100);

    chart.scroll_mark(1000);
    chart.scroll_mark(2);  // left of a later view, the first records change nothing
    EXPECT_EQ(chart.curr_record(), 1000);
    EXPECT_EQ(chart.mark_x(), w - 2);
}

TEST(StripChartPlayer, ClickNearTheStartShowsTheFirstScreenAndTheFirstRecord) {
    StripChartModel chart = player_chart(0, 8000);
    EXPECT_FALSE(chart.player_click_scroll(10, 405));  // no points: ignored
    for (int i = 0; i < 5000; ++i) chart.plot_point(100);
    const int w = chart.area().w;
    chart.set_last_record(5000);
    chart.set_curr_record(w - 2 + 50);

    const auto left = chart.player_click_scroll(10, 405);
    ASSERT_TRUE(left);
    EXPECT_FALSE(left->player_record);
    EXPECT_EQ(chart.curr_record(), w - 2);
    EXPECT_EQ(left->mark_x, 10);

    const auto right = chart.player_click_scroll(300, 405);
    ASSERT_TRUE(right);
    EXPECT_EQ(right->player_record, w - 2 + 202);
    EXPECT_EQ(chart.curr_record(), w - 2 + 202);

    // At the end of the log the view stops at the last record.
    chart.set_curr_record(4990);
    const auto end = chart.player_click_scroll(300, 405);
    EXPECT_EQ(end->player_record, 5000);
    EXPECT_EQ(chart.curr_record(), 5000);
}

}  // namespace
}  // namespace korv
