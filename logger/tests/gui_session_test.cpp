// Whole sessions against the stand-in library: Start, Pause, Stop, the save
// of each run and the close rules.
#include <QApplication>
#include <QTest>
#include <QThread>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "common/core/vxm_player_reader.h"
#include "common/gui/error_dialog.h"
#include "logger/tests/fake_parts.h"
#include "logger/core/logger_texts.h"
#include "logger/gui/korvlog_window.h"
#include "logger/gui/logging_thread.h"
#include "logger/gui/serialio.h"
#include "platform/core/scripted_message_box.h"
#include "testsupport/file_bytes.h"
#include "testsupport/event_wait.h"
#include "testsupport/temp_folder.h"

namespace korv::logger {
namespace {

using testing::FakeChart;
using testing::FakeParts;
using testsupport::run_events_until;
using testsupport::TempFolder;

// Steering entry points of the stand-in library.
struct StandIn {
    StandIn() {
        handle = dlopen(KORVIO_STANDIN_PATH, RTLD_NOW | RTLD_LOCAL);
        configure = reinterpret_cast<void (*)(int, int, int, int)>(dlsym(handle, "standin_configure"));
        sio_done_calls = reinterpret_cast<int (*)()>(dlsym(handle, "standin_sio_done_calls"));
        runs_begun = reinterpret_cast<int (*)()>(dlsym(handle, "standin_runs_begun"));
        reset_counts = reinterpret_cast<void (*)()>(dlsym(handle, "standin_reset_counts"));
        failing_run_waits_for = reinterpret_cast<void (*)(int)>(dlsym(handle, "standin_failing_run_waits_for"));
    }
    void* handle;
    void (*configure)(int, int, int, int);
    int (*sio_done_calls)();
    int (*runs_begun)();
    void (*reset_counts)();
    void (*failing_run_waits_for)(int);
};

// Answers each save dialog with a name chosen from its pattern; it runs on
// the GUI thread, as the real dialog does.
struct AnsweringChooser final : platform::FileChooser {
    std::optional<std::string> choose(const platform::FileChooserRequest& request) override {
        asked.push_back(request.filters.at(0).patterns.at(0));
        if (while_asking) while_asking();
        return answer(request.filters.at(0).patterns.at(0));
    }
    std::function<std::optional<std::string>(const std::string& pattern)> answer;
    std::function<void()> while_asking;
    std::vector<std::string> asked;
};

// The save's Yes/No questions, answered from a script; notes whether any
// was put off the GUI thread.
struct GuiThreadQuestionsCheck final : platform::MessageBox {
    platform::MessageButton show(std::string_view text, std::string_view caption, platform::MessageButtons buttons,
                                 platform::MessageIcon icon) override {
        if (QThread::currentThread() != QCoreApplication::instance()->thread()) asked_off_gui_thread = true;
        return script.show(text, caption, buttons, icon);
    }
    platform::ScriptedMessageBox script;
    bool asked_off_gui_thread = false;
};

bool is_number(const QString& text) {
    bool ok = false;
    return text.toInt(&ok) > 0 && ok;
}

QString reported(LOGOBDThread1* run) {
    if (!run || !run->reporter().error_diag()) return {};
    return run->reporter().error_diag()->message();
}

class LoggerSession : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        library = KorvioLibrary::load_from(KORVIO_STANDIN_PATH).release();
        standin = new StandIn;
    }

    LoggerSession() {
        previous_folder = std::filesystem::current_path();
        std::filesystem::current_path(folder.path());
        standin->configure(kRequiredKorvioVersion, -1, 0, -1);
        standin->reset_counts();
        // The OBD-II frame: COM1, the multiplexer cable; the DSM frame: COM2.
        parts.setups[0].port_index = 1;
        parts.setups[0].cable_index = 2;
        parts.setups[1].port_index = 2;
        parts.setups[1].cable_index = 5;
        chooser.answer = [this](const std::string& pattern) {
            return std::optional<std::string>(folder.file(pattern == "*.db1" ? "obd.db1" : "dsm.db2"));
        };
    }
    ~LoggerSession() override {
        window.reset();
        std::filesystem::current_path(previous_folder);
    }

    void open_window(const KorvioLibrary* with_library = library) {
        KorvLog::Services services;
        services.parts = &parts;
        services.file_chooser = &chooser;
        services.message_box = &questions;
        services.library = with_library;
        services.working_directory = folder.path();
        services.exit_process = [this](int status) { exits.push_back(status); };
        window = std::make_unique<KorvLog>(std::move(services));
        window->show();
    }
    void open_frames(bool obd, bool dsm) {
        if (obd) window->obd_button_actionPerformed();
        if (dsm) window->drb_button_actionPerformed();
        window->request_start(true);
    }
    bool session_over() { return !window->run_alive(); }
    void for_each_chart(LogFamily family, const std::function<void(FakeChart&)>& check) {
        for (FakeChart& chart : parts.frame(family)->charts) check(chart);
    }

    static inline KorvioLibrary* library = nullptr;
    static inline StandIn* standin = nullptr;

    TempFolder folder;
    std::filesystem::path previous_folder;
    FakeParts parts;
    AnsweringChooser chooser;
    GuiThreadQuestionsCheck questions;
    std::vector<int> exits;
    std::unique_ptr<KorvLog> window;
};

TEST_F(LoggerSession, TwoInterfacesRunPauseStopAndEachSavesItsOwnLog) {
    open_window();
    open_frames(true, true);
    window->logcharts->setChecked(true);
    ASSERT_TRUE(window->log_button->isEnabled());

    QTest::mouseClick(window->log_button, Qt::LeftButton);
    EXPECT_FALSE(window->log_button->isEnabled());
    // The items went to the runs when Start was pressed.
    parts.frame(LogFamily::obd)->setup.items.fill(-1);
    ASSERT_TRUE(run_events_until(
        [&] { return is_number(window->obd_status->text()) && is_number(window->drb_status->text()); }));
    EXPECT_TRUE(window->stop_button->isEnabled());
    EXPECT_TRUE(window->pause_button->isEnabled());
    EXPECT_EQ(parts.threads[0]->log_handle, window->logging_thread(LogFamily::obd));
    for_each_chart(LogFamily::obd, [](FakeChart& c) { EXPECT_TRUE(c.locked); });
    for_each_chart(LogFamily::dsm, [](FakeChart& c) { EXPECT_TRUE(c.locked); });

    QTest::mouseClick(window->pause_button, Qt::LeftButton);
    EXPECT_EQ(serialio::stop_flag(LogFamily::obd), 2);
    EXPECT_EQ(serialio::stop_flag(LogFamily::dsm), 2);
    ASSERT_TRUE(run_events_until([&] { return window->pause_button->text() == "Res&ume"; }));
    for_each_chart(LogFamily::obd, [](FakeChart& c) {
        EXPECT_FALSE(c.locked);
        EXPECT_EQ(c.resumes, 1);
    });

    QTest::mouseClick(window->pause_button, Qt::LeftButton);
    EXPECT_EQ(serialio::stop_flag(LogFamily::obd), 1);
    EXPECT_EQ(serialio::stop_flag(LogFamily::dsm), 1);
    ASSERT_TRUE(run_events_until([&] { return window->pause_button->text() == "Pa&use"; }));
    for_each_chart(LogFamily::dsm, [](FakeChart& c) { EXPECT_TRUE(c.locked); });

    // Closing during a run does nothing.
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(exits.empty());

    QTest::mouseClick(window->stop_button, Qt::LeftButton);
    for_each_chart(LogFamily::obd, [](FakeChart& c) { EXPECT_FALSE(c.locked); });
    ASSERT_TRUE(run_events_until([&] { return session_over(); }));
    EXPECT_EQ(window->obd_status->text(), "Idle");
    EXPECT_EQ(window->drb_status->text(), "Idle");
    EXPECT_TRUE(window->log_button->isEnabled());
    EXPECT_FALSE(window->stop_button->isEnabled());
    EXPECT_FALSE(window->pause_button->isEnabled());
    for (LogFamily f : kFamilies) EXPECT_EQ(serialio::stop_flag(f), 0);

    // Each run saved its own dump under its own name.
    std::sort(chooser.asked.begin(), chooser.asked.end());
    EXPECT_EQ(chooser.asked, (std::vector<std::string>{"*.db1", "*.db2"}));
    VxmPlayerReader obd;
    ASSERT_FALSE(obd.open(folder.file("obd.db1"), FloatOrder::big));
    EXPECT_EQ(obd.model().vxm_parm_count, 2);
    ASSERT_GT(obd.model().log_records, 0);
    ASSERT_FALSE(obd.seek_record(0));
    ASSERT_FALSE(obd.read_vxm_record());
    EXPECT_EQ(obd.model().vxm_data_fields[player_slot_of_id(9)], 2000.0f);
    EXPECT_EQ(obd.model().vxm_data_fields[player_slot_of_id(3)], 0.32f);
    VxmPlayerReader dsm;
    ASSERT_FALSE(dsm.open(folder.file("dsm.db2"), FloatOrder::big));
    ASSERT_GT(dsm.model().log_records, 0);
    ASSERT_FALSE(dsm.seek_record(0));
    ASSERT_FALSE(dsm.read_vxm_record());
    EXPECT_EQ(dsm.model().vxm_data_fields[player_slot_of_id(9)], 2007.68f);
    EXPECT_EQ(dsm.model().vxm_data_fields[player_slot_of_id(3)], 1.28f);

    // Each run charted into its own frame.
    const std::vector<int>& obd_points = parts.frame(LogFamily::obd)->charts[1].points;
    const std::vector<int>& dsm_points = parts.frame(LogFamily::dsm)->charts[1].points;
    ASSERT_FALSE(obd_points.empty());
    ASSERT_FALSE(dsm_points.empty());
    EXPECT_TRUE(std::all_of(obd_points.begin(), obd_points.end(), [](int p) { return p == 200000; }));
    EXPECT_TRUE(std::all_of(dsm_points.begin(), dsm_points.end(), [](int p) { return p == 200768; }));
    EXPECT_EQ(parts.datavalues_made, 1);

    // Now the window closes, releasing ports 0-3 through each run's binding.
    EXPECT_TRUE(window->close());
    EXPECT_EQ(exits, std::vector<int>{0});
    EXPECT_EQ(standin->sio_done_calls(), 8);
}

TEST_F(LoggerSession, CloseIsRefusedWhileASaveRuns) {
    open_window();
    open_frames(true, false);
    bool refused_during_save = false;
    chooser.while_asking = [&] {
        refused_during_save = !window->close() && window->isVisible() && exits.empty();
        // Start stays disabled: a new run would overwrite the dump being saved.
        refused_during_save = refused_during_save && !window->log_button->isEnabled();
    };
    window->log_button_actionPerformed();
    ASSERT_TRUE(run_events_until([&] { return is_number(window->obd_status->text()); }));
    window->stop_button_actionPerformed();
    ASSERT_TRUE(run_events_until([&] { return session_over(); }));
    EXPECT_TRUE(refused_during_save);
    EXPECT_TRUE(std::filesystem::exists(folder.file("obd.db1")));
    EXPECT_TRUE(window->close());
    EXPECT_EQ(exits, std::vector<int>{0});
}

// A frame's link test or trouble-code read may still be on its worker when
// the window closes: every frame's library calls end before the first port
// is closed under them.
TEST_F(LoggerSession, ClosingStopsTheFramesLibraryCallsBeforeItClosesThePorts) {
    open_window();
    open_frames(true, true);
    std::vector<int> ports_closed_at_stop;
    for (LogFamily family : {LogFamily::obd, LogFamily::dsm})
        parts.frame(family)->on_stop = [&] { ports_closed_at_stop.push_back(standin->sio_done_calls()); };
    window->log_button_actionPerformed();
    ASSERT_TRUE(run_events_until([&] { return is_number(window->obd_status->text()); }));
    window->stop_button_actionPerformed();
    ASSERT_TRUE(run_events_until([&] { return session_over(); }));
    EXPECT_TRUE(ports_closed_at_stop.empty()) << "a run's end stops no frame";

    EXPECT_TRUE(window->close());
    EXPECT_EQ(ports_closed_at_stop, (std::vector<int>{0, 0}));
    EXPECT_EQ(standin->sio_done_calls(), 8);
}

TEST_F(LoggerSession, RefusedVersionEndsTheRunsAndTheWindowCanClose) {
    standin->configure(5, -1, 0, -1);
    open_window();
    open_frames(true, true);
    window->log_button_actionPerformed();
    ASSERT_TRUE(run_events_until([&] { return session_over(); }));
    EXPECT_EQ(reported(window->logging_thread(LogFamily::obd)).toStdString(), kLibraryMessage);
    EXPECT_EQ(reported(window->logging_thread(LogFamily::dsm)).toStdString(), kLibraryMessage);
    EXPECT_EQ(standin->runs_begun(), 0);
    EXPECT_TRUE(chooser.asked.empty());
    for (LogFamily f : kFamilies) EXPECT_EQ(serialio::stop_flag(f), 0);
    EXPECT_TRUE(window->log_button->isEnabled());
    EXPECT_FALSE(window->stop_button->isEnabled());
    EXPECT_TRUE(window->close());
}

TEST_F(LoggerSession, MissingLibraryIsReportedByTheRun) {
    const auto missing = KorvioLibrary::load_from("/nonexistent/libkorvio.so");
    open_window(missing.get());
    open_frames(true, false);
    window->log_button_actionPerformed();
    ASSERT_TRUE(run_events_until([&] { return session_over(); }));
    EXPECT_EQ(reported(window->logging_thread(LogFamily::obd)).toStdString(), kLibraryMessage);
    EXPECT_TRUE(window->close());
    window.reset();
}

TEST_F(LoggerSession, FailingRunIsReportedAndEndsTheOtherRunAndBothAreSaved) {
    standin->configure(kRequiredKorvioVersion, 4, -1, 3);  // the DSM run fails after 3 cycles
    standin->failing_run_waits_for(2);                     // once the OBD-II run has a record to save
    open_window();
    open_frames(true, true);
    window->log_button_actionPerformed();
    ASSERT_TRUE(run_events_until([&] { return session_over(); }));
    EXPECT_EQ(reported(window->logging_thread(LogFamily::dsm)), "Data logging error,-1 logged data will be saved");
    EXPECT_TRUE(reported(window->logging_thread(LogFamily::obd)).isEmpty());
    EXPECT_EQ(chooser.asked.size(), 2u);
    EXPECT_TRUE(std::filesystem::exists(folder.file("obd.db1")));
    VxmPlayerReader dsm;
    ASSERT_FALSE(dsm.open(folder.file("dsm.db2"), FloatOrder::big));
    EXPECT_EQ(dsm.model().log_records, 3);
}

TEST_F(LoggerSession, StartWithNoInterfaceEnabledStartsNothingAndLocksNoChart) {
    parts.setups[0].enabled = false;
    open_window();
    open_frames(true, false);
    window->log_button_actionPerformed();
    EXPECT_FALSE(window->run_alive());
    EXPECT_EQ(window->logging_thread(LogFamily::obd), nullptr);
    EXPECT_TRUE(window->log_button->isEnabled());
    for_each_chart(LogFamily::obd, [](FakeChart& c) { EXPECT_FALSE(c.locked); });
}

TEST_F(LoggerSession, SecondRunStartsAfterTheFirstHasSavedAndKeepsTheFirstRunsDialog) {
    open_window();
    open_frames(true, false);
    chooser.answer = [](const std::string&) { return std::optional<std::string>(); };  // cancel
    for (int round = 0; round < 2; ++round) {
        window->log_button_actionPerformed();
        ASSERT_TRUE(run_events_until([&] { return is_number(window->obd_status->text()); }));
        window->stop_button_actionPerformed();
        ASSERT_TRUE(run_events_until([&] { return session_over(); }));
    }
    EXPECT_EQ(standin->runs_begun(), 2);
    EXPECT_EQ(chooser.asked.size(), 2u);
}

TEST_F(LoggerSession, CancelledSaveAsksOnTheGuiThreadAndNoShowsTheDialogAgain) {
    open_window();
    open_frames(true, false);
    chooser.answer = [this](const std::string&) {
        return chooser.asked.size() == 1 ? std::optional<std::string>() : folder.file("kept.db1");
    };
    questions.script.queue_answer(platform::MessageButton::No);
    window->log_button_actionPerformed();
    ASSERT_TRUE(run_events_until([&] { return is_number(window->obd_status->text()); }));
    window->stop_button_actionPerformed();
    ASSERT_TRUE(run_events_until([&] { return session_over(); }));
    ASSERT_EQ(questions.script.messages().size(), 1u);
    EXPECT_EQ(questions.script.messages()[0].text, "Discard the logged data?");
    EXPECT_EQ(questions.script.messages()[0].buttons, platform::MessageButtons::YesNo);
    EXPECT_FALSE(questions.asked_off_gui_thread);
    EXPECT_EQ(chooser.asked.size(), 2u);
    EXPECT_TRUE(std::filesystem::exists(folder.file("kept.db1")));
}

TEST_F(LoggerSession, WindowGoingAwayDuringARunStopsAndJoinsIt) {
    open_window();
    open_frames(true, false);
    window->log_button_actionPerformed();
    ASSERT_TRUE(run_events_until([&] { return standin->runs_begun() == 1; }));
    window.reset();  // must not hang, even with the save dialog still to come
    for (LogFamily f : kFamilies) EXPECT_EQ(serialio::stop_flag(f), 0);
}

}  // namespace
}  // namespace korv::logger
