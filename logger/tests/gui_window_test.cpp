// The start window's face, its family buttons and "Enable Charts".
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "logger/tests/fake_parts.h"
#include "logger/gui/korvlog_window.h"

namespace korv::logger {
namespace {

using testing::FakeParts;

KorvLog::Services with(FakeParts& parts, std::vector<int>* exits = nullptr) {
    KorvLog::Services services;
    services.parts = &parts;
    services.library = nullptr;
    services.exit_process = [exits](int status) {
        if (exits) exits->push_back(status);
    };
    return services;
}

TEST(LoggerWindow, LooksAsGiven) {
    FakeParts parts;
    KorvLog window(with(parts));
    EXPECT_EQ(window.windowTitle(), "Korvane Logger 5.0a");
    EXPECT_EQ(window.size(), QSize(477, 146));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(204, 204, 204));

    EXPECT_EQ(window.obd_button->text(), "&OBD-II");
    EXPECT_EQ(window.obd_button->toolTip(), "Log OBD-II data (most 95/96 and later cars)");
    EXPECT_EQ(window.drb_button->text(), "&DRB");
    EXPECT_EQ(window.drb_button->toolTip(), "Log 1st generation DSM data");
    EXPECT_EQ(window.pms_button->text(), "&PMS");
    EXPECT_EQ(window.pms_button->toolTip(), "Log EFI Systems PMS data");
    EXPECT_EQ(window.log_button->text(), "&Start");
    EXPECT_EQ(window.log_button->toolTip(), "Start logging");
    EXPECT_EQ(window.stop_button->text(), "S&top");
    EXPECT_EQ(window.stop_button->toolTip(), "Stop logging");
    EXPECT_EQ(window.pause_button->text(), "Pa&use");
    EXPECT_EQ(window.pause_button->toolTip(), "Pause logging (leave interface active)");
    EXPECT_EQ(window.tbw_button->text(), "TB&W");
    EXPECT_EQ(window.tbw_button->toolTip(), "Activate tune by wire");
    EXPECT_EQ(window.save_button->text(), "S&ave");
    EXPECT_EQ(window.save_button->toolTip(), "Save log files");
    EXPECT_EQ(window.trigger_button->text(), "T&riggers");
    EXPECT_EQ(window.trigger_button->toolTip(), "Click to define start/stop triggers");
    EXPECT_EQ(window.select_triggers->text(), "Use Tri&ggers");
    EXPECT_EQ(window.select_triggers->toolTip(), "Enable/Disable triggers");
    EXPECT_EQ(window.logcharts->text(), "Enable Charts");
    EXPECT_EQ(window.logcharts->toolTip(), "Enable/Disable real time charting");
    EXPECT_EQ(window.logcharts->shortcut(), QKeySequence(Qt::ALT | Qt::Key_G));
}

TEST(LoggerWindow, StartsWithEverythingButTheFamiliesDisabled) {
    FakeParts parts;
    KorvLog window(with(parts));
    for (QWidget* w : std::initializer_list<QWidget*>{window.log_button, window.stop_button, window.pause_button,
                                                      window.tbw_button, window.save_button, window.trigger_button,
                                                      window.select_triggers, window.logcharts}) {
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    }
    EXPECT_TRUE(window.obd_button->isEnabled());
    EXPECT_TRUE(window.drb_button->isEnabled());
    for (QLineEdit* status : {window.obd_status, window.drb_status, window.pms_status}) {
        EXPECT_TRUE(status->isReadOnly());
        EXPECT_FALSE(status->isEnabled());
        EXPECT_TRUE(status->text().isEmpty());
    }

    window.show();
    // The PMS family is there but never shown or usable.
    EXPECT_FALSE(window.pms_button->isVisible());
    EXPECT_FALSE(window.pms_button->isEnabled());
    EXPECT_FALSE(window.pms_status->isVisible());
    EXPECT_TRUE(window.obd_button->isVisible());
    // Opening the window enables "Enable Charts".
    EXPECT_TRUE(window.logcharts->isEnabled());
    EXPECT_FALSE(window.tbw_button->isEnabled());
}

TEST(LoggerWindow, FamilyButtonBuildsOneSettingsThreadAndLaterShowsItsFrame) {
    FakeParts parts;
    KorvLog window(with(parts));
    window.show();
    QTest::mouseClick(window.obd_button, Qt::LeftButton);
    ASSERT_EQ(parts.made.size(), 1u);
    EXPECT_EQ(parts.made[0].first, "OBD-II (ISO 9141) - Data logger settings");
    EXPECT_EQ(parts.made[0].second, 0);
    EXPECT_EQ(parts.buttons[0], window.obd_button);
    EXPECT_EQ(parts.threads[0]->starts, 1);
    EXPECT_EQ(window.obd_frame(), parts.frame(LogFamily::obd));

    QTest::mouseClick(window.obd_button, Qt::LeftButton);
    EXPECT_EQ(parts.made.size(), 1u);
    EXPECT_EQ(parts.threads[0]->starts, 1);
    EXPECT_EQ(parts.frame(LogFamily::obd)->shows, 1);

    // Keyboard activation is an action too.
    window.drb_button->setFocus();
    QTest::keyClick(window.drb_button, Qt::Key_Space);
    ASSERT_EQ(parts.made.size(), 2u);
    EXPECT_EQ(parts.made[1].first, "1st Generation DSM - Data logger settings");
    EXPECT_EQ(parts.made[1].second, 5);
    EXPECT_EQ(window.settings_thread(LogFamily::dsm), parts.threads[1]);
}

TEST(LoggerWindow, ASettingsThreadThatBuiltNoFrameShowsNothingLater) {
    FakeParts parts;
    parts.frames_build = false;
    KorvLog window(with(parts));
    window.obd_button_actionPerformed();
    window.obd_button_actionPerformed();
    EXPECT_EQ(parts.made.size(), 1u);
    EXPECT_EQ(window.obd_frame(), nullptr);
}

TEST(LoggerWindow, WithoutTheOtherWindowsTheButtonsDoNothing) {
    KorvLog window;
    window.show();
    QTest::mouseClick(window.obd_button, Qt::LeftButton);
    QTest::mouseClick(window.logcharts, Qt::LeftButton);
    window.trigger_button_actionPerformed();
    EXPECT_EQ(window.settings_thread(LogFamily::obd), nullptr);
    EXPECT_EQ(window.chartcontrol_frame(), nullptr);
}

TEST(LoggerWindow, EnableChartsShowsAndHidesTheChartManager) {
    FakeParts parts;
    KorvLog window(with(parts));
    ASSERT_NE(parts.chartcontrol, nullptr);
    EXPECT_FALSE(parts.chartcontrol->visible);  // built hidden
    window.show();
    QTest::mouseClick(window.logcharts, Qt::LeftButton);
    EXPECT_TRUE(window.charts_ticked());
    EXPECT_TRUE(parts.chartcontrol->visible);
    QTest::mouseClick(window.logcharts, Qt::LeftButton);
    EXPECT_FALSE(parts.chartcontrol->visible);
}

TEST(LoggerWindow, FramesEnableAndDisableStart) {
    FakeParts parts;
    KorvLog window(with(parts));
    window.request_start(true);
    EXPECT_TRUE(window.log_button->isEnabled());
    window.request_start(false);
    EXPECT_FALSE(window.log_button->isEnabled());
}

TEST(LoggerWindow, TriggersWindowIsMadeOnFirstUseOnly) {
    FakeParts parts;
    KorvLog window(with(parts));
    window.trigger_button_actionPerformed();
    window.trigger_button_actionPerformed();
    EXPECT_EQ(parts.triggerframes_made, 1);
}

TEST(LoggerWindow, ClosingWithoutRunsEndsTheProgramAtOnce) {
    FakeParts parts;
    std::vector<int> exits;
    KorvLog window(with(parts, &exits));
    window.show();
    EXPECT_TRUE(window.close());
    EXPECT_EQ(exits, std::vector<int>{0});
}

}  // namespace
}  // namespace korv::logger
