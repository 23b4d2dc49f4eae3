#pragma once
// Shared by the handheld front end's GUI tests: a playback frame whose
// "Palm'n'Korv" button is wired to the real front end, and waits that keep
// the GUI thread's event loop turning.
#include "common/core/korvio_library.h"
#include "common/gui/error_dialog.h"
#include "platform/core/scripted_file_chooser.h"
#include "platform/core/scripted_message_box.h"
#include "player/gui/palm_transfer_front_end.h"
#include "player/gui/palmthread.h"
#include "player/gui/play_frame.h"
#include "player/gui/pnkorv_dialog.h"
#include "player/tests/test_files.h"
#include "testsupport/event_wait.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace korv::player::testing_support {

using testsupport::run_events_until_settled;

// Notes the calls through which the charts follow a newly opened log.
class ChartCalls : public PlaybackAnalysis {
public:
    explicit ChartCalls(std::vector<std::string>& calls) : calls_(calls) {}
    void reset_charts() override { calls_.push_back("reset_charts"); }
    void plot_data() override { calls_.push_back("plot_data"); }

private:
    std::vector<std::string>& calls_;
};

class PalmExtensions : public PlayerExtensions {
public:
    PalmExtensions(platform::FileChooser& chooser, platform::MessageBox& questions, const KorvioLibrary* library)
        : chooser_(chooser), questions_(questions), library_(library) {}
    std::unique_ptr<PlaybackAnalysis> make_analysis(PLAYframe&) override { return std::make_unique<ChartCalls>(calls); }
    std::unique_ptr<HandheldTransfer> make_handheld(PLAYframe& frame) override {
        auto made = std::make_unique<PalmTransferFrontEnd>(frame, chooser_, library_, &questions_);
        front_end = made.get();
        return made;
    }

    std::vector<std::string> calls;
    PalmTransferFrontEnd* front_end = nullptr;

private:
    platform::FileChooser& chooser_;
    platform::MessageBox& questions_;
    const KorvioLibrary* library_;
};

// A playback frame in a scratch working folder, bound to the given library.
class PalmFrameTest : public InScratchFolder {
protected:
    void build(const KorvioLibrary* library) {
        extensions = std::make_unique<PalmExtensions>(chooser, questions, library);
        services.file_chooser = &chooser;
        services.editors = &pool;
        services.extensions = extensions.get();
        frame = std::make_unique<PLAYframe>(services);
    }
    void TearDown() override {
        // No worker may outlive the test that started it.
        EXPECT_TRUE(run_events_until_settled([] { return palmthread::workers_running() == 0; }));
        frame.reset();
        InScratchFolder::TearDown();
    }

    PalmTransferFrontEnd& front_end() { return *extensions->front_end; }
    PNKORVdialog* dialog() { return front_end().PNKORVdialog1(); }
    // The button, a port ("COM 1" = 1) and "Ok".
    void start_transfer(int com) {
        frame->pnkorv_button->click();
        ASSERT_NE(dialog(), nullptr);
        dialog()->port_list->setCurrentIndex(com);
        dialog()->start_log->click();
    }
    bool wait_for_end() {
        return run_events_until_settled([this] { return !front_end().transfer_running(); });
    }
    QString player_error() const {
        const error_dialog* shown = frame->error_reporter().error_diag();
        return shown && shown->isVisible() ? shown->message() : QString();
    }
    QString dialog_error() {
        const error_dialog* shown = dialog()->error_reporter().error_diag();
        return shown && shown->isVisible() ? shown->message() : QString();
    }

    platform::ScriptedFileChooser chooser;
    platform::ScriptedMessageBox questions;
    EditorPool pool;
    std::unique_ptr<PalmExtensions> extensions;
    PlayerServices services;
    std::unique_ptr<PLAYframe> frame;
};

}  // namespace korv::player::testing_support
