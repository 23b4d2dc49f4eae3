// The logger's strip charts, their chart control, the data-value panel and
// the Triggers and help windows, on real widgets offscreen.
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <thread>

#include "logger/tests/fake_parts.h"
#include "logger/gui/chart_parts.h"
#include "logger/gui/chartcontrol.h"
#include "logger/gui/chartitem.h"
#include "logger/gui/datavalues.h"
#include "logger/gui/korvlog_window.h"
#include "logger/gui/linkframe.h"
#include "logger/gui/serialio.h"
#include "logger/gui/triggerframe.h"

namespace korv::logger {
namespace {

using testing::FakeDataValues;

// A settings frame that owns 20 real chart windows, as the real one does.
struct ChartFrame final : LogSettingsFrame {
    explicit ChartFrame(KorvLogHost* korv) {
        items.fill(-1);
        for (auto& chart : charts) chart = std::make_unique<chartitem>(korv);
    }
    bool obd_enabled() const override { return true; }
    int port_choice_index() const override { return 1; }
    int cable_choice_index() const override { return 2; }
    ItemList log_items() const override { return items; }
    ChartWindow* chart_frames(int slot) const override {
        return slot >= 0 && slot < kItemSlots ? charts[static_cast<std::size_t>(slot)].get() : nullptr;
    }
    void setVisible(bool) override {}
    void stop_library_calls() override {}
    // Tick an item as the frame does: its code in the slot, the chart's item.
    void choose(int slot, int code) {
        items[static_cast<std::size_t>(slot)] = code;
        chart(slot).set_chart_item(code);
    }
    chartitem& chart(int slot) { return *charts[static_cast<std::size_t>(slot)]; }

    ItemList items;
    std::array<std::unique_ptr<chartitem>, kItemSlots> charts;
};

class LoggerCharts : public ::testing::Test {
protected:
    LoggerCharts() : window(services()), frame(&window) {
        bar = chartcontrol_of(window);
        bar->set_pf(&frame);
        window.set_obd_frame(&frame);
    }
    KorvLog::Services services() {
        KorvLog::Services s;
        s.parts = &parts;
        s.library = unbound.get();
        s.exit_process = [](int) {};
        return s;
    }
    // A shown chart with the slot's preset and n samples of value v.
    chartitem& fed(int slot, int n, int v) {
        chartitem& c = frame.chart(slot);
        c.setrange(slot);
        c.setVisible(true);
        for (int i = 0; i < n; ++i) c.plot_point(v);
        return c;
    }

    ChartPanelParts parts;
    std::unique_ptr<KorvioLibrary> unbound = KorvioLibrary::load_from("/nonexistent/libkorvio.so");
    KorvLog window;
    ChartFrame frame;
    chartcontrol* bar = nullptr;
};

TEST_F(LoggerCharts, PresetRangesClampAndTitleTheChart) {
    chartitem& rpm = frame.chart(1);
    rpm.setrange(1);
    EXPECT_EQ(rpm.chart_item(), 9);
    EXPECT_EQ(rpm.chart_low(), 0);
    EXPECT_EQ(rpm.chart_high(), 8000);
    EXPECT_EQ(rpm.windowTitle(), "RPMS");
    rpm.plot_point(900000);
    EXPECT_EQ(rpm.model().points().back(), 800000);
    EXPECT_EQ(rpm.windowTitle(), "RPMS High: 8000 Low: 8000 8000.0");

    chartitem& other = frame.chart(13);
    other.setrange(13);
    other.setrange(0);
    EXPECT_EQ(other.chart_high(), -1);
    EXPECT_EQ(other.chart_item(), -1);
}

TEST_F(LoggerCharts, ClearingResetsTheChartButKeepsItsLinksAndLock) {
    FakeDataValues panel;
    chartitem& c = fed(7, 5, 550000);
    c.set_datavalue_handle(&panel);
    c.set_scroll_locked(true);
    c.set_test_point(12);
    c.set_test_delta(-1);
    c.clear_chart();
    EXPECT_FALSE(c.model().has_points());
    EXPECT_EQ(c.chart_item(), -1);
    EXPECT_EQ(c.chart_high(), -1);
    EXPECT_EQ(c.test_point(), 0);
    EXPECT_EQ(c.test_delta(), 0);
    EXPECT_TRUE(c.scroll_locked());
    EXPECT_EQ(c.datavalue_handle(), &panel);
    EXPECT_FLOAT_EQ(c.model().hover_value(), 5500.0f);
}

TEST_F(LoggerCharts, TheChartPassesItsTitleValueToTheDataValuePanel) {
    FakeDataValues panel;
    chartitem& tps = frame.chart(7);
    tps.set_datavalue_handle(&panel);
    tps.setrange(7);
    tps.plot_point(550000);
    EXPECT_EQ(tps.windowTitle(), "TPS High: 55 Low: 55 55.0");
    EXPECT_FLOAT_EQ(panel.values.at(7), 55.0f);
}

TEST_F(LoggerCharts, AChartReturnsToWhereItWasLastShown) {
    chartitem& c = frame.chart(2);
    c.setVisible(true);
    EXPECT_EQ(c.pos(), QPoint(50, 50));
    c.move(300, 200);
    c.close();  // closing only hides
    EXPECT_FALSE(c.isVisible());
    c.setVisible(true);
    EXPECT_EQ(c.pos(), QPoint(300, 200));
}

TEST_F(LoggerCharts, HoveringOneChartMovesTheMarksOfAllShownCharts) {
    chartitem& rpm = fed(1, 100, 300000);
    chartitem& timing = fed(2, 100, 1000);
    chartitem& hidden = frame.chart(5);
    hidden.setrange(5);
    for (int i = 0; i < 100; ++i) hidden.plot_point(4500);
    rpm.set_scroll_locked(true);  // hovering works while locked too

    QTest::mouseMove(&rpm, QPoint(40, 60));
    EXPECT_EQ(rpm.model().mark_x(), 40);
    EXPECT_EQ(timing.model().mark_x(), 40);
    EXPECT_FALSE(hidden.model().mark_x());
    EXPECT_EQ(timing.windowTitle(), "Timing High: 10 Low: 10 10.0");

    // Past the points nothing happens.
    chartitem& short_chart = fed(3, 10, 500);
    QTest::mouseMove(&short_chart, QPoint(200, 60));
    EXPECT_EQ(rpm.model().mark_x(), 40);
}

TEST_F(LoggerCharts, ClicksScrollAllShownChartsUnlessTheClickedOneIsLocked) {
    chartitem& rpm = fed(1, 2000, 300000);
    chartitem& timing = fed(2, 2000, 1000);
    rpm.set_scroll_locked(true);
    QTest::mouseClick(&rpm, Qt::LeftButton, {}, QPoint(10, 60));
    EXPECT_EQ(rpm.model().curr_record(), 1999);
    EXPECT_EQ(timing.model().curr_record(), 1999);

    // After Pause the click scrolls every shown chart by half a window.
    rpm.set_scroll_locked(false);
    QTest::mouseClick(&rpm, Qt::LeftButton, {}, QPoint(10, 60));
    EXPECT_EQ(rpm.model().curr_record(), 1999 - 202);
    EXPECT_EQ(timing.model().curr_record(), 1999 - 202);

    timing.resume_chart();
    EXPECT_EQ(timing.model().curr_record(), 1999);
}

TEST_F(LoggerCharts, OnlyTheChosenItemsButtonsAreEnabledAndGreenOnlyWithEnableCharts) {
    frame.choose(1, 9);
    frame.choose(5, 3);
    frame.chart(2).set_chart_item(0);  // a chart whose item is not chosen
    bar->set_buttons(&frame);
    EXPECT_TRUE(bar->button_flag[1]->isEnabled());
    EXPECT_TRUE(bar->button_flag[5]->isEnabled());
    EXPECT_FALSE(bar->button_flag[2]->isEnabled());
    EXPECT_FALSE(bar->button_green(1));
    EXPECT_FALSE(frame.chart(1).isVisible());

    window.show();
    window.logcharts->setChecked(true);
    bar->set_buttons(&frame);
    EXPECT_TRUE(bar->button_green(1));
    EXPECT_TRUE(bar->button_green(5));
    EXPECT_FALSE(bar->button_green(2));
    EXPECT_TRUE(frame.chart(1).isVisible());
    EXPECT_FALSE(frame.chart(2).isVisible());
}

TEST_F(LoggerCharts, ButtonsToggleTheirCharts) {
    bar->setbutton(1);  // disabled: nothing
    EXPECT_FALSE(frame.chart(1).isVisible());
    EXPECT_FALSE(bar->button_green(1));

    frame.choose(1, 9);
    bar->set_buttons(&frame);
    QTest::mouseClick(bar->button_flag[1], Qt::LeftButton);
    EXPECT_TRUE(bar->button_green(1));
    EXPECT_TRUE(frame.chart(1).isVisible());
    EXPECT_EQ(frame.chart(1).chartcontrol_frame(), bar);
    QTest::mouseClick(bar->button_flag[1], Qt::LeftButton);
    EXPECT_FALSE(bar->button_green(1));
    EXPECT_FALSE(frame.chart(1).isVisible());
}

TEST_F(LoggerCharts, TheBarLooksAsGiven) {
    EXPECT_EQ(bar->size(), QSize(168, 121));
    EXPECT_EQ(bar->minimumSize(), bar->maximumSize());
    EXPECT_TRUE(bar->windowTitle().isEmpty());
    EXPECT_EQ(bar->button_flag[10]->text(), "S/L Trim");
    EXPECT_EQ(bar->button_flag[10]->toolTip(), "Chart Short/Low Fuel Trim");
    EXPECT_EQ(bar->button_flag[15]->text(), "O2 Trim");
    for (int slot : {0, 13, 16, 17, 18, 19}) EXPECT_EQ(bar->button_flag[static_cast<std::size_t>(slot)], nullptr);
    for (QPushButton* b : bar->button_flag) {
        if (b) {
            EXPECT_FALSE(b->isEnabled());
        }
    }
    EXPECT_EQ(bar->range->text(), "Range");
    EXPECT_EQ(bar->range->toolTip(), "Charts will range max value to 100% on the Y axis");
    bar->setVisible(true);
    EXPECT_EQ(bar->pos(), QPoint(50, 50));
}

TEST_F(LoggerCharts, RangeLeavesTheDrawingOnTheConfiguredRange) {
    chartitem& rpm = fed(1, 3, 300000);
    rpm.plot_point(100000);
    const std::int64_t top = rpm.model().value_y(800000);
    const QString title = rpm.windowTitle();
    bar->range->click();
    EXPECT_EQ(rpm.model().data_high(), 3000);
    EXPECT_EQ(rpm.model().data_low(), 1000);
    EXPECT_EQ(rpm.model().value_y(800000), top);
    EXPECT_EQ(rpm.windowTitle(), title);
    EXPECT_TRUE(rpm.isVisible());
}

// --- The data-value panel --------------------------------------------------

TEST(LoggerDataValues, StartsWithHiddenGreyRows) {
    datavalues panel;
    EXPECT_EQ(panel.windowTitle(), "Real Time Data Values");
    EXPECT_EQ(panel.size(), QSize(297, 201));
    EXPECT_EQ(panel.minimumSize(), panel.maximumSize());
    for (int row = 0; row < 10; ++row) {
        EXPECT_EQ(panel.label_table[static_cast<std::size_t>(row)]->text(), "jlabel");
        EXPECT_EQ(panel.text_table[static_cast<std::size_t>(row)]->text(), "x");
        EXPECT_FALSE(panel.text_table[static_cast<std::size_t>(row)]->isEnabled());
        EXPECT_TRUE(panel.text_table[static_cast<std::size_t>(row)]->isHidden());
    }
    panel.setVisible(true);
    EXPECT_EQ(panel.pos(), QPoint(50, 50));
}

TEST(LoggerDataValues, RowsShowTheirLabelsAndValues) {
    datavalues panel;
    panel.define_fields(9, -1);
    panel.define_fields(0, -1);
    panel.define_fields(3, -1);
    EXPECT_EQ(panel.label_table[0]->text(), "RPM");
    EXPECT_EQ(panel.label_table[1]->text(), "Timing");
    EXPECT_EQ(panel.label_table[2]->text(), "O2 volts");
    EXPECT_FALSE(panel.label_table[2]->isHidden());
    EXPECT_TRUE(panel.label_table[3]->isHidden());

    panel.set_value(9, 2000.0f);
    panel.set_value(3, 0.45f);
    panel.set_value(12, 5.0f);  // no row: nothing
    panel.set_value(99, 5.0f);  // outside the table: nothing
    EXPECT_EQ(panel.text_table[0]->text(), "2000.0");
    EXPECT_EQ(panel.text_table[2]->text(), "0.45");

    panel.set_table_index(0);
    panel.define_fields(7, -2);
    EXPECT_EQ(panel.label_table[0]->text(), "TPS");
    EXPECT_TRUE(panel.label_table[1]->isHidden());
}

// --- A charted run through the live callback -------------------------------

TEST_F(LoggerCharts, LiveValuesReachThePanelThroughTheChartsOnlyWhenChartsAreEnabled) {
    window.show();
    serialio sio(*unbound);
    sio.set_korv_handle(&window);
    sio.set_settings_frame(&frame);
    sio.plot_point(-2, 0, 0, 0, 9);
    auto* panel = dynamic_cast<datavalues*>(window.datavalue_handle());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->label_table[0]->text(), "RPM");

    // Unticked: the row is there, without a value.
    sio.plot_point(1, 0, 0x1F, 0x40, 9);
    EXPECT_EQ(panel->text_table[0]->text(), "x");
    EXPECT_FALSE(frame.chart(1).model().has_points());

    window.logcharts->setChecked(true);
    sio.plot_point(1, 0, 0x1F, 0x40, 9);  // 2000 rpm
    EXPECT_EQ(panel->text_table[0]->text(), "2000.0");
    EXPECT_EQ(frame.chart(1).windowTitle(), "RPMS High: 2000 Low: 2000 2000.0");
    EXPECT_EQ(panel->table_index(), 0);
}

TEST_F(LoggerCharts, SamplesFromTheLoggingThreadAreChartedOnTheGuiThread) {
    window.show();
    window.logcharts->setChecked(true);
    serialio sio(*unbound);
    sio.set_korv_handle(&window);
    sio.set_settings_frame(&frame);
    std::thread engine([&sio] {
        sio.plot_point(-1, 0, 0, 0, 9);
        for (int i = 0; i < 500; ++i) sio.plot_point(4, 0, 0, i % 256, 9);
    });
    engine.join();
    EXPECT_FALSE(frame.chart(1).model().has_points());
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    EXPECT_EQ(frame.chart(1).model().points().size(), 500u);
    auto* panel = dynamic_cast<datavalues*>(window.datavalue_handle());
    ASSERT_NE(panel, nullptr);
    // The last byte, 499 % 256 = 243, times 31.37 rpm, as a whole value.
    EXPECT_EQ(panel->text_table[0]->text(), "7622.0");
}

// --- Triggers and help -------------------------------------------------------

TEST(LoggerTriggers, SetPointsAndOk) {
    Triggerframe triggers;
    EXPECT_EQ(triggers.windowTitle(), "Triggers");
    EXPECT_EQ(triggers.size(), QSize(344, 225));
    EXPECT_EQ(triggers.palette().color(QPalette::Window), QColor(204, 204, 204));
    EXPECT_EQ(triggers.start_rpm->text(), "4000");
    EXPECT_EQ(triggers.start_tps->text(), "100");
    EXPECT_EQ(triggers.stop_rpm->text(), "4000");
    EXPECT_EQ(triggers.stop_tps->text(), "5");
    EXPECT_EQ(triggers.stop_rpm->toolTip(), "Choose RPM set point");
    EXPECT_EQ(triggers.ok_button->toolTip(), "Save settings");
    triggers.show();
    QTest::mouseClick(triggers.ok_button, Qt::LeftButton);
    EXPECT_FALSE(triggers.isVisible());
}

TEST(LoggerHelp, InstructionsAndClose) {
    Linkframe help;
    EXPECT_EQ(help.size(), QSize(344, 361));
    EXPECT_TRUE(help.windowTitle().isEmpty());
    ASSERT_EQ(help.lines->count(), 25);
    EXPECT_EQ(help.lines->item(0)->text(), "1. Make sure the ignition is in the OFF position");
    EXPECT_EQ(help.lines->item(10)->text(), "You may use the pause button to pause/resume data ");
    EXPECT_EQ(help.lines->item(24)->text(), "any other color are not available for data logging.");
    EXPECT_TRUE(help.lines->font().bold());
    EXPECT_EQ(help.lines->font().pixelSize(), 9);
    EXPECT_TRUE(help.heading->isReadOnly());
    help.show();
    EXPECT_EQ(help.pos(), QPoint(50, 50));
    QTest::mouseClick(help.close_button, Qt::LeftButton);
    EXPECT_FALSE(help.isVisible());
}

}  // namespace
}  // namespace korv::logger
