#pragma once
// Where a slider's knob sits and which value it stands for. The knob is 13
// pixels wide between two 4-pixel end caps with a 1-pixel gap each side, so
// it travels size - 23 pixels.
#include <optional>

namespace korv::plot3d {

class SliderTrack {
public:
    SliderTrack(int size, float min, float max, float initial);

    int size() const { return size_; }
    int motionsize() const { return size_ - 23; }
    int pos() const { return pos_; }
    float min() const { return min_; }
    float max() const { return max_; }

    // Moves the knob to the value without telling anyone.
    void set(float value);
    // Whether a press at x lands on the knob.
    bool over_knob(int x) const;
    // A drag to x: the new value when x lies on the track, else nothing moves.
    std::optional<float> drag_to(int x);
    float value() const;

private:
    int pos_for(float value) const;

    int size_;
    float min_, max_;
    int pos_ = 0;
};

}  // namespace korv::plot3d
