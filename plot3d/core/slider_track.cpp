#include "plot3d/core/slider_track.h"

#include "common/core/java_numbers.h"

#include <algorithm>

namespace korv::plot3d {

SliderTrack::SliderTrack(int size, float min, float max, float initial) : size_(size), min_(min), max_(max) {
    set(initial);
}

int SliderTrack::pos_for(float value) const {
    // A value outside the range, or an empty range, still leaves the knob on the track.
    const int pos = saturating_float_to_int32((value - min_) / (max_ - min_) * static_cast<float>(motionsize()));
    return std::clamp(pos, 0, std::max(0, motionsize()));
}

void SliderTrack::set(float value) { pos_ = pos_for(value); }

bool SliderTrack::over_knob(int x) const { return x >= 5 + pos_ && x < 18 + pos_; }

std::optional<float> SliderTrack::drag_to(int x) {
    if (x < 5 || x > size_ - 18) return std::nullopt;
    pos_ = x - 5;
    return value();
}

float SliderTrack::value() const {
    if (motionsize() <= 0) return min_;
    return static_cast<float>(pos_) / static_cast<float>(motionsize()) * (max_ - min_) + min_;
}

}  // namespace korv::plot3d
