// The player's strip-chart window painted offscreen and probed pixel by
// pixel.
#include "common/gui/strip_chart_view.h"
#include "player/core/strip_chart_options.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

namespace korv::player {
namespace {

QImage picture_of(StripChartView& view) { return view.grab().toImage(); }

QColor trace_colour(const StripChartView& view) { return view.palette().color(QPalette::WindowText); }

TEST(PlayerStripChartView, AChartRangedHighEqualToLowStillDraws) {
    StripChartView view(strip_chart_options());
    StripChartModel& chart = view.model();
    chart.set_chart_low(128);
    chart.set_chart_high(128);
    for (int i = 0; i < 50; ++i) chart.plot_point(6400);  // 64 of 0..128: mid-height
    chart.set_last_record(50);
    chart.set_curr_record(50);
    view.show();
    const QImage image = picture_of(view);
    EXPECT_EQ(image.pixelColor(20, 65), trace_colour(view));
}

TEST(PlayerStripChartView, TheWindowIsFixedAtItsDefaultSize) {
    StripChartView player(strip_chart_options());
    EXPECT_EQ(player.minimumSize(), player.maximumSize());
    EXPECT_EQ(player.size(), QSize(405, 130));
    EXPECT_EQ(player.cursor().shape(), Qt::CrossCursor);
    EXPECT_FALSE(player.isVisible());
}

}  // namespace
}  // namespace korv::player
