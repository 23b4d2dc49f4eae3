// Which text colour reads on which background.
#include "common/core/colour_contrast.h"

#include <gtest/gtest.h>

namespace korv {
namespace {

TEST(ColourContrast, RatiosOfKnownPairs) {
    struct Case {
        Colour a, b;
        double ratio;
    };
    const Case cases[] = {
        {{0, 0, 0}, {255, 255, 255}, 21.0},   {{255, 255, 255}, {0, 0, 0}, 21.0},
        {{255, 0, 0}, {255, 255, 255}, 4.00}, {{255, 0, 0}, {0, 0, 0}, 5.25},
        {{0, 0, 255}, {255, 255, 255}, 8.59}, {{255, 255, 0}, {255, 255, 255}, 1.07},
        {{80, 80, 80}, {255, 0, 0}, 2.02},    {{128, 128, 128}, {128, 128, 128}, 1.0},
    };
    for (const Case& c : cases) EXPECT_NEAR(contrast_ratio(c.a, c.b), c.ratio, 0.01);
}

TEST(ColourContrast, TextColoursReadOnTheEditorsBackgrounds) {
    struct Case {
        Colour background, text, grey;
    };
    const Case cases[] = {
        {{0, 0, 255}, {255, 255, 255}, {188, 188, 188}},  // a map cell
        {{255, 0, 0}, {0, 0, 0}, {22, 22, 22}},           // highlighted
        {{255, 255, 0}, {0, 0, 0}, {80, 80, 80}},         // locked
        {{211, 211, 211}, {0, 0, 0}, {80, 80, 80}},       // a knob editor's map cell
        {{0, 255, 0}, {0, 0, 0}, {80, 80, 80}},           // a label cell
    };
    for (const Case& c : cases) {
        EXPECT_EQ(readable_text_on(c.background), c.text);
        EXPECT_EQ(readable_grey_on(c.background, 80), c.grey);
        EXPECT_GE(contrast_ratio(readable_grey_on(c.background, 80), c.background), kReadableContrast);
    }
    // On a middle grey only the darkest greys read.
    EXPECT_EQ(readable_grey_on({118, 118, 118}, 80), (Colour{4, 4, 4}));
}

}  // namespace
}  // namespace korv
