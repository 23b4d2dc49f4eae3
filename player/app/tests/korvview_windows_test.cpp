// Korvview as assembled, offscreen on a 1280 x 1024 screen: where the
// windows the player opens first show (its editors, the chart manager, the
// strip charts and the 3-D window), and that a window put somewhere by the
// user stays there.
#include "editors/gui/afcframe2.h"
#include "editors/gui/editor_factory.h"
#include "editors/gui/knob_frame.h"
#include "player/gui/chartcontrolp.h"
#include "player/gui/chartitem.h"
#include "player/gui/player_charts.h"
#include "player/tests/analysis_fixture.h"
#include "plot3d/gui/chart3d_frame.h"
#include "plot3d/gui/plot3d_window_factory.h"
#include "testsupport/window_places.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>

using namespace korv::player;
using namespace korv::player::testing_support;
using korv::testsupport::controls_covered;
using korv::testsupport::on_screen;

namespace {

class KorvviewWindowsTest : public AnalysisFrameTest {
protected:
    void SetUp() override {
        AnalysisFrameTest::SetUp();
        services.editors = &editors;
        services.plot3d = &plot3d_windows;
        frame = std::make_unique<PLAYframe>(services);
        frame->move(0, 0);
        frame->show();
        write_vxm("run.db1", {{3000, 60, 0.80f, 20, 6.0f, 0}, {5000, 90, 0.60f, 30, 9.0f, 0}});
        open("run.db1");
        frame->chart_all->setChecked(true);
    }
    korv::plot3d::CHART3Dframe* chart_3d() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* chart = dynamic_cast<korv::plot3d::CHART3Dframe*>(w)) return chart;
        return nullptr;
    }
    // Clear of every control of the player and wholly on the screen.
    void expect_clear_of_the_player(const QWidget& window, const char* name) {
        EXPECT_TRUE(window.isVisible()) << name;
        EXPECT_EQ(controls_covered(*frame, window.frameGeometry()), "") << name;
        EXPECT_TRUE(on_screen(window)) << name;
    }

    korv::editors::EditorFactory editor_factory_real;
    EditorPool editors{&editor_factory_real};
    korv::plot3d::Plot3dFactory plot3d_windows;
};

}  // namespace

TEST_F(KorvviewWindowsTest, EveryWindowOpensClearOfThePlayersControls) {
    chartcontrolp& manager = *analysis().charts().manager();
    // 50, 50 would lie on the record text.
    expect_clear_of_the_player(manager, "chart manager");

    frame->itc_animate->setChecked(true);
    frame->afc2_animate->setChecked(true);
    frame->animate_control->setChecked(true);
    QWidget* itc = frame->editors.itc_frame->window();
    QWidget* vcd = frame->editors.afc2_frame->window();
    expect_clear_of_the_player(*itc, "timing editor");
    expect_clear_of_the_player(*vcd, "AFC (new) editor");
    // Nor on each other, when the screen has room.
    EXPECT_FALSE(itc->frameGeometry().intersects(vcd->frameGeometry()));
    EXPECT_FALSE(vcd->frameGeometry().intersects(manager.frameGeometry()));
    EXPECT_FALSE(itc->frameGeometry().intersects(manager.frameGeometry()));

    manager.button_flag[1]->click();
    expect_clear_of_the_player(*analysis().charts().chart(1), "RPM chart");
    EXPECT_EQ(controls_covered(manager, analysis().charts().chart(1)->frameGeometry()), "");

    frame->rewind_button->click();
    frame->chart3d_button->click();
    ASSERT_NE(chart_3d(), nullptr);
    expect_clear_of_the_player(*chart_3d(), "3-D window");
}

TEST_F(KorvviewWindowsTest, AWindowTheUserPlacedStaysThere) {
    chartcontrolp& manager = *analysis().charts().manager();
    manager.move(700, 800);
    frame->close_button->click();
    open("run.db1");  // every log shows the manager again
    EXPECT_EQ(manager.pos(), QPoint(700, 800));

    frame->afc_animate->setChecked(true);
    frame->animate_control->setChecked(true);
    QWidget* knob = frame->editors.afc_frame->window();
    knob->move(620, 500);
    frame->animate_control->setChecked(false);
    frame->animate_control->setChecked(true);
    EXPECT_TRUE(knob->isVisible());
    EXPECT_EQ(knob->pos(), QPoint(620, 500));

    frame->chart_all->setChecked(true);
    frame->rewind_button->click();
    frame->chart3d_button->click();
    ASSERT_NE(chart_3d(), nullptr);
    chart_3d()->move(600, 480);
    frame->rewind_button->click();
    frame->chart3d_button->click();  // a new window, where the last one was
    ASSERT_NE(chart_3d(), nullptr);
    EXPECT_EQ(chart_3d()->pos(), QPoint(600, 480));
}
