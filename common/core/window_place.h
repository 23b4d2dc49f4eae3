#pragma once
// Where a window opens: a position its description gives when that leaves
// the window it belongs to usable, else beside that window, clear of its
// controls and of the program's other windows, and on the screen. Plain
// rectangles in screen pixels, window frames included.
#include <cstdint>
#include <optional>
#include <vector>

namespace korv {

struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int right() const { return x + width; }  // one past the last column
    int bottom() const { return y + height; }
    bool operator==(const ScreenRect&) const = default;
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// The area two rectangles share.
std::int64_t overlap(const ScreenRect& a, const ScreenRect& b);

struct WindowScene {
    ScreenRect screen;                       // where windows may go
    ScreenRect owner;                        // the window the new one belongs to
    std::vector<ScreenRect> controls;        // the owner's buttons, fields and texts
    std::vector<ScreenRect> others;          // the program's other windows on show
    std::vector<ScreenRect> other_controls;  // and their controls
};

// The top-left corner for a window of width x height: on the screen (its
// top-left corner when the window is larger), covering as little of the
// owner's controls as can be, then of the other windows' controls, then of
// the owner and of the other windows, and as near the owner as that allows: right of it, else below,
// left of or above it, as level with its top or left edge as can be.
ScreenPoint place_beside(const WindowScene& scene, int width, int height);

// `given` when a window of that size there lies on the screen and covers
// none of the owner's controls; else place_beside.
ScreenPoint place_window(const WindowScene& scene, int width, int height, std::optional<ScreenPoint> given);

}  // namespace korv
