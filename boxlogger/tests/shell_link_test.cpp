// The command screen and Logger Preferences over the program's own port,
// against the simulated data-logger box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "boxlogger/core/command_table.h"
#include "boxlogger/gui/logger_prefs_dialog.h"
#include "boxlogger/gui/vxmlog_app.h"
#include "platform/core/memory_settings_store.h"
#include "platform/core/scripted_file_chooser.h"
#include "platform/core/scripted_message_box.h"
#include "sim/core/com_port_binding.h"
#include "sim/core/vxm_box.h"
#include "testsupport/event_wait.h"

namespace korv::boxlogger {
namespace {

using sim::BoxState;
using sim::PeerOnPort;
using sim::VxmBox;

struct LinkedShell : ::testing::Test {
    platform::MemorySettingsStore store;
    platform::ScriptedMessageBox messages;
    platform::ScriptedFileChooser files;
    std::unique_ptr<CVXMlogApp> app;

    void start() {
        AppServices services;
        services.store = &store;
        services.messages = &messages;
        services.files = &files;
        app = std::make_unique<CVXMlogApp>(services);
        ASSERT_TRUE(app->InitInstance({}));
    }
    QPushButton* button(int id) { return app->command_frame()->view()->button(id); }
    QString rate_pane() { return app->command_frame()->pane(cmd::kPaneRate)->text(); }
    // Connect answers once the link has; the command screen keeps turning meanwhile.
    void connect_and_settle() {
        button(cmd::kConnect)->click();
        ASSERT_TRUE(testsupport::run_events_until([this] { return !app->connecting(); }, std::chrono::seconds(10)));
    }
};

// Acts on Logger Preferences once Connect's probe has opened it; the act
// leaves it.
void on_logger_preferences(std::function<void(CLoggerPrefsDlg&)> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        auto* dialog = qobject_cast<CLoggerPrefsDlg*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        poll->stop();
        poll->deleteLater();
        act(*dialog);
    });
    poll->start(5);
}

// Clicks a dialog's button and waits for the probe's answer on the status line.
void click_and_wait_status(CLoggerPrefsDlg& dialog, QWidget* target, const QString& expected,
                           bool ctrl_double = false) {
    if (ctrl_double)
        QTest::mouseDClick(target, Qt::LeftButton, Qt::ControlModifier);
    else
        static_cast<QPushButton*>(target)->click();
    testsupport::run_events_until([&] { return dialog.status_text() == expected; }, std::chrono::seconds(10));
    EXPECT_EQ(dialog.status_text(), expected);
}

TEST_F(LinkedShell, ConnectToAWorkingBoxShowsTheRate) {
    PeerOnPort<VxmBox> box(0, sim::Pacing::Wire);
    start();
    EXPECT_EQ(rate_pane(), "Link Down");
    connect_and_settle();
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_EQ(button(cmd::kConnect)->text(), "Dis&connect");
    EXPECT_TRUE(button(cmd::kCollectData)->isEnabled());
    // The poll thread's idle cycle keeps the rate; the pane follows each second.
    const QRegularExpression rate("^Rate: [1-9][0-9]*/s$");
    QTRY_VERIFY_WITH_TIMEOUT(rate.match(rate_pane()).hasMatch(), 20000);
    connect_and_settle();
    EXPECT_EQ(button(cmd::kConnect)->text(), "&Connect");
    EXPECT_FALSE(app->port().is_open());
}

TEST_F(LinkedShell, ABoxWithoutEcuIsReportedAndCancelLeavesThePortClosed) {
    PeerOnPort<VxmBox> box(0, sim::Pacing::Instant);
    box->set_state(BoxState::EchoOnly);
    start();
    on_logger_preferences([](CLoggerPrefsDlg& dialog) {
        EXPECT_FALSE(dialog.ok_enabled());
        click_and_wait_status(dialog, dialog.findChild<QPushButton*>("1054"),
                              "Datalogger not properly connected to ECU");
        EXPECT_FALSE(dialog.ok_enabled());
        dialog.reject();
    });
    connect_and_settle();
    EXPECT_FALSE(app->port().is_open());
    EXPECT_EQ(button(cmd::kConnect)->text(), "&Connect");
    EXPECT_FALSE(button(cmd::kCollectData)->isEnabled());
}

TEST_F(LinkedShell, WithNoBoxTheHiddenGestureFakesTheLink) {
    sim::ComPortBinding nowhere(0, "/nonexistent/vxmlog-test-port");
    start();
    on_logger_preferences([](CLoggerPrefsDlg& dialog) {
        click_and_wait_status(dialog, dialog.findChild<QPushButton*>("1054"), "Port already in use or unavailable");
        click_and_wait_status(dialog, dialog.findChild<QLabel*>("1053"), "Datalogger link faked", true);
        EXPECT_TRUE(dialog.ok_enabled());
        dialog.accept();
    });
    connect_and_settle();
    EXPECT_TRUE(app->port().link_faked());
    EXPECT_EQ(button(cmd::kConnect)->text(), "Dis&connect");
    EXPECT_TRUE(button(cmd::kCollectData)->isEnabled());
    EXPECT_TRUE(button(cmd::kDrb2)->isEnabled());
}

TEST_F(LinkedShell, ExitStopsThePollThreadAndClosesThePort) {
    PeerOnPort<VxmBox> box(0, sim::Pacing::Instant);
    start();
    connect_and_settle();
    ASSERT_TRUE(app->port().is_open());
    app->command_frame()->close();
    EXPECT_TRUE(app->exited());
    EXPECT_FALSE(app->port().is_open());
    // The port is free for the next holder.
    CSerialPort other;
    EXPECT_EQ(other.Probe(0), 2);
    other.Close();
}

}  // namespace
}  // namespace korv::boxlogger
