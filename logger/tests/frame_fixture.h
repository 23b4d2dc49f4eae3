#pragma once
// A start window with the real settings frames, driven as a user would:
// press a family button, choose a port and a cable, tick "Interface
// enabled" and items, press Start and Stop. The library is given by the
// test (the scripted stand-in or the real libkorvio.so).
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <functional>
#include <thread>

#include "common/gui/error_dialog.h"
#include "logger/gui/korvlog_parts.h"
#include "logger/gui/korvlog_window.h"
#include "logger/gui/logobdframe.h"
#include "logger/gui/logobdthread.h"
#include "platform/core/scripted_message_box.h"
#include "platform/core/file_chooser.h"
#include "testsupport/event_wait.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

namespace korv::logger::testing {

inline bool wait_until(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(20)) {
    return testsupport::run_events_until(done, limit);
}

inline QString shown_error(korv::ErrorReporter& reporter) {
    error_dialog* dialog = reporter.error_diag();
    return dialog && dialog->isVisible() ? dialog->message() : QString();
}

// Answers each save dialog in turn (cancels when out of answers); the test
// may act while the question is open, as a user could.
struct SessionChooser final : platform::FileChooser {
    std::optional<std::string> choose(const platform::FileChooserRequest& request) override {
        asked.push_back(request);
        if (while_asking) while_asking();
        if (answers.empty()) return std::nullopt;
        std::optional<std::string> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<std::optional<std::string>> answers;
    std::function<void()> while_asking;
    std::vector<platform::FileChooserRequest> asked;
};

class FrameSession {
public:
    explicit FrameSession(const KorvioLibrary* library) {
        previous_folder_ = std::filesystem::current_path();
        // The library writes its working files into the current directory.
        std::filesystem::current_path(folder.path());
        KorvLog::Services services;
        services.parts = &parts;
        services.file_chooser = &chooser;
        services.message_box = &questions;
        services.library = library;
        services.working_directory = folder.path();
        services.exit_process = [this](int status) { exits.push_back(status); };
        window = std::make_unique<KorvLog>(std::move(services));
        window->show();
    }
    ~FrameSession() {
        window.reset();
        std::filesystem::current_path(previous_folder_);
    }

    LOGOBDThread* thread(LogFamily family) const {
        return dynamic_cast<LOGOBDThread*>(window->settings_thread(family));
    }
    LOGOBDframe* frame(LogFamily family) const {
        LOGOBDThread* settings = thread(family);
        return settings ? settings->frame() : nullptr;
    }
    LOGOBDframe* open(LogFamily family) {
        if (family == LogFamily::obd) window->obd_button_actionPerformed();
        if (family == LogFamily::dsm) window->drb_button_actionPerformed();
        return frame(family);
    }

    // As the user picks an entry of a choice.
    static void choose(QComboBox* choice, int index) {
        choice->setCurrentIndex(index);
        emit choice->activated(index);
    }
    static void choose_port(LOGOBDframe* frame, int index) { choose(frame->choose_port, index); }
    static void choose_cable(LOGOBDframe* frame, int index) { choose(frame->cable_type, index); }
    static bool idle(LOGOBDframe* frame) {
        return wait_until([frame] { return !frame->library_busy(); });
    }
    // Ticks "Interface enabled" and waits for the link test to end.
    static bool enable(LOGOBDframe* frame) {
        if (!frame->obd_enabled_box->isChecked()) frame->obd_enabled_box->click();
        return idle(frame);
    }
    // Port and cable chosen, link tested.
    static bool bring_up(LOGOBDframe* frame, int port_index, int cable_index) {
        choose_port(frame, port_index);
        if (!idle(frame)) return false;
        if (cable_index != frame->cable_type->currentIndex()) choose_cable(frame, cable_index);
        return idle(frame) && enable(frame);
    }
    bool session_over() {
        return wait_until([this] { return !window->run_alive(); });
    }

    testsupport::TempFolder folder;
    KorvlogParts parts;
    SessionChooser chooser;
    // The save's Yes/No questions; unscripted ones are answered Yes.
    platform::ScriptedMessageBox questions;
    std::vector<int> exits;
    std::unique_ptr<KorvLog> window;

private:
    std::filesystem::path previous_folder_;
};

}  // namespace korv::logger::testing
