// Korvview end to end: the player's "3D" button opens the real 3-D window on
// the records it wrote, and a second press replaces the window.
#include "player/tests/analysis_fixture.h"
#include "plot3d/gui/chart3d_frame.h"
#include "plot3d/gui/legend_box.h"
#include "plot3d/gui/option_box.h"
#include "plot3d/gui/plot3d_window_factory.h"
#include "plot3d/gui/plot_view.h"
#include "plot3d/gui/plotter.h"

#include <QApplication>
#include <QCheckBox>
#include <QPointer>

using namespace korv::player;
using namespace korv::player::testing_support;
using korv::plot3d::CHART3Dframe;

namespace {

class Korvview3dTest : public AnalysisFrameTest {
protected:
    void SetUp() override {
        AnalysisFrameTest::SetUp();
        services.plot3d = &factory;
        frame = std::make_unique<PLAYframe>(services);
    }
    std::vector<CHART3Dframe*> windows() {
        std::vector<CHART3Dframe*> out;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* chart = dynamic_cast<CHART3Dframe*>(w)) out.push_back(chart);
        return out;
    }

    korv::plot3d::Plot3dFactory factory;
};

TEST_F(Korvview3dTest, ThreeDShowsTheWrittenRecordsAndASecondPressReplacesTheWindow) {
    // Chart all: the three records after the cursor.
    write_vxm("run.db1", {{800, 10, 0.9f, 5, 1.0f, 0},
                          {1000, 20, 0.40f, 10, 2.0f, 0},
                          {3000, 60, 0.80f, 20, 6.0f, 0},
                          {5000, 90, 0.60f, 30, 9.0f, 0}});
    open("run.db1");
    frame->chart_all->setChecked(true);
    frame->rewind_button->click();
    frame->chart3d_button->click();
    ASSERT_TRUE(error_text().isEmpty()) << error_text().toStdString();
    ASSERT_EQ(windows().size(), 1u);
    CHART3Dframe* first = windows().front();
    EXPECT_TRUE(first->isVisible());
    korv::plot3d::PlotView& view = *first->plotter()->view;
    EXPECT_EQ(view.datacount, 3);
    const QStringList legend = first->plotter()->legend->texts();
    ASSERT_GE(legend.size(), 6);
    EXPECT_EQ(legend.mid(0, 3), (QStringList{"Rpms", "1000.0", "5000.0"}));
    EXPECT_EQ(legend.mid(3, 3), (QStringList{"O2", "0.4", "0.8"}));
    const QImage& image = view.drawFrame();
    int yellow = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) yellow += image.pixelColor(x, y) == QColor(255, 255, 0);
    EXPECT_GT(yellow, 100);

    first->optionsButton()->click();
    auto boxes = first->plotter()->findChildren<korv::plot3d::OptionBox*>();
    ASSERT_EQ(boxes.size(), 1);
    QPointer<QWidget> old_window(first), old_box(boxes.front());
    EXPECT_TRUE(old_box->isVisible());

    frame->rewind_button->click();
    frame->chart3d_button->click();
    ASSERT_TRUE(error_text().isEmpty()) << error_text().toStdString();
    EXPECT_TRUE(old_window.isNull());
    EXPECT_TRUE(old_box.isNull());
    ASSERT_EQ(windows().size(), 1u);
    EXPECT_TRUE(windows().front()->isVisible());
    EXPECT_EQ(windows().front()->plotter()->view->datacount, 3);
}

}  // namespace
