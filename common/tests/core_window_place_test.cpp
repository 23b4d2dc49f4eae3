// Where a new window opens beside the window it belongs to.
#include "common/core/window_place.h"

#include <gtest/gtest.h>

namespace korv {
namespace {

const ScreenRect kScreen{0, 0, 1280, 1024};

// A window of 640 x 400 with a row of buttons along its middle.
WindowScene scene_with_owner_at(int x, int y) {
    WindowScene scene;
    scene.screen = kScreen;
    scene.owner = {x, y, 640, 400};
    for (int k = 0; k < 8; ++k) scene.controls.push_back({x + 8 + 40 * k, y + 170, 36, 26});
    return scene;
}

TEST(WindowPlace, BesideTheOwnerWhereTheScreenHasRoom) {
    const struct {
        const char* name;
        ScreenPoint owner;
        int width, height;
        ScreenPoint expected;
    } cases[] = {
        {"right of it, level with its top", {0, 0}, 359, 106, {640, 0}},
        {"below it when the right is too narrow", {0, 0}, 720, 560, {0, 400}},
        {"left of it in the screen's lower right corner", {640, 624}, 400, 300, {240, 624}},
        {"above it at the screen's foot", {300, 624}, 700, 500, {300, 124}},
    };
    for (const auto& c : cases) {
        const WindowScene scene = scene_with_owner_at(c.owner.x, c.owner.y);
        const ScreenPoint at = place_beside(scene, c.width, c.height);
        EXPECT_EQ(at, c.expected) << c.name << ": " << at.x << "," << at.y;
        EXPECT_EQ(overlap({at.x, at.y, c.width, c.height}, scene.owner), 0) << c.name;
    }
}

TEST(WindowPlace, ClearOfTheControlsWhenTheOwnerCannotBeAvoided) {
    // The owner fills the screen but for nothing; its controls lie in its middle row.
    WindowScene scene = scene_with_owner_at(0, 0);
    scene.screen = {0, 0, 800, 600};
    scene.owner = {0, 0, 800, 600};
    const ScreenPoint at = place_beside(scene, 630, 250);
    const ScreenRect window{at.x, at.y, 630, 250};
    for (const ScreenRect& control : scene.controls) EXPECT_EQ(overlap(window, control), 0);
    EXPECT_GE(at.x, 0);
    EXPECT_LE(window.right(), 800);
    EXPECT_LE(window.bottom(), 600);
}

TEST(WindowPlace, ClearOfTheProgramsOtherWindows) {
    WindowScene scene = scene_with_owner_at(0, 0);
    scene.others.push_back({640, 0, 359, 106});  // the chart manager, right of the owner
    const ScreenPoint first = place_beside(scene, 630, 250);
    const ScreenRect editor{first.x, first.y, 630, 250};
    EXPECT_EQ(overlap(editor, scene.others[0]), 0);
    EXPECT_EQ(overlap(editor, scene.owner), 0);
    scene.others.push_back(editor);
    const ScreenPoint second = place_beside(scene, 630, 250);
    const ScreenRect next{second.x, second.y, 630, 250};
    for (const ScreenRect& other : scene.others) EXPECT_EQ(overlap(next, other), 0) << second.x << "," << second.y;
    EXPECT_EQ(overlap(next, scene.owner), 0);
}

TEST(WindowPlace, WhereAnotherWindowMustBeCoveredItsControlsAreNot) {
    // The owner on the left half, another window on the right half with its
    // buttons along its top: the new window goes on that window, under them.
    WindowScene scene;
    scene.screen = {0, 0, 1000, 500};
    scene.owner = {0, 0, 500, 500};
    scene.controls.push_back({10, 10, 100, 50});
    scene.others.push_back({500, 0, 500, 500});
    scene.other_controls.push_back({510, 10, 480, 100});
    const ScreenPoint at = place_beside(scene, 300, 300);
    const ScreenRect window{at.x, at.y, 300, 300};
    EXPECT_EQ(overlap(window, scene.other_controls[0]), 0) << at.x << "," << at.y;
    EXPECT_EQ(overlap(window, scene.owner), 0) << at.x << "," << at.y;
}

TEST(WindowPlace, AWindowLargerThanTheScreenStartsAtItsCorner) {
    WindowScene scene = scene_with_owner_at(100, 100);
    scene.screen = {0, 0, 600, 500};
    EXPECT_EQ(place_beside(scene, 700, 800), (ScreenPoint{0, 0}));
}

TEST(WindowPlace, AGivenPositionHoldsWhenItLeavesTheControlsClear) {
    const struct {
        const char* name;
        ScreenPoint owner;
        ScreenPoint given;
        bool kept;
    } cases[] = {
        {"away from the owner", {600, 500}, {50, 50}, true},
        {"over the owner's empty part", {0, 300}, {50, 50}, true},
        {"over the owner's buttons", {0, 0}, {50, 120}, false},
        {"off the screen", {0, 500}, {1000, 50}, false},
    };
    for (const auto& c : cases) {
        const WindowScene scene = scene_with_owner_at(c.owner.x, c.owner.y);
        const ScreenPoint at = place_window(scene, 359, 106, c.given);
        EXPECT_EQ(at == c.given, c.kept) << c.name << ": " << at.x << "," << at.y;
        for (const ScreenRect& control : scene.controls) EXPECT_EQ(overlap({at.x, at.y, 359, 106}, control), 0);
    }
    EXPECT_EQ(place_window(scene_with_owner_at(0, 0), 359, 106, std::nullopt), (ScreenPoint{640, 0}));
}

}  // namespace
}  // namespace korv
