// The strip-chart model as the player's log charts use it: bottom at zero,
// scaled by chart_high or "Range", the player's record followed.
#include "player/core/strip_chart_options.h"

#include <gtest/gtest.h>

namespace korv::player {
namespace {

StripChartModel player_chart(int low, int high, const std::string& title = "RPM") {
    StripChartModel chart(strip_chart_options());
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

TEST(StripChartPlayer, ZeroIsOnTheBottomEdgeWhateverTheRange) {
    StripChartModel chart = player_chart(-40, 40, "Timing");
    chart.plot_point(0);
    EXPECT_EQ(chart.value_y(0), chart.area().top + chart.area().h);
}

TEST(StripChartPlayer, ARangeOfHighEqualToLowStillDraws) {
    StripChartModel chart = player_chart(128, 128);
    chart.set_shown(true);
    for (int v : {12800, 12900, 13000}) chart.plot_point(v);
    chart.set_last_record(3);
    chart.set_curr_record(3);
    chart.repaint();
    EXPECT_TRUE(chart.drawable());
    EXPECT_EQ(trace_of(chart).size(), 3u);
}

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
}  // namespace korv::player
