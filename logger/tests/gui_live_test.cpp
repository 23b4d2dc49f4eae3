// The library's callbacks: queued to the GUI thread, scaled, and routed to
// the data-value panel and the charts.
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <thread>

#include "logger/tests/fake_parts.h"
#include "logger/gui/datavalues.h"
#include "logger/gui/korvlog_window.h"
#include "logger/gui/serialio.h"
#include "testsupport/window_places.h"

namespace korv::logger {
namespace {

using testing::FakeChart;
using testing::FakeFrame;
using testing::FakeParts;
using testing::FrameSetup;

void settle() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

class LoggerLiveCallbacks : public ::testing::Test {
protected:
    LoggerLiveCallbacks() : window(services()) {
        window.show();
        window.logcharts->setChecked(true);
        sio.set_korv_handle(&window);
        sio.set_settings_frame(&own_frame);
        sio.set_status(window.obd_status);
    }
    KorvLog::Services services() {
        KorvLog::Services s;
        s.parts = &parts;
        s.library = unbound.get();
        s.exit_process = [](int) {};
        return s;
    }
    FakeChart& chart(int slot) { return own_frame.charts[slot]; }

    FakeParts parts;
    std::unique_ptr<KorvioLibrary> unbound = KorvioLibrary::load_from("/nonexistent/libkorvio.so");
    KorvLog window;
    FakeFrame own_frame{FrameSetup{}};
    serialio sio{*unbound};
};

TEST_F(LoggerLiveCallbacks, AnnouncementsGiveRowsInOnePanelSharedByEveryRun) {
    sio.plot_point(-2, 0, 0, 0, 9);
    sio.plot_point(-2, 0, 0, 0, 3);
    ASSERT_EQ(parts.datavalues_made, 1);
    EXPECT_EQ(window.datavalue_handle(), parts.datavalues);
    EXPECT_EQ(sio.datavalue_handle(), parts.datavalues);
    EXPECT_EQ(parts.datavalues->defined, (std::vector<std::pair<int, int>>{{9, -2}, {3, -2}}));
    EXPECT_TRUE(parts.datavalues->visible);

    serialio second_run(*unbound);
    second_run.set_korv_handle(&window);
    second_run.plot_point(-1, 0, 0, 0, 48);
    EXPECT_EQ(parts.datavalues_made, 1);
    EXPECT_EQ(second_run.datavalue_handle(), parts.datavalues);
    EXPECT_EQ(parts.datavalues->defined.back(), (std::pair<int, int>{48, -1}));
    // Announcements chart nothing.
    for (const FakeChart& c : own_frame.charts) EXPECT_TRUE(c.points.empty());
}

TEST_F(LoggerLiveCallbacks, ObdRpmSampleChartsInSlotOneOfTheRunsOwnFrame) {
    FakeFrame newest{FrameSetup{}};
    window.set_obd_frame(&newest);  // another family's frame, built later
    sio.plot_point(-2, 0, 0, 0, 9);
    sio.plot_point(1, 0, 0x1F, 0x40, 9);
    sio.plot_point(1, 0, 0x1F, 0x40, 9);

    EXPECT_EQ(chart(1).points, (std::vector<int>{200000, 200000}));
    EXPECT_TRUE(newest.charts[1].points.empty());
    // No range yet, then first sample: the preset twice, then never again.
    EXPECT_EQ(chart(1).ranges, (std::vector<int>{1, 1}));
    EXPECT_EQ(chart(1).delta, 1);
    EXPECT_EQ(chart(1).panel, parts.datavalues);
    // Every sample restarts the panel's table and shows the panel.
    EXPECT_EQ(parts.datavalues->table_indexes, (std::vector<int>{0, 0}));
    // Shown when made, then on every call.
    EXPECT_EQ(parts.datavalues->shows, 4);
}

// The panel first shows at 50, 50 when that leaves the start window's
// controls (Stop and Pause among them) clear, else beside it; the samples
// that show it again never move it back.
TEST_F(LoggerLiveCallbacks, TheDataValuePanelOpensClearOfTheStartWindowAndStaysWherePut) {
    parts.real_datavalues = [] { return std::make_unique<datavalues>(); };
    for (const QPoint start_window : {QPoint(0, 0), QPoint(600, 400)}) {
        SCOPED_TRACE(start_window.x());
        KorvLog korv(services());
        korv.move(start_window);
        korv.show();
        serialio run(*unbound);
        run.set_korv_handle(&korv);
        run.set_settings_frame(&own_frame);
        run.plot_point(-2, 0, 0, 0, 9);
        auto* panel = dynamic_cast<datavalues*>(korv.datavalue_handle());
        ASSERT_NE(panel, nullptr);
        ASSERT_TRUE(panel->isVisible());
        EXPECT_EQ(testsupport::controls_covered(korv, panel->frameGeometry()), "");
        EXPECT_TRUE(testsupport::on_screen(*panel));
        if (start_window != QPoint(0, 0)) {
            EXPECT_EQ(panel->pos(), QPoint(50, 50));
        }
        panel->move(900, 700);  // the user puts it aside
        run.plot_point(1, 0, 0x1F, 0x40, 9);
        run.plot_point(1, 0, 0x1F, 0x40, 9);
        EXPECT_EQ(panel->pos(), QPoint(900, 700));
    }
}

TEST_F(LoggerLiveCallbacks, WithoutItsOwnFrameARunChartsInTheNewestFrame) {
    FakeFrame newest{FrameSetup{}};
    window.set_obd_frame(&newest);
    sio.set_settings_frame(nullptr);
    sio.plot_point(4, 0, 0, 255, 7);
    EXPECT_EQ(newest.charts[7].points, std::vector<int>{1000000});
}

TEST_F(LoggerLiveCallbacks, UntickedChartsStillShowThePanelButChartNothing) {
    sio.plot_point(-1, 0, 0, 0, 9);
    window.logcharts->setChecked(false);
    sio.plot_point(4, 0, 0, 0x40, 9);
    EXPECT_TRUE(chart(1).points.empty());
    EXPECT_EQ(parts.datavalues->shows, 3);
    EXPECT_EQ(parts.datavalues->table_indexes, std::vector<int>{0});
}

TEST_F(LoggerLiveCallbacks, OnlyCablesOneAndFourWithKnownCodesAreCharted) {
    sio.plot_point(0, 0, 0x1F, 0x40, 9);  // cable 0
    sio.plot_point(2, 0, 0x1F, 0x40, 9);  // cable 2
    sio.plot_point(1, 0, 0, 50, 20);      // speed has no live row
    sio.plot_point(5, 0, 0, 50, 9);
    for (const FakeChart& c : own_frame.charts) EXPECT_TRUE(c.points.empty());
}

TEST_F(LoggerLiveCallbacks, DemonstrationPortDrawsTheWaveWhateverTheEngineSends) {
    for (int i = 0; i < 8003; ++i) sio.plot_point(4, 4, 0, 0x40, 9);
    ASSERT_EQ(chart(1).points.size(), 8003u);
    EXPECT_EQ(chart(1).points[0], 0);
    EXPECT_EQ(chart(1).points[1], 100);
    EXPECT_EQ(chart(1).points[8000], 800000);
    EXPECT_EQ(chart(1).points[8001], 800100);
    EXPECT_EQ(chart(1).points[8002], 800000);
}

TEST_F(LoggerLiveCallbacks, WorkerCallbacksReachTheWidgetsOnlyThroughTheGuiThread) {
    std::thread engine([this] {
        sio.update_status(42);
        sio.update_pause(2);
        sio.plot_point(1, 0, 0x1F, 0x40, 9);
    });
    engine.join();
    // Nothing has been touched yet: the work waits for the GUI thread.
    EXPECT_TRUE(window.obd_status->text().isEmpty());
    EXPECT_EQ(window.pause_button->text(), "Pa&use");
    EXPECT_TRUE(chart(1).points.empty());

    settle();
    EXPECT_EQ(window.obd_status->text(), "42");
    EXPECT_EQ(window.pause_button->text(), "Res&ume");
    EXPECT_EQ(chart(1).points, std::vector<int>{200000});
}

TEST_F(LoggerLiveCallbacks, PauseStateNamesTheButton) {
    sio.update_pause(2);
    EXPECT_EQ(window.pause_button->text(), "Res&ume");
    sio.update_pause(1);
    EXPECT_EQ(window.pause_button->text(), "Pa&use");
    sio.update_pause(7);
    EXPECT_EQ(window.pause_button->text(), "Res&ume");
    sio.update_pause(0);
    EXPECT_EQ(window.pause_button->text(), "Pa&use");
}

}  // namespace
}  // namespace korv::logger
