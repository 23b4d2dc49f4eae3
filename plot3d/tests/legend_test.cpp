#include "plot3d/gui/info_line.h"
#include "plot3d/gui/legend_box.h"

#include <gtest/gtest.h>

#include <QImage>

namespace korv::plot3d {
namespace {

int count_pixels(const QImage& image, QColor colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == colour;
    return n;
}

TEST(LegendBox, ShowsNamesBoundsAndTheSizeFieldOnceScaled) {
    LegendBox legend;
    EXPECT_TRUE(legend.texts().isEmpty());
    EXPECT_EQ(count_pixels(legend.grab().toImage(), QColor(178, 0, 0)), 0);

    legend.setScale("Rpms", 1000.0f, 6500.0f, "O2", -0.5f, 1.0E-4f, "Pressure", 0.0f, 0.0f, "Timing");
    EXPECT_TRUE(legend.labeldone());
    EXPECT_EQ(legend.texts(), (QStringList{"Rpms", "1000.0", "6500.0", "O2", "-0.5", "1.0E-4", "Pressure", "0.0", "0.0",
                                           "Timing for Size"}));
    EXPECT_GT(count_pixels(legend.grab().toImage(), QColor(178, 0, 0)), 50);

    legend.setScale("Rpms", 1.0f, 2.0f, "", -1.0f, 1.0f, "", -1.0f, 1.0f, "");
    EXPECT_EQ(legend.texts().size(), 9);  // no size line when no size field
}

TEST(LegendBox, RulesAreEngraved) {
    LegendBox legend;
    const QImage image = legend.grab().toImage();
    EXPECT_EQ(image.pixelColor(75, LegendBox::kRuleY), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(75, LegendBox::kRuleY + 1), QColor(128, 128, 128));
    EXPECT_EQ(image.pixelColor(5, LegendBox::kRuleY), QColor(192, 192, 192));  // end margin
    EXPECT_EQ(image.pixelColor(147, 200), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(148, 200), QColor(128, 128, 128));
}

TEST(InfoLine, TextIsEngravedAndClears) {
    InfoLine line;
    EXPECT_EQ(line.size(), QSize(400, 20));
    line.setText("Rotate about x");
    const QImage image = line.grab().toImage();
    EXPECT_GT(count_pixels(image, QColor(Qt::white)), 5);  // the lit edge peeks out
    EXPECT_GT(count_pixels(image, QColor(64, 64, 64)), 20);
    line.clearText();
    EXPECT_EQ(count_pixels(line.grab().toImage(), QColor(192, 192, 192)), 400 * 20);
}

}  // namespace
}  // namespace korv::plot3d
