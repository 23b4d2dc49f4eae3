// The logger's strip-chart window painted offscreen and probed pixel by
// pixel.
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

#include "common/gui/strip_chart_view.h"
#include "logger/core/strip_chart_options.h"

namespace korv::logger {
namespace {

QImage picture_of(StripChartView& view) { return view.grab().toImage(); }

QColor trace_colour(const StripChartView& view) { return view.palette().color(QPalette::WindowText); }
QColor background(const StripChartView& view) { return view.palette().color(QPalette::Window); }

// The number of pixels in column x that have the trace's colour.
int inked_in_column(const QImage& image, int x, QColor ink) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) n += image.pixelColor(x, y) == ink;
    return n;
}

int inked_pixels(const QImage& image, QColor ink) {
    int n = 0;
    for (int x = 0; x < image.width(); ++x) n += inked_in_column(image, x, ink);
    return n;
}

TEST(LoggerStripChartView, ALoggerChartDrawsItsValueBetweenLowAndHigh) {
    StripChartView view(strip_chart_options());
    StripChartModel& chart = view.model();
    chart.set_chart_item(17);
    chart.set_chart_low(0);
    chart.set_chart_high(100);
    chart.set_title("Knock Sum");
    view.show();
    for (int i = 0; i < 100; ++i) chart.plot_point(5000);  // 50 of 0..100
    view.refresh();
    EXPECT_EQ(view.windowTitle(), "Knock Sum High: 50 Low: 50 50.0");

    const QImage image = picture_of(view);
    ASSERT_EQ(image.size(), QSize(405, 130));
    const QColor ink = trace_colour(view);
    EXPECT_EQ(image.pixelColor(10, 65), ink);  // mid-height
    EXPECT_EQ(image.pixelColor(10, 64), background(view));
    EXPECT_EQ(image.pixelColor(10, 66), background(view));
    EXPECT_EQ(image.pixelColor(200, 65), background(view));  // no points there yet
    EXPECT_EQ(inked_in_column(image, 10, ink), 1);
}

TEST(LoggerStripChartView, TheMarkIsAFullHeightLineUntilTheNextRepaint) {
    StripChartView view(strip_chart_options());
    StripChartModel& chart = view.model();
    chart.set_chart_low(-40);
    chart.set_chart_high(40);
    view.show();
    for (int i = 0; i < 300; ++i) chart.plot_point(0);
    chart.paint_mark(250);
    view.refresh();
    const QColor ink = trace_colour(view);
    EXPECT_EQ(inked_in_column(picture_of(view), 250, ink), 130);

    chart.plot_point(0);
    view.refresh();
    EXPECT_EQ(inked_in_column(picture_of(view), 250, ink), 1);
}

TEST(LoggerStripChartView, AChartWithoutARangeAboveItsLowPaintsNothing) {
    StripChartView view(strip_chart_options());
    view.show();
    for (int i = 0; i < 50; ++i) view.model().plot_point(i * 100);
    view.refresh();
    EXPECT_EQ(inked_pixels(picture_of(view), trace_colour(view)), 0);
}

TEST(LoggerStripChartView, TheLoggerWindowIsResizable) {
    StripChartView logger(strip_chart_options());
    EXPECT_NE(logger.minimumSize(), logger.maximumSize());
    logger.model().set_chart_low(0);
    logger.model().set_chart_high(100);
    logger.show();
    logger.resize(600, 200);
    EXPECT_EQ(logger.model().area().w, 600);
    EXPECT_EQ(logger.model().area().h, 200);
    for (int i = 0; i < 10; ++i) logger.model().plot_point(10000);  // the top edge
    logger.refresh();
    EXPECT_EQ(picture_of(logger).pixelColor(3, 0), trace_colour(logger));
}

}  // namespace
}  // namespace korv::logger
