// Colour <-> QColor: each byte stays in its own channel both ways, whatever
// kind of QColor comes back from Qt.
#include "common/gui/qt_colour.h"

#include <gtest/gtest.h>

namespace korv {
namespace {

TEST(QtColour, EachByteKeepsItsChannelBothWays) {
    const Colour cases[] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {0x14, 0xC8, 0x3C}, {255, 255, 255}};
    for (const Colour& c : cases) {
        const QColor q = to_qcolor(c);
        EXPECT_EQ(q, QColor(c.r, c.g, c.b)) << int(c.r) << ' ' << int(c.g) << ' ' << int(c.b);
        EXPECT_EQ(to_colour(q), c) << int(c.r) << ' ' << int(c.g) << ' ' << int(c.b);
        // The stored 0x00BBGGRR form survives a trip through Qt.
        EXPECT_EQ(bgr_of(to_colour(to_qcolor(colour_from_bgr(bgr_of(c))))), bgr_of(c));
    }
}

TEST(QtColour, AnyQtColourComesBackAsItsOpaqueRgbBytes) {
    const struct {
        QColor qt;
        Colour expected;
    } cases[] = {
        {QColor(10, 20, 30, 40), {10, 20, 30}},  // alpha dropped
        {QColor(Qt::darkGray), {128, 128, 128}},
        {QColor::fromHsv(0, 255, 255), {255, 0, 0}},
        {QColor::fromCmyk(0, 255, 0, 0), {255, 0, 255}},
    };
    for (const auto& c : cases) EXPECT_EQ(to_colour(c.qt), c.expected) << c.qt.name().toStdString();
}

}  // namespace
}  // namespace korv
