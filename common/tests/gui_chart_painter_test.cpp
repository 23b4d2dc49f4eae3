// A draw list painted on an image: each line in its own colour and width,
// texts in black at their anchors.
#include "common/gui/chart_painter.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace korv {
namespace {

QImage white_image(int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(Qt::white);
    return image;
}

QImage painted(const ChartDrawing& drawing, int width = 60, int height = 40) {
    QImage image = white_image(width, height);
    QPainter painter(&image);
    paint_drawing(painter, drawing);
    return image;
}

TEST(ChartPainter, LinesInTheirOwnColourAndWidth) {
    ChartDrawing d;
    d.line({200, 20, 20}, 1, 5, 10, 55, 10);
    d.lines.push_back({{0x14, 0xC8, 0x3C}, 5, {{5, 25}, {30, 25}, {55, 25}}});
    const QImage image = painted(d);

    EXPECT_EQ(image.pixelColor(30, 10), QColor(200, 20, 20));
    EXPECT_EQ(image.pixelColor(30, 9), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(30, 11), QColor(Qt::white));
    for (int y = 24; y <= 26; ++y) EXPECT_EQ(image.pixelColor(30, y), QColor(0x14, 0xC8, 0x3C)) << y;
    EXPECT_EQ(image.pixelColor(30, 21), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(30, 29), QColor(Qt::white));
}

TEST(ChartPainter, TextsAreBlackAndTopCentreIsCentredOnItsX) {
    const std::string text = "1500";
    QImage probe = white_image(1, 1);
    const QPainter measure(&probe);
    const int advance = QFontMetrics(measure.font(), measure.device()).horizontalAdvance(QString::fromStdString(text));
    ChartDrawing centred, left;
    centred.text(60, 5, TextAnchor::TopCentre, text);
    left.text(60 - advance / 2, 5, TextAnchor::TopLeft, text);
    const QImage image = painted(centred, 120, 40);
    EXPECT_EQ(image, painted(left, 120, 40));
    EXPECT_NE(image, white_image(120, 40));

    // Black on white: smoothed edges may be grey, never coloured.
    bool only_greys = true;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() != c.green() || c.green() != c.blue()) only_greys = false;
        }
    EXPECT_TRUE(only_greys);
}

}  // namespace
}  // namespace korv
