// The 3-D canvas drawn offscreen: pixels of cubes, selection and grid, and
// its answers to clicks, drags and new data.
#include "plot3d/gui/plot_view.h"

#include <gtest/gtest.h>

#include <QColor>

#include <cmath>

#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

using namespace korv;
using namespace korv::plot3d;

namespace {

const QRgb kYellowPixel = qRgb(255, 255, 0);

class PlotViewTest : public ::testing::Test {
protected:
    std::shared_ptr<const Database> table(const std::string& text) {
        testsupport::write_text(folder_.file("3d.dat"), text);
        return std::make_shared<const Database>();
    }
    // Pixels of one colour inside [x0, x1) x [y0, y1).
    static int count(const QImage& image, QRgb colour, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) {
        if (x1 < 0) x1 = image.width();
        if (y1 < 0) y1 = image.height();
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
        return n;
    }
    void click(int x, int y) {
        view_.onMousePress(x, y);
        view_.onMouseRelease(x, y);
    }

    testsupport::WorkingFolder folder_;
    PlotView view_{nullptr, 400, 400};
    // One record: every axis has an empty range, so the point sits at the centre.
    const std::string one_ = "a b c\nNUMERIC NUMERIC NUMERIC\n5 6 7\n";
};

}  // namespace

TEST_F(PlotViewTest, CubeColourSelectionAndValueBox) {
    auto db = table(one_);
    ASSERT_TRUE(view_.setData(db, Mapper(*db), true));
    const QImage plain = view_.drawFrame().copy();
    EXPECT_GT(count(plain, kYellowPixel, 180, 180, 220, 220), 50);
    EXPECT_EQ(count(plain, qRgb(255, 255, 255)), 0);  // no grid, no box

    click(200, 200);
    EXPECT_EQ(view_.selectid, 0);
    const QImage selected = view_.drawFrame().copy();
    EXPECT_EQ(count(selected, kYellowPixel, 180, 180, 220, 205), 0);
    EXPECT_GT(count(selected, qRgb(0, 0, 0), 180, 180, 220, 205), 50);
    EXPECT_GT(count(selected, qRgb(255, 255, 255), 200, 205, 350, 260), 2000);  // the value box
    // The box shows on one frame only.
    EXPECT_LT(count(view_.drawFrame(), qRgb(255, 255, 255), 200, 205, 350, 260), 100);

    click(200, 200);  // the selected point again: cleared
    EXPECT_EQ(view_.selectid, -1);
    EXPECT_FALSE(view_.needreport);
}

TEST_F(PlotViewTest, GridIsWhiteAndOpaquePlanesAreGrey) {
    auto db = table(one_);
    ASSERT_TRUE(view_.setData(db, Mapper(*db), true));
    EXPECT_EQ(count(view_.drawFrame(), qRgb(128, 128, 128)), 0);
    view_.onCheckrClick(true, false);
    EXPECT_GT(count(view_.drawFrame(), qRgb(255, 255, 255)), 300);
    view_.onCheckrClick(true, true);
    const QImage opaque = view_.drawFrame().copy();
    EXPECT_GT(count(opaque, qRgb(128, 128, 128)), 5000);
    EXPECT_GT(count(opaque, qRgb(255, 255, 255)), 300);
}

TEST_F(PlotViewTest, ClicksPickOnlyAfterAFrameAndOnlyWithoutMoving) {
    auto db = table(one_);
    ASSERT_TRUE(view_.setData(db, Mapper(*db), true));
    click(200, 200);  // nothing drawn yet
    EXPECT_EQ(view_.selectid, -1);
    view_.drawFrame();
    view_.onMousePress(200, 200);
    view_.onMouseRelease(201, 200);  // a drag, not a click
    EXPECT_EQ(view_.selectid, -1);
    click(260, 260);  // empty space
    EXPECT_EQ(view_.selectid, -1);
}

TEST_F(PlotViewTest, OverlappingPointsPickTheNearest) {
    // Two points under a pixel apart on screen; seen from (1, 1, 1) the larger z is nearer.
    auto db = table("a b c\nNUMERIC NUMERIC NUMERIC\n0 0 -1\n0 0 1\n50 -50 0\n");
    Mapper m(0, 1, 2, -1, -1, kYellow, -100, 100, -100, 100, -100, 100, 0, 0, std::nullopt);
    ASSERT_TRUE(view_.setData(db, m, true));
    view_.drawFrame();
    click(200, 200);
    EXPECT_EQ(view_.selectid, 1);
}

TEST_F(PlotViewTest, ValuesFarOutsideTheBoundsStillDraw) {
    // Bounds typed in Options far narrower than the values.
    auto db = table("a b c d\nNUMERIC NUMERIC NUMERIC NUMERIC\n3e38 -3e38 1 1e30\n0 0.5 0.5 0\n");
    const Mapper m(0, 1, 2, 3, -1, kYellow, 0, 1e-30f, 0, 1, 0, 1, 0, 1e-30f, std::nullopt);
    ASSERT_TRUE(view_.setData(db, m, true));
    for (std::size_t i = 0; i < view_.points()->count(); ++i) {
        const PlotData p = view_.points()->at(i);
        EXPECT_TRUE(std::isfinite(p.vec.x) && std::isfinite(p.size));
    }
    const QImage frame = view_.drawFrame().copy();
    EXPECT_GT(count(frame, kYellowPixel), 50);  // the point inside the bounds
    click(0, 0);
    EXPECT_EQ(view_.selectid, -1);
}

TEST_F(PlotViewTest, DragTurnsAndResetStraightens) {
    auto db = table(one_);
    ASSERT_TRUE(view_.setData(db, Mapper(*db), true));
    view_.onMouseDrag(10, 10);  // without a press: ignored
    EXPECT_EQ(view_.deltamat.toArray(), Matrix3D().toArray());
    view_.onMousePress(100, 100);
    view_.onMouseDrag(100, 200);  // a quarter of the height: a quarter turn about x
    view_.onMouseRelease(100, 200);
    EXPECT_NEAR(view_.deltamat.yz, -1.0f, 1e-6f);
    EXPECT_EQ(view_.selectid, -1);
    view_.onWheelResetButton();
    EXPECT_EQ(view_.deltamat.toArray(), Matrix3D().toArray());
    view_.rotateyaxis(100);
    EXPECT_NEAR(view_.deltamat.xz, 1.0f, 1e-6f);
}

TEST_F(PlotViewTest, NewDataLegendAndFilteredBounds) {
    LegendValues legend;
    int calls = 0;
    view_.setLegendCallback([&](const LegendValues& v) {
        legend = v;
        ++calls;
    });
    auto db = table("a b\nNUMERIC NUMERIC\n0 10\n4 20\n2 30\n");
    const Mapper m(*db);
    ASSERT_TRUE(view_.setData(db, m, true));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(legend.xlabel, "a");
    EXPECT_EQ(legend.maxy, 30.0f);
    EXPECT_EQ(legend.zlabel, "");
    view_.drawFrame();
    click(0, 0);

    // A filtered copy drawn without rescaling keeps every kept point in place.
    Filter keep(1);
    keep.findex = {0};
    keep.needmin = {true};
    keep.min = {1.0f};
    auto filtered = std::make_shared<const Database>(*db, keep);
    ASSERT_TRUE(view_.setData(filtered, m, false));
    ASSERT_EQ(view_.datacount, 2);
    EXPECT_EQ(view_.points()->position(0).x, 1.0f);  // 4 is still the maximum
    EXPECT_EQ(view_.points()->position(1).x, 0.0f);

    // A table without records changes nothing.
    EXPECT_FALSE(view_.setData(table("a b\nNUMERIC NUMERIC\n"), m, true));
    EXPECT_EQ(view_.datacount, 2);
    EXPECT_EQ(calls, 2);
}

TEST_F(PlotViewTest, PathFrameRestoresThePoints) {
    auto db = table("a b c\nNUMERIC NUMERIC NUMERIC\n0 0 0\n1 0 0\n2 0 0\n");
    ASSERT_TRUE(view_.setData(db, Mapper(*db), true));
    const QImage before = view_.drawFrame().copy();
    const QImage moved = view_.drawPath({0, 1, 2}, 1, 0.5f).copy();
    EXPECT_NE(before, moved);
    EXPECT_EQ(view_.points()->position(0).x, -1.0f);
    EXPECT_EQ(view_.points()->position(1).x, 0.0f);
    EXPECT_EQ(view_.drawFrame(), before);
}
