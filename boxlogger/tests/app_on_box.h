#pragma once
// VXMlog's application object against the simulated box on COM1, with its
// settings in a temporary folder and scripted messages and file choices.
#include <gtest/gtest.h>

#include "boxlogger/core/command_table.h"
#include "boxlogger/gui/vxmlog_app.h"
#include "platform/core/scripted_file_chooser.h"
#include "platform/core/scripted_message_box.h"
#include "platform/gui/qt_settings_store.h"
#include "sim/core/com_port_binding.h"
#include "sim/core/vxm_box.h"
#include "testsupport/event_wait.h"
#include "testsupport/temp_folder.h"

#include <chrono>
#include <memory>

namespace korv::boxlogger {

struct AppOnBox : ::testing::Test {
    testsupport::TempFolder folder;
    sim::PeerOnPort<sim::VxmBox> box{0, sim::Pacing::Instant};
    platform::QtSettingsStore store{"Calderis", "VXMlog", QString::fromStdString(folder.path())};
    platform::ScriptedMessageBox messages;
    platform::ScriptedFileChooser files;
    std::unique_ptr<CVXMlogApp> app;

    // Builds the program and runs its start-up; false when it would not start.
    bool start() {
        AppServices services;
        services.store = &store;
        services.messages = &messages;
        services.files = &files;
        app = std::make_unique<CVXMlogApp>(services);
        return app->InitInstance({});
    }
    // "&Connect" on the command screen, and its probe's answer.
    bool connect() {
        app->command_frame()->view()->button(cmd::kConnect)->click();
        return testsupport::run_events_until([this] { return !app->connecting(); }, std::chrono::seconds(10));
    }
};

}  // namespace korv::boxlogger
