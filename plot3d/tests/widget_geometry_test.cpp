#include "plot3d/core/plot_colours.h"
#include "plot3d/core/slider_track.h"
#include "plot3d/core/wheel_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korv::plot3d {
namespace {

TEST(PlotColours, DarkRowsAreThePlainColoursDarkenedTwice) {
    const auto rows = colour_rows();
    const Colour expected[12] = {{255, 255, 0}, {255, 0, 0}, {0, 0, 255}, {0, 255, 0}, {255, 255, 255}, {255, 175, 175},
                                 {124, 124, 0}, {124, 0, 0}, {0, 0, 124}, {0, 124, 0}, {124, 124, 124}, {124, 85, 85}};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(rows[i], expected[i]) << kColourRowNames[i];
    EXPECT_EQ(kLegendLabelRed, (Colour{178, 0, 0}));
}

TEST(SliderTrack, KnobStartsWhereTheInitialValueLies) {
    const SliderTrack track(123, 0.5f, 2.0f, 1.0f);  // travel 100
    EXPECT_EQ(track.motionsize(), 100);
    EXPECT_EQ(track.pos(), 33);
}

TEST(SliderTrack, OnlyAPressOnTheKnobCounts) {
    const SliderTrack track(123, 0.0f, 1.0f, 0.5f);  // pos 50: knob over 55..67
    EXPECT_FALSE(track.over_knob(54));
    EXPECT_TRUE(track.over_knob(55));
    EXPECT_TRUE(track.over_knob(67));
    EXPECT_FALSE(track.over_knob(68));
}

TEST(SliderTrack, DragsOffTheTrackAreIgnored) {
    SliderTrack track(123, 0.0f, 2.0f, 1.0f);
    EXPECT_FALSE(track.drag_to(4));
    EXPECT_FALSE(track.drag_to(106));
    EXPECT_EQ(track.pos(), 50);
    EXPECT_EQ(track.drag_to(5), 0.0f);
    EXPECT_EQ(track.drag_to(105), 2.0f);
    EXPECT_EQ(track.drag_to(30), 0.5f);
    EXPECT_EQ(track.pos(), 25);
}

TEST(SliderTrack, ValuesOutsideTheRangeOrAnEmptyRangeKeepTheKnobOnTheTrack) {
    SliderTrack track(123, 1.0f, 1.0f, 1.0f);
    EXPECT_EQ(track.pos(), 0);
    track = SliderTrack(123, 0.0f, 1.0f, 5.0f);
    EXPECT_EQ(track.pos(), 100);
    track.set(-3.0f);
    EXPECT_EQ(track.pos(), 0);
    EXPECT_TRUE(std::isfinite(SliderTrack(20, 0.0f, 1.0f, 0.5f).value()));  // shorter than the caps
}

TEST(WheelGeometry, StateTurnsForwardWhenTheCoordinateGrowsElseBack) {
    EXPECT_EQ(next_wheel_state(0, true), 1);
    EXPECT_EQ(next_wheel_state(3, true), 0);
    EXPECT_EQ(next_wheel_state(0, false), 3);
    EXPECT_EQ(next_wheel_state(2, false), 1);
}

TEST(WheelGeometry, StripRectanglesFollowTheLayout) {
    struct Case {
        WheelOrientation o;
        int state;
        StripRect near_end, far_end;
    };
    const Case cases[] = {
        {WheelOrientation::VERTICAL, 0, {0, 0, 20, 30}, {0, 30, 20, 29}},
        {WheelOrientation::VERTICAL, 3, {60, 0, 20, 30}, {60, 30, 20, 29}},
        {WheelOrientation::HORIZONTAL, 0, {0, 139, 30, 20}, {30, 139, 29, 20}},
        {WheelOrientation::HORIZONTAL, 2, {0, 99, 30, 20}, {30, 99, 29, 20}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(wheel_near_end(c.o, c.state), c.near_end);
        EXPECT_EQ(wheel_far_end(c.o, c.state), c.far_end);
    }
    EXPECT_EQ(wheel_reset_button(false), (StripRect{0, 59, 20, 20}));
    EXPECT_EQ(wheel_reset_button(true), (StripRect{20, 59, 20, 20}));
    EXPECT_TRUE(on_wheel_reset(81, 100));
    EXPECT_FALSE(on_wheel_reset(80, 100));
}

TEST(WheelGeometry, RidgesCrowdTowardsBothEndsAndStayInsideTheBody) {
    // Body of 60, phase 0: s from 0, e from 54; the step grows once the
    // drawn run passes half the (halving) span.
    const std::vector<Ridge> expected = {{0, 1}, {54, 1}, {7, 1}, {47, 1}, {14, 1}, {40, 1}, {22, 2}, {32, 2}};
    EXPECT_EQ(wheel_ridges(60, 0), expected);
    for (int state = 0; state < 4; ++state) {
        const auto ridges = wheel_ridges(121, state);
        ASSERT_FALSE(ridges.empty());
        for (const Ridge& r : ridges) {
            EXPECT_GE(r.at, 0);
            EXPECT_LT(r.at, 121);
        }
    }
    EXPECT_TRUE(wheel_ridges(5, 0).empty());
}

}  // namespace
}  // namespace korv::plot3d
