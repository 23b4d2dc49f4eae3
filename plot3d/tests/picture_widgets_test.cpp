#include "plot3d/gui/checker.h"
#include "plot3d/gui/image_button.h"
#include "plot3d/gui/info_line.h"
#include "plot3d/gui/slider.h"
#include "plot3d/gui/wheel.h"
#include "plot3d/gui/widget_clients.h"
#include "plot3d/gui/widget_pictures.h"
#include "plot3d/tests/mouse.h"

#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

namespace korv::plot3d {
namespace {

using test::drag;
using test::press;
using test::release;

// Writes down every call with the widget's text.
struct Recorder : SliderClient, WheelClient, CheckerClient, ButtonClient {
    std::vector<std::string> calls;
    void onSliderMotion(Slider& s, float v) override {
        calls.push_back(s.text().toStdString() + " " + std::to_string(v));
    }
    void onWheelMotion(Wheel&, int delta) override { calls.push_back("motion " + std::to_string(delta)); }
    void onWheelReset(Wheel&) override { calls.push_back("reset"); }
    void onCheckerClick(Checker& c, bool state) override {
        calls.push_back(c.text().toStdString() + (state ? " on" : " off"));
    }
    void onButtonClick(ImageButton& b) override { calls.push_back(b.text().toStdString()); }
};

TEST(Slider, DraggingTheKnobReportsTheValueAndSetDoesNot) {
    Recorder client;
    Slider slider(123, 0.0f, 2.0f, 1.0f, "xratio", &client);  // knob over 55..67
    press(slider, {40, 4});                                   // beside the knob
    drag(slider, {30, 4});
    EXPECT_TRUE(client.calls.empty());
    release(slider, {30, 4});

    press(slider, {60, 4});
    EXPECT_TRUE(slider.pressed());
    drag(slider, {30, 4});
    drag(slider, {120, 4});  // past the track: ignored
    drag(slider, {105, 4});
    release(slider, {105, 4});
    EXPECT_FALSE(slider.pressed());
    EXPECT_EQ(client.calls, (std::vector<std::string>{"xratio 0.500000", "xratio 2.000000"}));

    drag(slider, {50, 4});  // no longer pressed
    slider.set(1.5f);
    EXPECT_EQ(slider.pos(), 75);
    EXPECT_EQ(client.calls.size(), 2u);
}

TEST(Slider, KnobIsPaintedWhereItStands) {
    Slider slider(123, 0.0f, 1.0f, 0.0f, "xratio", nullptr);
    auto knob_edge = [&] { return slider.grab().toImage().pixelColor(slider.pos() + 5, 0); };
    EXPECT_EQ(knob_edge(), QColor(Qt::white));                                 // the knob's lit top edge
    EXPECT_EQ(slider.grab().toImage().pixelColor(90, 3), QColor(64, 64, 64));  // the groove
    slider.set(0.8f);                                                          // knob over 85..97
    EXPECT_EQ(slider.grab().toImage().pixelColor(90, 3), QColor(192, 192, 192));
}

TEST(Wheel, DraggingTurnsThePictureAndReportsTheMovementAlongItsAxis) {
    Recorder client;
    Wheel wheel(Wheel::VERTICAL, 150, &client);
    EXPECT_EQ(wheel.size(), QSize(20, 150));
    const QImage before = wheel.image();
    press(wheel, {10, 50});
    drag(wheel, {3, 57});  // across the axis does not count
    EXPECT_EQ(wheel.state(), 1);
    EXPECT_NE(wheel.image(), before);
    drag(wheel, {3, 52});
    EXPECT_EQ(wheel.state(), 0);
    release(wheel, {3, 52});
    drag(wheel, {3, 90});  // released: nothing
    EXPECT_EQ(client.calls, (std::vector<std::string>{"motion 7", "motion -5"}));

    Wheel flat(Wheel::HORIZONTAL, 150, &client);
    EXPECT_EQ(flat.size(), QSize(150, 20));
    press(flat, {40, 10});
    drag(flat, {30, 2});
    EXPECT_EQ(flat.state(), 3);
    EXPECT_EQ(client.calls.back(), "motion -10");
}

TEST(Wheel, ResetButtonReportsOnlyWhenReleasedOverIt) {
    Recorder client;
    Wheel wheel(Wheel::HORIZONTAL, 150, &client);
    const QImage up = wheel.image();
    press(wheel, {140, 10});
    EXPECT_FALSE(wheel.buttonup());
    EXPECT_NE(wheel.image(), up);
    drag(wheel, {120, 10});  // a press on the button starts no drag
    release(wheel, {140, 10});
    EXPECT_TRUE(wheel.buttonup());
    EXPECT_EQ(wheel.image(), up);
    EXPECT_EQ(client.calls, std::vector<std::string>{"reset"});

    press(wheel, {140, 10});
    release(wheel, {100, 10});  // slid off the button
    EXPECT_TRUE(wheel.buttonup());
    EXPECT_EQ(client.calls.size(), 1u);
}

TEST(Checker, HoldingShowsInfoAndReleaseInsideToggles) {
    Recorder client;
    InfoLine info;
    const QImage picture = button_picture("G", 30, 20);
    Checker checker(picture, 0, 0, 30, 20, "Show the grid", "grid", &client, &info);
    const QImage up = checker.grab().toImage();
    press(checker, {5, 5});
    EXPECT_EQ(info.text(), "Show the grid");
    EXPECT_NE(checker.grab().toImage(), up);
    release(checker, {5, 5});
    EXPECT_TRUE(checker.pressed());
    EXPECT_TRUE(info.text().isEmpty());
    EXPECT_NE(checker.grab().toImage(), up);  // stays down while set

    press(checker, {5, 5});
    release(checker, {50, 5});  // outside: toggles without telling
    EXPECT_FALSE(checker.pressed());
    EXPECT_EQ(checker.grab().toImage(), up);
    EXPECT_EQ(client.calls, std::vector<std::string>{"grid on"});
}

TEST(ImageButton, ReleaseInsideClicksAndTheLookPopsBack) {
    Recorder client;
    InfoLine info;
    ImageButton button(button_picture("X", 30, 20), 0, 0, 30, 20, "View along x", "xview", &client, &info);
    const QImage up = button.grab().toImage();
    press(button, {3, 3});
    EXPECT_TRUE(button.pressed());
    EXPECT_EQ(info.text(), "View along x");
    EXPECT_NE(button.grab().toImage(), up);
    release(button, {3, 3});
    EXPECT_EQ(button.grab().toImage(), up);
    EXPECT_TRUE(info.text().isEmpty());
    press(button, {3, 3});
    release(button, {-4, 3});
    EXPECT_EQ(client.calls, std::vector<std::string>{"xview"});
}

}  // namespace
}  // namespace korv::plot3d
