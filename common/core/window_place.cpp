#include "common/core/window_place.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>

namespace korv {

namespace {

// Spacing of the positions tried across the screen, beside the ones that
// touch the owner's and the other windows' edges.
constexpr int kGridStep = 16;

std::int64_t covered(const ScreenRect& window, const std::vector<ScreenRect>& rects) {
    std::int64_t area = 0;
    for (const ScreenRect& r : rects) area += overlap(window, r);
    return area;
}

bool contains(const ScreenRect& outer, const ScreenRect& inner) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.right() <= outer.right() &&
           inner.bottom() <= outer.bottom();
}

// Which side of the owner a window lies on, in the order they are preferred.
int side(const ScreenRect& window, const ScreenRect& owner) {
    if (window.x >= owner.right()) return 0;
    if (window.y >= owner.bottom()) return 1;
    if (window.right() <= owner.x) return 2;
    if (window.bottom() <= owner.y) return 3;
    return 4;
}

// Pixels between the window and the owner, across and down.
int gap(const ScreenRect& window, const ScreenRect& owner) {
    const int across = std::max({0, owner.x - window.right(), window.x - owner.right()});
    const int down = std::max({0, owner.y - window.bottom(), window.y - owner.bottom()});
    return across + down;
}

// Edge positions along one axis: touching the owner and each other window
// on either side and level with the owner, then the screen's grid.
std::vector<int> positions(int screen_start, int screen_length, int length, int owner_start, int owner_end,
                           const std::vector<std::pair<int, int>>& other_spans) {
    std::vector<int> at = {owner_end, owner_start - length, owner_start, screen_start,
                           screen_start + screen_length - length};
    for (const auto& [start, end] : other_spans) {
        at.push_back(end);
        at.push_back(start - length);
    }
    for (int p = screen_start; p + length <= screen_start + screen_length; p += kGridStep) at.push_back(p);
    // On the screen, where the window fits; else at the screen's start.
    const int last = std::max(screen_start, screen_start + screen_length - length);
    for (int& p : at) p = std::clamp(p, screen_start, last);
    return at;
}

}  // namespace

std::int64_t overlap(const ScreenRect& a, const ScreenRect& b) {
    const std::int64_t across = std::min(a.right(), b.right()) - std::max(a.x, b.x);
    const std::int64_t down = std::min(a.bottom(), b.bottom()) - std::max(a.y, b.y);
    return across > 0 && down > 0 ? across * down : 0;
}

ScreenPoint place_beside(const WindowScene& scene, int width, int height) {
    std::vector<std::pair<int, int>> across, down;
    for (const ScreenRect& o : scene.others) {
        across.emplace_back(o.x, o.right());
        down.emplace_back(o.y, o.bottom());
    }
    const std::vector<int> xs =
        positions(scene.screen.x, scene.screen.width, width, scene.owner.x, scene.owner.right(), across);
    const std::vector<int> ys =
        positions(scene.screen.y, scene.screen.height, height, scene.owner.y, scene.owner.bottom(), down);

    using Cost = std::tuple<std::int64_t, std::int64_t, std::int64_t, std::int64_t, int, int, int>;
    std::optional<Cost> best;
    ScreenPoint chosen{xs.front(), ys.front()};
    for (int y : ys) {
        for (int x : xs) {
            const ScreenPoint at{x, y};
            const ScreenRect window{at.x, at.y, width, height};
            const std::int64_t on_owner = overlap(window, scene.owner);
            // The controls lie inside the owner.
            const std::int64_t on_controls = on_owner > 0 ? covered(window, scene.controls) : 0;
            const std::int64_t on_others = covered(window, scene.others);
            const std::int64_t on_their_controls = on_others > 0 ? covered(window, scene.other_controls) : 0;
            const Cost cost{on_controls,
                            on_their_controls,
                            on_owner,
                            on_others,
                            gap(window, scene.owner),
                            side(window, scene.owner),
                            std::min(std::abs(at.x - scene.owner.x), std::abs(at.y - scene.owner.y))};
            if (!best || cost < *best) {
                best = cost;
                chosen = at;
            }
        }
    }
    return chosen;
}

ScreenPoint place_window(const WindowScene& scene, int width, int height, std::optional<ScreenPoint> given) {
    if (given) {
        const ScreenRect window{given->x, given->y, width, height};
        if (contains(scene.screen, window) && covered(window, scene.controls) == 0) return *given;
    }
    return place_beside(scene, width, height);
}

}  // namespace korv
