#pragma once
// What the picture widgets report to: each widget calls its client, which
// tells one widget from another by the widget's text.

namespace korv::plot3d {

class Slider;
class Wheel;
class Checker;
class ImageButton;

class SliderClient {
public:
    virtual ~SliderClient() = default;
    virtual void onSliderMotion(Slider& slider, float value) = 0;
};

class WheelClient {
public:
    virtual ~WheelClient() = default;
    // delta: the pointer's movement along the wheel's axis, in pixels.
    virtual void onWheelMotion(Wheel& wheel, int delta) = 0;
    virtual void onWheelReset(Wheel& wheel) = 0;
};

class CheckerClient {
public:
    virtual ~CheckerClient() = default;
    virtual void onCheckerClick(Checker& checker, bool state) = 0;
};

class ButtonClient {
public:
    virtual ~ButtonClient() = default;
    virtual void onButtonClick(ImageButton& button) = 0;
};

}  // namespace korv::plot3d
