#pragma once
// The thumbwheel's arithmetic: the phase of its turning picture, the ridges
// drawn on its body for each phase, and the rectangles of its picture strip.
#include <vector>

namespace korv::plot3d {

enum class WheelOrientation { VERTICAL = 1, HORIZONTAL = 2 };

// A rectangle of a picture strip.
struct StripRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const StripRect&) const = default;
};

// The phase after a drag: forward when the coordinate grew, else backward.
constexpr int next_wheel_state(int state, bool grew) { return grew ? (state + 1) % 4 : (state + 3) % 4; }

// The body length between the near end (30 pixels) and the far end with its
// reset button (49 pixels).
constexpr int wheel_motionsize(int size) { return size - 79; }

// Whether a press at this coordinate along the axis lands on the reset button.
constexpr bool on_wheel_reset(int along, int size) { return along > size - 20; }

struct Ridge {
    int at = 0;      // offset into the body, black line
    int whites = 0;  // white lines beside it
    bool operator==(const Ridge&) const = default;
};

// The ridges of the body for a phase; they crowd towards both ends, as on a
// real wheel seen side on.
std::vector<Ridge> wheel_ridges(int motionsize, int state);

// The picture strip's layout.
StripRect wheel_near_end(WheelOrientation o, int state);
StripRect wheel_far_end(WheelOrientation o, int state);
StripRect wheel_reset_button(bool down);

}  // namespace korv::plot3d
