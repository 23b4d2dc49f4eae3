// The strip-chart model's block feed against plot_point one value at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/core/strip_chart_model.h"

namespace korv {
namespace {

StripChartOptions zero_bottom() { return StripChartOptions{}; }

StripChartOptions zero_bottom_title_per_point() {
    StripChartOptions o;
    o.point_rebuilds_title = true;
    return o;
}

StripChartOptions low_bottom_clamped() {
    StripChartOptions o;
    o.bottom = StripChartBottom::chart_low;
    o.clamp_to_range = true;
    o.require_high_above_low = true;
    o.title = StripChartTitleFormat{false, false, true};
    return o;
}

StripChartOptions live() {
    StripChartOptions o = low_bottom_clamped();
    o.follows_newest = true;
    o.hover_offset = 1;
    o.whole_hover_value = true;
    return o;
}

struct ChartKind {
    const char* name;
    StripChartOptions (*options)();
    int low;
    int high;
};

struct Feed {
    const char* name;
    std::vector<std::int32_t> values;
};

StripChartModel chart_for(const ChartKind& kind) {
    StripChartModel chart(kind.options());
    chart.set_chart_low(kind.low);
    chart.set_chart_high(kind.high);
    chart.set_chart_item(3);
    chart.set_title("O2v");
    chart.set_shown(true);
    return chart;
}

void expect_same(const StripChartModel& blocks, const StripChartModel& single, const std::string& where) {
    EXPECT_EQ(blocks.points(), single.points()) << where;
    EXPECT_EQ(blocks.data_high(), single.data_high()) << where;
    EXPECT_EQ(blocks.data_low(), single.data_low()) << where;
    EXPECT_EQ(std::bit_cast<std::uint32_t>(blocks.conversion_factor()),
              std::bit_cast<std::uint32_t>(single.conversion_factor()))
        << where;
    EXPECT_EQ(blocks.title(), single.title()) << where;
    EXPECT_EQ(blocks.base_title(), single.base_title()) << where;
    EXPECT_EQ(blocks.last_record(), single.last_record()) << where;
    EXPECT_EQ(blocks.curr_record(), single.curr_record()) << where;
    EXPECT_EQ(blocks.first_point(), single.first_point()) << where;
    EXPECT_EQ(std::bit_cast<std::uint32_t>(blocks.hover_value()), std::bit_cast<std::uint32_t>(single.hover_value()))
        << where;
}

// Every kind of chart, every state of the "Range" box, values that never
// rise above zero, that pass the range on both sides, and a long climbing run
// fed in blocks of several sizes: the same chart as one value at a time.
TEST(StripChartModelBlocks, GiveWhatPlotPointGivesValueByValue) {
    const ChartKind kinds[] = {
        {"player", zero_bottom, 0, 8000},
        {"player, title per point", zero_bottom_title_per_point, 0, 150},
        {"player, range 128..128", zero_bottom, 128, 128},
        {"player, no high", zero_bottom, 0, 0},
        {"logger, clamped", low_bottom_clamped, -40, 40},
        {"logger, no range yet", low_bottom_clamped, -1, -1},
        {"live", live, 0, 8000},
    };
    std::vector<std::int32_t> climbing;
    for (int i = 0; i < 5000; ++i) climbing.push_back((i * 7919) % 900000 - 20000 + i * 10);
    const Feed feeds[] = {
        {"none positive", {-500, 0, -12345, 0, -99}},
        {"around the range", {4000, -4100, 0, 650000, 99, 100, -2147483647 - 1, 2147483647, 75000}},
        {"one", {12345}},
        {"climbing", climbing},
    };
    const StripChartRangeBox boxes[] = {StripChartRangeBox::none, StripChartRangeBox::unticked,
                                        StripChartRangeBox::ticked};
    const std::size_t block_sizes[] = {1, 3, 4096, 100000};

    for (const ChartKind& kind : kinds) {
        for (const Feed& feed : feeds) {
            for (StripChartRangeBox box : boxes) {
                StripChartModel single = chart_for(kind);
                for (std::int32_t v : feed.values) single.plot_point(v, box);
                for (std::size_t block : block_sizes) {
                    StripChartModel blocks = chart_for(kind);
                    blocks.reserve_points(feed.values.size());
                    const std::span<const std::int32_t> all(feed.values);
                    for (std::size_t at = 0; at < all.size(); at += block) {
                        blocks.plot_points(all.subspan(at, std::min(block, all.size() - at)), box);
                    }
                    expect_same(blocks, single,
                                std::string(kind.name) + " / " + feed.name + " / box " +
                                    std::to_string(static_cast<int>(box)) + " / blocks of " + std::to_string(block));
                }
            }
        }
    }
}

TEST(StripChartModelBlocks, AnEmptyBlockLeavesAFreshChartUnscaledAndUntitled) {
    StripChartModel chart = chart_for({"player", zero_bottom, 0, 8000});
    chart.plot_points({});
    EXPECT_FALSE(chart.has_points());
    EXPECT_EQ(chart.conversion_factor(), -1.0f);
    EXPECT_EQ(chart.base_title(), "");
    // The first real point still takes the base title.
    chart.set_title("RPM");
    const std::int32_t one[] = {100};
    chart.plot_points(one);
    EXPECT_EQ(chart.base_title(), "RPM");
}

// A chart cleared and fed again (as each new feed of a log does) gives what a
// new chart gives, and gives back the storage of a far longer earlier feed.
TEST(StripChartModelBlocks, AClearedChartFedAgainIsANewChart) {
    const ChartKind kind{"player", zero_bottom, 0, 8000};
    std::vector<std::int32_t> long_feed(100000, 700000);
    const std::vector<std::int32_t> short_feed = {4000, -4100, 99, 100};
    StripChartModel fresh = chart_for(kind);
    EXPECT_GE(fresh.reserve_points(short_feed.size()).size(), short_feed.size());  // the new room, to back
    fresh.plot_points(short_feed);

    StripChartModel reused = chart_for(kind);
    reused.reserve_points(long_feed.size());
    reused.plot_points(long_feed);
    reused.clear();
    reused.set_chart_low(kind.low);
    reused.set_chart_high(kind.high);
    reused.set_chart_item(3);
    reused.set_title("O2v");
    EXPECT_GE(reused.reserve_points(short_feed.size()).size(), short_feed.size());
    reused.plot_points(short_feed);
    EXPECT_TRUE(reused.reserve_points(short_feed.size()).empty());  // the room is there
    expect_same(reused, fresh, "cleared after a long feed");
    EXPECT_LT(reused.points().capacity(), long_feed.size());
}

}  // namespace
}  // namespace korv
