// The picture widgets driving the plot panel and the view through their texts.
#include "plot3d/gui/checker.h"
#include "plot3d/gui/image_button.h"
#include "plot3d/gui/info_line.h"
#include "plot3d/gui/plot_view.h"
#include "plot3d/gui/plotter.h"
#include "plot3d/gui/slider.h"
#include "plot3d/gui/wheel.h"
#include "plot3d/gui/widget_pictures.h"
#include "plot3d/tests/mouse.h"
#include "testsupport/temp_folder.h"

#include <gtest/gtest.h>

#include <numbers>

namespace korv::plot3d {
namespace {

using test::drag;
using test::press;
using test::release;

void click(QWidget& w) {
    press(w, {2, 2});
    release(w, {2, 2});
}

class DispatchTest : public ::testing::Test {
protected:
    testsupport::WorkingFolder folder;  // no 3d.dat: an empty plot
    Plotter plotter{640, 480};
    PlotView& view = *plotter.view;
    InfoLine& info = *plotter.infoline;
};

TEST_F(DispatchTest, RatioSlidersMoveTogetherUntilZoomModeIsSet) {
    Slider x(123, 0.5f, 1.5f, 1.0f, "xratio", &plotter), y(123, 0.5f, 1.5f, 1.0f, "yratio", &plotter),
        z(123, 0.5f, 1.5f, 1.0f, "zratio", &plotter);
    plotter.xslider = &x, plotter.yslider = &y, plotter.zslider = &z;
    press(y, {60, 4});  // the knob of 1.0 at pos 50
    drag(y, {105, 4});  // 1.5
    release(y, {105, 4});
    EXPECT_EQ((std::array{view.xratio, view.yratio, view.zratio}), (std::array{1.5f, 1.5f, 1.5f}));
    EXPECT_EQ(x.pos(), 100);
    EXPECT_EQ(z.pos(), 100);
    const Matrix3D together = view.viewmat;

    Checker zoom(button_picture("Z", 20, 20), 0, 0, 20, 20, "Stretch one axis", "zoom", &plotter, &info);
    click(zoom);
    EXPECT_TRUE(plotter.zoommode);
    press(z, {110, 4});
    drag(z, {5, 4});  // 0.5, z alone
    release(z, {5, 4});
    EXPECT_EQ((std::array{view.xratio, view.yratio, view.zratio}), (std::array{1.5f, 1.5f, 0.5f}));
    EXPECT_EQ(x.pos(), 100);
    EXPECT_NE(view.viewmat.toArray(), together.toArray());  // the view was rebuilt
}

TEST_F(DispatchTest, ViewTogglesAndButtonsByText) {
    const QImage picture = button_picture("V", 20, 20);
    Checker grid(picture, 0, 0, 20, 20, "Grid", "grid", &view, &info);
    Checker transparency(picture, 0, 0, 20, 20, "Transparent planes", "transparency", &view, &info);
    click(grid);
    EXPECT_TRUE(view.needgrid);
    click(transparency);
    EXPECT_FALSE(view.opaqueplane);
    click(transparency);
    EXPECT_TRUE(view.opaqueplane);

    const std::pair<const char*, Vector3D> views[] = {{"xview", {1, 0, 0}}, {"yview", {0, 1, 0}}, {"zview", {0, 0, 1}}};
    for (const auto& [text, viewpoint] : views) {
        view.rotatexaxis(30);
        ImageButton button(picture, 0, 0, 20, 20, "View", text, &view, &info);
        click(button);
        EXPECT_EQ((std::array{view.viewpoint.x, view.viewpoint.y, view.viewpoint.z}),
                  (std::array{viewpoint.x, viewpoint.y, viewpoint.z}));
        EXPECT_EQ(view.deltamat.toArray(), Matrix3D().toArray());
    }
    ImageButton other(picture, 0, 0, 20, 20, "Other", "other", &plotter, &info);
    click(other);  // the panel's buttons do nothing
}

TEST_F(DispatchTest, WheelsTurnTheSceneAboutTheirAxesAndResetIt) {
    Wheel vertical(Wheel::VERTICAL, 150, &view);
    press(vertical, {10, 40});
    drag(vertical, {10, 52});
    release(vertical, {10, 52});
    Matrix3D expected;
    expected.postRotateX(2 * std::numbers::pi * 12 / view.height());
    EXPECT_EQ(view.deltamat.toArray(), expected.toArray());

    Wheel horizontal(Wheel::HORIZONTAL, 150, &view);
    press(horizontal, {40, 10});
    drag(horizontal, {30, 10});
    release(horizontal, {30, 10});
    expected.postRotateY(2 * std::numbers::pi * -10 / view.width());
    EXPECT_EQ(view.deltamat.toArray(), expected.toArray());

    press(horizontal, {145, 10});
    release(horizontal, {145, 10});
    EXPECT_EQ(view.deltamat.toArray(), Matrix3D().toArray());
}

}  // namespace
}  // namespace korv::plot3d
