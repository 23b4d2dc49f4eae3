#include "plot3d/core/wheel_geometry.h"

namespace korv::plot3d {

std::vector<Ridge> wheel_ridges(int motionsize, int state) {
    static constexpr int kStartOffset[4] = {0, 2, 2, 5};
    static constexpr int kEndOffset[4] = {6, 4, 2, 1};
    const int phase = ((state % 4) + 4) % 4;
    std::vector<Ridge> ridges;
    int s = kStartOffset[phase];
    int e = motionsize - kEndOffset[phase];
    int step = 7;
    int span = motionsize;
    int run = 0;
    while (e > s && e - s >= step) {
        ridges.push_back({s, step - 6});
        ridges.push_back({e, step - 6});
        run += 2 * step;
        if (run > span / 2) {
            run = 0;
            span /= 2;
            ++step;
        }
        s += step;
        e -= step;
    }
    return ridges;
}

StripRect wheel_near_end(WheelOrientation o, int state) {
    if (o == WheelOrientation::VERTICAL) return {20 * state, 0, 20, 30};
    return {0, 139 - 20 * state, 30, 20};
}

StripRect wheel_far_end(WheelOrientation o, int state) {
    if (o == WheelOrientation::VERTICAL) return {20 * state, 30, 20, 29};
    return {30, 139 - 20 * state, 29, 20};
}

StripRect wheel_reset_button(bool down) { return {down ? 20 : 0, 59, 20, 20}; }

}  // namespace korv::plot3d
