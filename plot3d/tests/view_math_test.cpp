// The view's maths: view matrix, depth order, picking, value box, back
// planes, the cube silhouette and the path animation.
#include "plot3d/core/view_math.h"

#include <gtest/gtest.h>

#include <numbers>
#include <random>

#include "plot3d/core/cube_drawer.h"

using namespace korv;
using namespace korv::plot3d;

namespace {

std::vector<PlotData> at_depths(const std::vector<float>& zs) {
    std::vector<PlotData> out;
    for (std::size_t i = 0; i < zs.size(); ++i) {
        out.emplace_back(static_cast<int>(i), Vector3D(), kYellow, 1.0f);
        out.back().viewvec = Vector3D(0, 0, zs[i]);
    }
    return out;
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

TEST(DepthSort, StableAndAscending) {
    auto points = at_depths({1, 4, 0, 0});
    depth_sort(points);
    std::vector<int> ids;
    for (const auto& p : points) ids.push_back(p.id);
    EXPECT_EQ(ids, (std::vector<int>{2, 3, 0, 1}));

    std::mt19937 random(7);
    std::uniform_int_distribution<int> depth(0, 999);  // many ties
    std::vector<float> zs(100000);
    for (float& z : zs) z = static_cast<float>(depth(random));
    auto many = at_depths(zs);
    depth_sort(many);
    for (std::size_t i = 1; i < many.size(); ++i) {
        const float a = many[i - 1].viewvec->z, b = many[i].viewvec->z;
        ASSERT_TRUE(a < b || (a == b && many[i - 1].id < many[i].id)) << i;
    }
}

TEST(Pick, TheLastDrawnWithinFivePixelsWins) {
    const std::vector<ScreenPoint> drawn = {{100, 100}, {103, 104}, {200, 200}};
    EXPECT_EQ(pick_index(drawn, 101, 101), 1);  // both near: the one drawn later
    EXPECT_EQ(pick_index(drawn, 95, 95), 0);
    EXPECT_EQ(pick_index(drawn, 94, 100), -1);
    EXPECT_EQ(pick_index({}, 100, 100), -1);
    EXPECT_EQ(next_selection(7, -1), 7);
    EXPECT_EQ(next_selection(7, 7), -1);
    EXPECT_EQ(next_selection(-1, 7), -1);
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

TEST(PathAnimation, MovesAlongThePathAndRestores) {
    std::vector<PlotData> points;
    for (int i = 0; i < 4; ++i) points.emplace_back(i, Vector3D(float(i), 0, 0), kYellow, 1.0f);
    const std::vector<int> path = {3, 1, 0, 2};
    const auto saved = move_along_path(points, path, 2, 0.25f);
    EXPECT_EQ(points[3].vec.x, 1.0f);  // took the next point's place
    EXPECT_EQ(points[1].vec.x, 0.0f);
    EXPECT_EQ(points[0].vec.x, 0.5f);  // a quarter of the way from 0 to 2
    EXPECT_EQ(points[2].vec.x, 2.0f);  // the end of the path stays
    restore_path(points, path, saved);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(points[static_cast<std::size_t>(i)].vec.x, float(i));
    // Indexes outside the table are passed over.
    const auto kept = move_along_path(points, {0, 9, 1}, 5, 0.5f);
    restore_path(points, {0, 9, 1}, kept);
    EXPECT_EQ(points[0].vec.x, 0.0f);
}

TEST(ScreenPosition, CentredAndSaturating) {
    EXPECT_EQ(screen_of(Vector3D(0, 0, 0), 401, 300), (ScreenPoint{200, 150}));
    EXPECT_EQ(screen_of(Vector3D(0.25f, 0.5f, 0), 400, 400), (ScreenPoint{300, 0}));
    const ScreenPoint far = screen_of(Vector3D(3e38f, -3e38f, 0), 400, 400);
    EXPECT_EQ(far.x, 2147483647);
    EXPECT_EQ(far.y, 2147483647);
}
