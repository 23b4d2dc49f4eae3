// The "Palm'n'Korv" front end offscreen against the stand-in library: the
// port dialog, the transfer on its worker, the checks before the save
// dialog, the conversion and the new log opened in the player.
#include "player/tests/palm_test_support.h"

#include <QLineEdit>

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>

using namespace korv::player;
using namespace korv::player::testing_support;

namespace {

// Steers the stand-in through its extra entry points.
struct Standin {
    Standin() {
        handle = dlopen(PALM_STANDIN_PATH, RTLD_NOW);
        if (!handle) return;
        script_fn = reinterpret_cast<decltype(script_fn)>(dlsym(handle, "palm_standin_script"));
        hold_fn = reinterpret_cast<decltype(hold_fn)>(dlsym(handle, "palm_standin_hold"));
        waiting_fn = reinterpret_cast<decltype(waiting_fn)>(dlsym(handle, "palm_standin_waiting"));
        last_port_fn = reinterpret_cast<decltype(last_port_fn)>(dlsym(handle, "palm_standin_last_port"));
    }
    ~Standin() {
        if (handle) dlclose(handle);
    }
    bool ready() const { return script_fn && hold_fn && waiting_fn && last_port_fn; }
    void script(const Bytes& dump, int result = 0, int version = 6) {
        script_fn(version, result, dump.data(), int(dump.size()));
    }
    void script_no_dump(int result = 0) { script_fn(6, result, nullptr, -1); }

    void* handle = nullptr;
    void (*script_fn)(int, int, const std::uint8_t*, int) = nullptr;
    void (*hold_fn)(int) = nullptr;
    int (*waiting_fn)() = nullptr;
    int (*last_port_fn)() = nullptr;
};

const Bytes kExampleDump{0x01, 0x02, 0x09, 0x07, 0x09, 0x80, 0x07, 0x33};

class PalmFrontEnd : public PalmFrameTest {
protected:
    void SetUp() override {
        PalmFrameTest::SetUp();
        ASSERT_TRUE(standin.ready());
        library = korv::KorvioLibrary::load_from(PALM_STANDIN_PATH);
        ASSERT_TRUE(library->available()) << library->load_error();
        standin.hold_fn(0);
        build(library.get());
    }
    void TearDown() override {
        standin.hold_fn(0);
        PalmFrameTest::TearDown();
    }
    void write_two_record_log(const std::string& name) {
        write_bytes(path(name), minimal_log({9, 7}, {{1000.0f, 10.0f}, {2000.0f, 20.0f}}));
    }

    Standin standin;
    std::unique_ptr<korv::KorvioLibrary> library;
};

TEST_F(PalmFrontEnd, ButtonShowsThePortDialogBuiltOnce) {
    frame->pnkorv_button->click();
    PNKORVdialog* shown = dialog();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_FALSE(shown->isModal());
    EXPECT_TRUE(shown->windowTitle().isEmpty());
    EXPECT_EQ(shown->parent(), nullptr);
    EXPECT_EQ(shown->size(), QSize(PNKORVdialog::content_width, PNKORVdialog::content_height));
    EXPECT_EQ(shown->pf, frame.get());
    ASSERT_EQ(shown->port_list->count(), 5);
    EXPECT_EQ(shown->port_list->currentText(), "Choose port");
    EXPECT_EQ(shown->port_list->itemText(4), "COM 4");
    EXPECT_EQ(shown->eeprom_status->text(), "Choose the com port & click 'OK'");
    EXPECT_TRUE(shown->eeprom_status->isReadOnly());
    EXPECT_TRUE(shown->start_log->isVisible());

    // "Ok" without a port starts nothing.
    shown->start_log->click();
    EXPECT_EQ(dialog_error(), "No COM port selected!");
    EXPECT_FALSE(front_end().transfer_running());
    EXPECT_TRUE(shown->start_log->isVisible());

    shown->cancel_button->click();
    EXPECT_FALSE(shown->isVisible());
    EXPECT_EQ(shown->port_list->currentText(), "COM 1");
    frame->pnkorv_button->click();
    EXPECT_EQ(dialog(), shown);
    EXPECT_TRUE(shown->isVisible());
}

TEST_F(PalmFrontEnd, ExampleDumpIsSavedAndOpenedAsOpenFileWould) {
    standin.script(kExampleDump);
    chooser.queue_path(path("run.db2"));
    start_transfer(2);
    EXPECT_FALSE(dialog()->start_log->isVisible());
    EXPECT_FALSE(dialog()->port_list->isVisible());
    ASSERT_TRUE(wait_for_end());

    EXPECT_EQ(standin.last_port_fn(), 1);  // "COM 2"
    ASSERT_EQ(chooser.requests().size(), 1u);
    EXPECT_EQ(chooser.requests()[0].title, "Save Log File");
    EXPECT_EQ(chooser.requests()[0].mode, korv::platform::FileChooserMode::Save);
    ASSERT_EQ(chooser.requests()[0].filters.size(), 1u);
    EXPECT_EQ(chooser.requests()[0].filters[0].patterns, std::vector<std::string>{"*.db2"});
    EXPECT_FALSE(dialog()->isVisible());
    EXPECT_EQ(player_error(), QString());

    EXPECT_EQ(read_bytes(path("run.db2")).size(), 13u + 60 + 12);
    EXPECT_EQ(read_bytes(path("kvt1.tmp")), kExampleDump);  // left in place
    EXPECT_EQ(frame->theFile, "run.db2");
    ASSERT_TRUE(frame->log().is_open());
    EXPECT_EQ(frame->log().log_records(), 1);
    EXPECT_EQ(extensions->calls, (std::vector<std::string>{"reset_charts", "plot_data"}));
    EXPECT_FALSE(frame->open_button->isEnabled());
    EXPECT_TRUE(frame->close_button->isEnabled());

    frame->rewind_button->click();
    EXPECT_EQ(frame->log().vxm().vxm_rpms, 4015);
    EXPECT_EQ(frame->log().vxm().vxm_tps, 20);
}

TEST_F(PalmFrontEnd, OpenFileWaitsForTheTransferAndThenFollowsTheLog) {
    standin.hold_fn(1);
    standin.script_no_dump(-104);
    start_transfer(1);
    ASSERT_TRUE(run_events_until_settled([this] { return standin.waiting_fn() == 1; }));
    ASSERT_TRUE(
        run_events_until_settled([this] { return dialog()->eeprom_status->text() == "Press the TRANSFER button"; }));
    EXPECT_FALSE(frame->open_button->isEnabled());
    frame->openButton_mouseClicked();
    EXPECT_TRUE(chooser.requests().empty());

    // Pressed again meanwhile: the progress is shown, not a second start.
    dialog()->hide();
    frame->pnkorv_button->click();
    EXPECT_TRUE(dialog()->isVisible());
    EXPECT_FALSE(dialog()->start_log->isVisible());

    standin.hold_fn(0);
    ASSERT_TRUE(wait_for_end());
    EXPECT_EQ(player_error(), "Palm access error: -104");
    EXPECT_FALSE(dialog()->isVisible());
    EXPECT_TRUE(frame->open_button->isEnabled());
    EXPECT_FALSE(frame->close_button->isEnabled());

    frame->pnkorv_button->click();
    EXPECT_TRUE(dialog()->start_log->isVisible());
    EXPECT_EQ(dialog()->eeprom_status->text(), "Choose the com port & click 'OK'");
}

TEST_F(PalmFrontEnd, ClosingTheOpenLogDuringATransferKeepsOpenFileDisabled) {
    write_two_record_log("old.db1");
    chooser.queue_path(path("old.db1"));
    frame->open_button->click();
    ASSERT_TRUE(frame->log().is_open());

    standin.hold_fn(1);
    standin.script({});
    start_transfer(1);
    ASSERT_TRUE(run_events_until_settled([this] { return standin.waiting_fn() == 1; }));
    frame->close_button->click();
    EXPECT_FALSE(frame->log().is_open());
    EXPECT_FALSE(frame->open_button->isEnabled());

    standin.hold_fn(0);
    ASSERT_TRUE(wait_for_end());
    EXPECT_EQ(player_error(), "No logged data to save!");
    EXPECT_TRUE(frame->open_button->isEnabled());
}

TEST_F(PalmFrontEnd, ALogAlreadyOpenIsClosedBeforeTheNewOneOpens) {
    write_two_record_log("old.db1");
    chooser.queue_path(path("old.db1"));
    frame->open_button->click();
    ASSERT_EQ(frame->log().log_records(), 2);
    extensions->calls.clear();

    standin.script(kExampleDump);
    chooser.queue_path(path("new.db2"));
    start_transfer(1);
    ASSERT_TRUE(wait_for_end());
    EXPECT_EQ(frame->theFile, "new.db2");
    EXPECT_EQ(frame->log().log_records(), 1);
    EXPECT_EQ(extensions->calls, (std::vector<std::string>{"reset_charts", "plot_data"}));
    // The controls still pair with the one open log.
    EXPECT_FALSE(frame->open_button->isEnabled());
    EXPECT_TRUE(frame->close_button->isEnabled());
    frame->close_button->click();
    EXPECT_TRUE(frame->open_button->isEnabled());
    EXPECT_FALSE(frame->close_button->isEnabled());
}

TEST_F(PalmFrontEnd, DumpsWithNothingToSaveAreRefusedBeforeTheSaveDialog) {
    struct Case {
        const char* what;
        Bytes dump;
        bool write;
        std::string message;
    };
    const Case cases[] = {
        {"no dump", {}, false, "No logged data to save!"},
        {"empty dump", {}, true, "No logged data to save!"},
        {"no channels", {1, 0, 9, 0x80}, true, "No logged data to save!"},
        {"header only", {1, 2, 9, 7}, true, "No logged data to save!"},
        {"width 3", {3, 1, 9, 9, 1, 2, 3}, true, unsupported_width_message(3)},
        {"id 99", {1, 2, 9, 99, 9, 0x80, 99, 0x33}, true, "Channel id 99 cannot be stored in a log"},
        {"id 255", {2, 1, 0xFF, 0xFF, 0x1F, 0x40}, true, "Channel id 255 cannot be stored in a log"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(path("kvt1.tmp"));
        if (c.write) {
            standin.script(c.dump);
        } else {
            standin.script_no_dump();
        }
        start_transfer(1);
        ASSERT_TRUE(wait_for_end()) << c.what;
        EXPECT_EQ(player_error().toStdString(), c.message) << c.what;
        EXPECT_TRUE(chooser.requests().empty()) << c.what;
        EXPECT_EQ(std::filesystem::exists(path("kvt1.tmp")), c.write) << c.what;
        EXPECT_TRUE(frame->open_button->isEnabled()) << c.what;
    }
}

TEST_F(PalmFrontEnd, LibraryFailuresAreReportedWhereTheUserLooks) {
    standin.script(kExampleDump, 0, 5);
    start_transfer(1);
    ASSERT_TRUE(wait_for_end());
    EXPECT_EQ(player_error(), "Missing or incorrect version of libkorvio.so");
    EXPECT_TRUE(chooser.requests().empty());
    EXPECT_TRUE(frame->open_button->isEnabled());
}

TEST_F(PalmFrontEnd, MissingLibraryIsReportedThroughTheDialog) {
    const auto missing = korv::KorvioLibrary::load_from("/nonexistent/libkorvio.so");
    frame.reset();
    build(missing.get());
    start_transfer(1);
    ASSERT_TRUE(wait_for_end());
    EXPECT_EQ(dialog_error(), "Wrong or missing library - libkorvio.so!  See README.md for help.");
    EXPECT_TRUE(frame->open_button->isEnabled());
    frame.reset();  // before the binding it was built with
}

TEST_F(PalmFrontEnd, WrongExtensionSavesUnderTheTempNameAndOpensIt) {
    standin.script({2, 1, 9, 9, 0x1F, 0x40});
    chooser.queue_path(path("run.txt"));
    start_transfer(1);
    ASSERT_TRUE(wait_for_end());
    ASSERT_EQ(chooser.requests().size(), 1u);
    EXPECT_EQ(chooser.requests()[0].filters[0].patterns, std::vector<std::string>{"*.db1"});
    EXPECT_EQ(player_error(), "File must end with .db1!  Renamed to temp.db1!");
    EXPECT_FALSE(std::filesystem::exists(path("run.txt")));
    EXPECT_EQ(frame->theFile, "temp.db1");
    ASSERT_TRUE(frame->log().is_open());
    frame->rewind_button->click();
    EXPECT_EQ(frame->log().vxm().vxm_rpms, 2000);
}

TEST_F(PalmFrontEnd, ExistingTempFileIsReplacedOnlyAfterYes) {
    for (const bool replace : {false, true}) {
        std::filesystem::remove(path("chosen.db1"));
        write_bytes(path("temp.db1"), {'o', 'l', 'd'});
        standin.script({2, 1, 9, 9, 0x1F, 0x40});
        chooser = korv::platform::ScriptedFileChooser();
        questions = korv::platform::ScriptedMessageBox();
        chooser.queue_path(path("run.txt"));
        chooser.queue_path(path("chosen.db1"));
        questions.queue_answer(replace ? korv::platform::MessageButton::Yes : korv::platform::MessageButton::No);
        start_transfer(1);
        ASSERT_TRUE(wait_for_end());
        ASSERT_EQ(questions.messages().size(), 1u);
        EXPECT_EQ(questions.messages()[0].text, "temp.db1 already exists. Replace it?");
        EXPECT_EQ(questions.messages()[0].buttons, korv::platform::MessageButtons::YesNo);
        // No: the save dialog again, and the second name is saved and opened.
        EXPECT_EQ(chooser.requests().size(), replace ? 1u : 2u);
        EXPECT_EQ(read_bytes(path("temp.db1")) == Bytes({'o', 'l', 'd'}), !replace);
        EXPECT_EQ(std::filesystem::exists(path("chosen.db1")), !replace);
        EXPECT_EQ(frame->theFile, replace ? "temp.db1" : "chosen.db1");
        ASSERT_TRUE(frame->log().is_open());
    }
}

TEST_F(PalmFrontEnd, ACutShortDumpKeepsItsWholeRecordsAndSaysSo) {
    standin.script({1, 2, 9, 7, 9, 0x80, 7, 0x33, 9, 0x10, 7});
    chooser.queue_path(path("cut.db2"));
    start_transfer(1);
    ASSERT_TRUE(wait_for_end());
    EXPECT_TRUE(player_error().startsWith("Error saving log data: ")) << player_error().toStdString();
    ASSERT_TRUE(frame->log().is_open());
    EXPECT_EQ(frame->log().log_records(), 1);
}

TEST_F(PalmFrontEnd, CancelledSaveWritesAndOpensNothing) {
    standin.script(kExampleDump);
    chooser.queue_cancel();
    start_transfer(1);
    ASSERT_TRUE(wait_for_end());
    EXPECT_FALSE(frame->log().is_open());
    EXPECT_TRUE(extensions->calls.empty());
    EXPECT_EQ(player_error(), QString());
    EXPECT_TRUE(frame->open_button->isEnabled());
}

}  // namespace
