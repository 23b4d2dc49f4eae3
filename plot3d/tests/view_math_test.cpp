// The view's maths: view matrix, depth order, picking, value box, back
// planes, the cube silhouette and its stamps, and the bands of a frame.
#include "plot3d/core/view_math.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <stdexcept>

#include "plot3d/core/cube_drawer.h"
#include "plot3d/core/cube_stamp.h"
#include "plot3d/core/depth_order.h"
#include "plot3d/core/frame_bands.h"
#include "plot3d/core/thread_team.h"

using namespace korv;
using namespace korv::plot3d;

namespace {

// The indexes of the depths in drawing order, sorted by the team.
std::vector<std::uint32_t> drawing_order(const std::vector<float>& zs, ThreadTeam& team) {
    std::vector<std::uint64_t> entries;
    for (std::size_t i = 0; i < zs.size(); ++i) entries.push_back(depth_entry(zs[i], static_cast<std::uint32_t>(i)));
    sort_depth_entries(entries, team);
    std::vector<std::uint32_t> order;
    for (std::uint64_t e : entries) order.push_back(entry_index(e));
    return order;
}

// The order a stable sort by depth gives, NaN first.
std::vector<std::uint32_t> stable_order(const std::vector<float>& zs) {
    std::vector<std::uint32_t> order(zs.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::uint32_t>(i);
    const auto depth = [&](std::uint32_t i) {
        return std::isnan(zs[i]) ? -std::numeric_limits<float>::infinity() : zs[i];
    };
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) { return depth(a) < depth(b); });
    return order;
}

// What a canvas is asked to draw, for the cube drawer.
struct Recorder {
    std::vector<Colour> fills, edges;
    void cube(const CubeShape&, Colour fill, Colour edge) {
        fills.push_back(fill);
        edges.push_back(edge);
    }
};

}  // namespace

TEST(ViewMatrix, FromTheDiagonalWithTheDefaultRoll) {
    const Matrix3D m = view_matrix(Vector3D(1, 1, 1), std::numbers::pi, 0.25f, 1, 1, 1);
    const float want[3][3] = {{-.7071f, .7071f, 0}, {-.4082f, -.4082f, .8165f}, {.5774f, .5774f, .5774f}};
    const auto a = m.toArray();
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(a[i][j], 0.25f * want[i][j], 1e-4f) << i << "," << j;
        EXPECT_EQ(a[i][3], 0.0f);
    }
    // Straight down the z axis the formula's square roots would divide by zero.
    const auto top = view_matrix(Vector3D(0, 0, 1), std::numbers::pi, 1, 1, 2, 1).toArray();
    for (const auto& row : top)
        for (float v : row) EXPECT_TRUE(std::isfinite(v));
    EXPECT_NEAR(top[1][1], -2.0f, 1e-6f);  // the ratio stretches its model axis
}

TEST(DepthOrder, AsAStableSortGivesItOnOneThreadOrMany) {
    ThreadTeam one(1), four(4);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<float> small = {1, 4, 0, -0.0f, nan, -3, 0};
    EXPECT_EQ(drawing_order(small, one), (std::vector<std::uint32_t>{4, 5, 2, 3, 6, 0, 1}));

    std::mt19937 random(7);
    std::uniform_int_distribution<int> depth(-500, 499);  // many ties
    std::uniform_real_distribution<float> spread(-1.0f, 1.0f);
    std::vector<float> ties(200000), spreads(200000), level(50000, 0.25f);
    for (float& z : ties) z = static_cast<float>(depth(random)) / 1000.0f;
    for (float& z : spreads) z = spread(random) * (random() % 3 == 0 ? 1e-30f : 1.0f);
    for (const auto* zs : {&ties, &spreads, &level}) {
        const auto want = stable_order(*zs);
        EXPECT_EQ(drawing_order(*zs, four), want);
        EXPECT_EQ(drawing_order(*zs, one), want);
    }
}

TEST(ThreadTeam, RunsEveryTaskOnceAndPassesOnAFailure) {
    ThreadTeam team(4);
    for (int round = 0; round < 3; ++round) {
        std::vector<int> runs(1000, 0);
        std::vector<unsigned> workers(1000, 99);
        team.run(runs.size(), [&](std::size_t task, unsigned worker) {
            ++runs[task];
            workers[task] = worker;
        });
        EXPECT_EQ(std::count(runs.begin(), runs.end(), 1), 1000);
        EXPECT_TRUE(std::all_of(workers.begin(), workers.end(), [&](unsigned w) { return w < team.size(); }));
    }
    EXPECT_THROW(team.run(10,
                          [](std::size_t task, unsigned) {
                              if (task == 3) throw std::runtime_error("task 3");
                          }),
                 std::runtime_error);
    int after = 0;
    team.run(1, [&](std::size_t, unsigned) { ++after; });  // the team carries on
    EXPECT_EQ(after, 1);
}

TEST(Pick, TheNearestWithinFivePixelsWins) {
    // Seen straight along z on a 400 x 400 canvas: x and y are the screen's.
    const Matrix3D m(0.25f, 0, 0, 0, 0, 0.25f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    // On screen at (200, 200), (203, 203), (201, 200) and (300, 100).
    const std::vector<PlotData> given = {{0, Vector3D(0, 0, 0.5f), kYellow, 1},
                                         {1, Vector3D(0.03125f, -0.0390625f, 0.1f), kYellow, 1},
                                         {2, Vector3D(0.015625f, 0, 0.5f), kYellow, 1},
                                         {3, Vector3D(1, 1, 0), kYellow, 1}};
    const PointCloud points(given);
    EXPECT_EQ(pick_point(points, m, 400, 400, 201, 201), 2);  // 0 and 2 level and nearer than 1: the later record
    EXPECT_EQ(pick_point(points, m, 400, 400, 207, 207), 1);  // only 1 within reach
    EXPECT_EQ(pick_point(points, m, 400, 400, 194, 200), -1);
    EXPECT_EQ(pick_point(PointCloud(), m, 400, 400, 200, 200), -1);
    EXPECT_EQ(next_selection(7, -1), 7);
    EXPECT_EQ(next_selection(7, 7), -1);
    EXPECT_EQ(next_selection(-1, 7), -1);
}

TEST(FrameBands, EvenCountsOfCubesAndEveryRowOnce) {
    struct Case {
        const char* what;
        std::vector<std::uint32_t> rows;
        std::size_t bands;
        std::vector<int> want;
    };
    std::vector<std::uint32_t> crowded(100, 0);
    crowded[40] = 600, crowded[41] = 600;  // all the cubes in two rows
    const Case cases[] = {
        {"even", std::vector<std::uint32_t>(100, 1), 4, {0, 25, 50, 75, 100}},
        {"crowded", crowded, 4, {0, 41, 45, 49, 100}},
        {"empty", std::vector<std::uint32_t>(10, 0), 3, {0, 4, 8, 10}},
        {"one band", std::vector<std::uint32_t>(7, 5), 1, {0, 7}},
    };
    for (const Case& c : cases) EXPECT_EQ(plan_bands(c.rows, c.bands, 4), c.want) << c.what;
}

TEST(ValueBox, StaysInsideTheCanvas) {
    const BoxPlace mid = value_box_place(100, 100, 10, 400, 400);
    EXPECT_EQ(std::vector<int>({mid.left, mid.top, mid.width, mid.height}), std::vector<int>({100, 105, 150, 156}));
    const BoxPlace corner = value_box_place(390, 390, 10, 400, 400);
    EXPECT_EQ(corner.left, 400 - 152);
    EXPECT_EQ(corner.top, 400 - 150 - 8);
}

TEST(BackPlanes, GridAxisAndOrder) {
    const Matrix3D view = view_matrix(Vector3D(1, 1, 1), std::numbers::pi, 0.25f, 1, 1, 1);
    const PlaneShape plain = plane_shape(2, view, 400, 400, false);
    EXPECT_TRUE(plain.grid.empty());
    EXPECT_TRUE(plain.arrow);
    EXPECT_EQ(plain.quad[0], plain.axis[2].a);  // the middle line runs from O itself
    const PlaneShape grid = plane_shape(2, view, 400, 400, true);
    EXPECT_EQ(grid.grid.size(), 18u);
    // Seen from (1, 1, 1) every plane lies behind the points.
    const PlaneOrder order = plane_order(view.inverse());
    EXPECT_EQ(order.before, (std::array<bool, 3>{true, true, true}));
    EXPECT_EQ(order.after, (std::array<bool, 3>{false, false, false}));
    Matrix3D turned = view;
    turned.preRotateZ(std::numbers::pi);  // x and y flipped: their planes come in front
    const PlaneOrder flipped = plane_order(turned.inverse());
    EXPECT_EQ(flipped.after, (std::array<bool, 3>{true, true, false}));
}

TEST(CubeDrawer, CornersAndSilhouettes) {
    EXPECT_EQ(CubeDrawer::vertextable[0].x, -1.0f);
    EXPECT_EQ(CubeDrawer::vertextable[5].x, 1.0f);
    EXPECT_EQ(CubeDrawer::vertextable[5].y, -1.0f);
    EXPECT_EQ(CubeDrawer::vertextable[5].z, 1.0f);
    // Each row is a hexagon of six distinct corners without the near corner
    // (the row's octant) or the far one (its complement).
    for (int octant = 0; octant < 8; ++octant) {
        std::array<bool, 8> seen{};
        for (int k = 0; k < 6; ++k) {
            const int c = CubeDrawer::contourtable[octant][k];
            EXPECT_FALSE(seen[static_cast<std::size_t>(c)]) << octant;
            seen[static_cast<std::size_t>(c)] = true;
            // Neighbours on the outline differ in exactly one coordinate.
            const int next = CubeDrawer::contourtable[octant][(k + 1) % 6];
            EXPECT_EQ(__builtin_popcount(static_cast<unsigned>(c ^ next)), 1) << octant << " " << k;
        }
        EXPECT_FALSE(seen[static_cast<std::size_t>(octant)]);
        EXPECT_FALSE(seen[static_cast<std::size_t>(7 - octant)]);
    }
    const Matrix3D view = view_matrix(Vector3D(1, 1, 1), std::numbers::pi, 0.25f, 1, 1, 1);
    CubeDrawer drawer;
    drawer.reset(view, view.inverse(), 400, 400, 0.075f, 1, 1, 1);
    EXPECT_EQ(drawer.octant(), 7);
    const CubeShape s = drawer.shape(1.0f, 200, 200);
    EXPECT_EQ(s.xpoints[6], s.xpoints[0]);  // closed
    EXPECT_EQ(s.centerx, 200);              // the near corner lies on the line of sight
    EXPECT_EQ(s.centery, 200);
    Recorder plain, selected;
    drawer.draw(plain, kYellow, 1.0f, 200, 200);
    drawer.draw(selected, std::nullopt, 1.0f, 200, 200);
    EXPECT_EQ(plain.fills, std::vector<Colour>{kYellow});
    EXPECT_EQ(plain.edges, std::vector<Colour>(1, Colour{0, 0, 0}));
    EXPECT_EQ(selected.fills, std::vector<Colour>(1, Colour{0, 0, 0}));
    EXPECT_EQ(selected.edges, std::vector<Colour>(1, Colour{255, 255, 255}));
}

TEST(CubeStamp, RunsDrawClippedToTheirRowsAndCanvas) {
    // A 3 x 2 block: an edge pixel, two fill pixels; a fill pixel below.
    const char* picture[] = {"efff", ".f.."};
    const auto pixel = [&](int column, int row) {
        const char c = picture[row][column];
        return c == 'e' ? CubePixel::edge : c == 'f' ? CubePixel::fill : CubePixel::none;
    };
    const CubeStamp stamp = stamp_of(pixel, 0, 0, 3, 1, 1, 1);
    ASSERT_EQ(stamp.runs.size(), 3u);
    EXPECT_EQ(stamp.runs[0].dx, -1);
    EXPECT_TRUE(stamp.runs[0].edge);
    EXPECT_EQ(stamp.runs[1].length, 3);
    EXPECT_EQ(stamp.runs[2].dy, 0);

    std::vector<std::uint32_t> canvas(4 * 3, 0);
    stamp.draw(canvas.data(), 4, 4, 0, 3, 0, 1, 7, 9);  // a column further left: the edge pixel falls off
    EXPECT_EQ(canvas, (std::vector<std::uint32_t>{7, 7, 7, 0, 7, 0, 0, 0, 0, 0, 0, 0}));
    std::vector<std::uint32_t> band(4 * 3, 0);
    stamp.draw(band.data(), 4, 4, 2, 3, 0, 2, 7, 9);  // only row 2 belongs to this band
    EXPECT_EQ(band, (std::vector<std::uint32_t>{0, 0, 0, 0, 0, 0, 0, 0, 7, 0, 0, 0}));

    // Nearest first: a second stamp over the first draws only where it did not.
    Coverage coverage;
    coverage.reset(4, 0, 3);
    std::vector<std::uint32_t> nearest(4 * 3, 0);
    EXPECT_FALSE(stamp.hidden(coverage, 4, 0, 3, 1, 1));
    stamp.draw(nearest.data(), 4, 4, 0, 3, 1, 1, 7, 9, &coverage);
    EXPECT_TRUE(stamp.hidden(coverage, 4, 0, 3, 1, 1));
    stamp.draw(nearest.data(), 4, 4, 0, 3, 2, 1, 5, 6, &coverage);  // a column right: one new pixel
    EXPECT_EQ(nearest, (std::vector<std::uint32_t>{9, 7, 7, 7, 0, 7, 5, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(stamp.hidden(coverage, 4, 0, 3, 2, 1));
    EXPECT_FALSE(stamp.hidden(coverage, 4, 0, 3, 2, 2));  // a row lower: row 1 still has room

    CubeShape near;
    near.xpoints = {110, 120, 120, 100, 90, 90, 110};
    near.ypoints = {90, 95, 105, 110, 105, 95, 90};
    near.centerx = 100, near.centery = 100;
    const auto key = stamp_key(near, 100, 100);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->offsets[0], 10);
    CubeShape moved = near;
    for (int& x : moved.xpoints) x += 50;
    moved.centerx += 50;
    EXPECT_EQ(stamp_key(moved, 150, 100), key);  // the same shape elsewhere
    near.xpoints[2] = 300;
    EXPECT_FALSE(stamp_key(near, 100, 100));  // too large to keep
    const PixelBox box = box_of(moved);
    EXPECT_EQ(std::vector<int>({box.left, box.top, box.right, box.bottom}), std::vector<int>({140, 90, 170, 110}));
}

TEST(ScreenPosition, CentredAndSaturating) {
    EXPECT_EQ(screen_of(Vector3D(0, 0, 0), 401, 300), (ScreenPoint{200, 150}));
    EXPECT_EQ(screen_of(Vector3D(0.25f, 0.5f, 0), 400, 400), (ScreenPoint{300, 0}));
    const ScreenPoint far = screen_of(Vector3D(3e38f, -3e38f, 0), 400, 400);
    EXPECT_EQ(far.x, 2147483647);
    EXPECT_EQ(far.y, 2147483647);
}
