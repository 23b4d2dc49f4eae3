// Colours and their stored 0x00BBGGRR form, and the draw list's pixel
// coordinates.
#include "common/core/chart_drawing.h"
#include "common/core/colour.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace korv {
namespace {

TEST(Colour, StoredFormHoldsRedInTheLowByteAndBlueInTheThird) {
    struct Case {
        std::uint32_t bgr;
        Colour colour;
    };
    const Case cases[] = {
        {0x000000, {0, 0, 0}},     {0x0000FF, {255, 0, 0}},        {0x00FF00, {0, 255, 0}},
        {0xFF0000, {0, 0, 255}},   {0xFFFFFF, {255, 255, 255}},    {0x50148C, {0x8C, 0x14, 0x50}},
        {0x1414C8, {200, 20, 20}}, {0x3CC814, {0x14, 0xC8, 0x3C}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(colour_from_bgr(c.bgr), c.colour) << std::hex << c.bgr;
        EXPECT_EQ(bgr_of(c.colour), c.bgr) << std::hex << c.bgr;
    }
}

TEST(Colour, TopByteOfAStoredValueIsIgnored) {
    EXPECT_EQ(colour_from_bgr(0xFF123456), (Colour{0x56, 0x34, 0x12}));
    EXPECT_EQ(bgr_of(colour_from_bgr(0xFF123456)), 0x123456u);
    static_assert(bgr_of(colour_from_bgr(0xABCDEF)) == 0xABCDEF);
}

TEST(ChartDrawing, PixelsTruncateAndStayInAPaintableRange) {
    struct Case {
        double value;
        int pixel;
    };
    const Case cases[] = {
        {0.0, 0},
        {12.9, 12},
        {-12.9, -12},
        {1048576.0, 1048576},
        {1e30, 1048576},
        {-1e30, -1048576},
        {std::numeric_limits<double>::infinity(), 1048576},
        {-std::numeric_limits<double>::infinity(), -1048576},
        {std::nan(""), 0},
    };
    for (const Case& c : cases) EXPECT_EQ(to_pixel(c.value), c.pixel) << c.value;
}

}  // namespace
}  // namespace korv
