// The save step: names, dialogs and messages.
#include "logger/core/log_saver.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "logger/core/save_names.h"
#include "platform/core/scripted_file_chooser.h"
#include "platform/core/scripted_message_box.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

namespace korv::logger {
namespace {

using testsupport::read_bytes;
using testsupport::TempFolder;
using testsupport::write_bytes;

TEST(LoggerSaveNames, TheTypesExtensionInAnyCaseIsKeptAsTyped) {
    EXPECT_EQ(resolve_save_target(LogType::obd, "/logs/Run.DB1").path, "/logs/Run.DB1");
    EXPECT_FALSE(resolve_save_target(LogType::obd, "/logs/Run.DB1").renamed_message);
    EXPECT_EQ(resolve_save_target(LogType::dsm, "/logs/a.Db2").path, "/logs/a.Db2");
}

TEST(LoggerSaveNames, AnyOtherEndingBecomesTheFallbackInTheSameFolder) {
    const SaveTarget obd = resolve_save_target(LogType::obd, "/logs/run.db2");
    EXPECT_EQ(obd.path, "/logs/temp.db1");
    EXPECT_EQ(obd.renamed_message, "File must end with .db1!  Renamed to temp.db1!");
    EXPECT_EQ(resolve_save_target(LogType::dsm, "/x/run").path, "/x/temp.db2");
    EXPECT_EQ(resolve_save_target(LogType::dsm, "/x/run").renamed_message,
              "File must end with .db2!  Renamed to temp.db2!");
    EXPECT_EQ(resolve_save_target(LogType::pms, "run.db1").path, "temp.db3");
    // The extension is judged on the file's name, not on its folder.
    EXPECT_EQ(resolve_save_target(LogType::obd, "/a.db1/run").path, "/a.db1/temp.db1");
}

class LoggerSaveStep : public ::testing::Test {
protected:
    void save(LogType type) {
        save_log_file(type, folder.path(), chooser, questions, [this](const std::string& m) { messages.push_back(m); });
    }
    std::vector<std::string> questions_asked() const {
        std::vector<std::string> texts;
        for (const platform::ShownMessage& shown : questions.messages()) {
            EXPECT_EQ(shown.buttons, platform::MessageButtons::YesNo) << shown.text;
            texts.push_back(shown.text);
        }
        return texts;
    }
    TempFolder folder;
    platform::ScriptedFileChooser chooser;
    platform::ScriptedMessageBox questions;
    std::vector<std::string> messages;
};

TEST_F(LoggerSaveStep, MissingDumpIsReportedAndNoDialogIsShown) {
    chooser.queue_path(folder.file("run.db1"));
    save(LogType::obd);
    EXPECT_EQ(messages, std::vector<std::string>{"No logged data to save!"});
    EXPECT_TRUE(chooser.requests().empty());
}

TEST_F(LoggerSaveStep, AFolderInPlaceOfTheDumpCountsAsMissing) {
    std::filesystem::create_directory(folder.file("kvt2.tmp"));
    save(LogType::dsm);
    EXPECT_EQ(messages, std::vector<std::string>{"No logged data to save!"});
}

TEST_F(LoggerSaveStep, DialogAsksForTheTypesPattern) {
    write_bytes(folder.file("kvt2.tmp"), {0x01, 0, 0, 0, 0x09, 0x09, 0x40});
    chooser.queue_cancel();
    save(LogType::dsm);
    ASSERT_EQ(chooser.requests().size(), 1u);
    const platform::FileChooserRequest& asked = chooser.requests()[0];
    EXPECT_EQ(asked.mode, platform::FileChooserMode::Save);
    EXPECT_EQ(asked.title, "Save Log File");
    ASSERT_EQ(asked.filters.size(), 1u);
    EXPECT_EQ(asked.filters[0].patterns, std::vector<std::string>{"*.db2"});
    // Cancelled: nothing written, the dump stays.
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST_F(LoggerSaveStep, WrongEndingIsReportedAndTheSaveGoesOnUnderTheFallback) {
    write_bytes(folder.file("kvt1.tmp"), {0x01, 0, 0, 0, 0x09, 0x09, 0x1F, 0x40});
    write_bytes(folder.file("temp.db1"), {'o', 'l', 'd'});
    chooser.queue_path(folder.file("run.log"));
    save(LogType::obd);
    EXPECT_EQ(messages, std::vector<std::string>{"File must end with .db1!  Renamed to temp.db1!"});
    EXPECT_FALSE(std::filesystem::exists(folder.file("run.log")));
    EXPECT_EQ(read_bytes(folder.file("temp.db1")).size(), 13u + 30u + 8u);
    EXPECT_TRUE(std::filesystem::exists(folder.file("kvt1.tmp")));  // the dump is kept
}

TEST_F(LoggerSaveStep, EmptyDumpWritesNothingAndSaysSoBeforeTheDialog) {
    write_bytes(folder.file("kvt1.tmp"), {});
    chooser.queue_path(folder.file("run.db1"));
    save(LogType::obd);
    EXPECT_EQ(messages, std::vector<std::string>{"No logged data to save!"});
    EXPECT_TRUE(chooser.requests().empty());
    EXPECT_FALSE(std::filesystem::exists(folder.file("run.db1")));
}

TEST_F(LoggerSaveStep, CutShortDumpIsReportedWithThePrefix) {
    write_bytes(folder.file("kvt1.tmp"), {0x01, 0, 0, 0, 0x09, 0x09, 0x1F, 0x40, 0x09, 0x1F});
    chooser.queue_path(folder.file("run.db1"));
    save(LogType::obd);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("Error saving log data: ", 0), 0u) << messages[0];
    EXPECT_EQ(read_bytes(folder.file("run.db1")).size(), 13u + 30u + 8u);
}

TEST_F(LoggerSaveStep, FolderThatCannotBeWrittenIsReported) {
    write_bytes(folder.file("kvt1.tmp"), {0x01, 0, 0, 0, 0x09, 0x09, 0x1F, 0x40});
    chooser.queue_path(folder.file("no-such-folder/run.db1"));
    save(LogType::obd);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("Error saving log data: ", 0), 0u) << messages[0];
}

TEST_F(LoggerSaveStep, DumpWithoutAWholeRecordIsNotOfferedForSaving) {
    struct Case {
        const char* what;
        LogType type;
        testsupport::Bytes dump;
    };
    const Case cases[] = {
        {"head only", LogType::obd, {0x02, 0, 0, 0, 0x09, 0x03}},
        {"cut inside the first record", LogType::obd, {0x02, 0, 0, 0, 0x09, 0x03, 0x09, 0x1F, 0x40, 0x03, 0x00}},
        {"cut inside the channel list", LogType::dsm, {0x02, 0, 0, 0, 0x09}},
        {"cut inside the count", LogType::dsm, {0x01, 0}},
        {"no channels", LogType::dsm, {0x00, 0, 0, 0, 0x09, 0x40}},
    };
    for (const Case& c : cases) {
        const std::string dump = folder.file(std::string(traits_of(c.type).dump_name));
        write_bytes(dump, c.dump);
        messages.clear();
        chooser.queue_path(folder.file("run.db1"));
        save(c.type);
        EXPECT_EQ(messages, std::vector<std::string>{"No logged data to save!"}) << c.what;
        EXPECT_EQ(chooser.requests().size(), 0u) << c.what;
        EXPECT_EQ(read_bytes(dump), c.dump) << c.what;
        std::filesystem::remove(dump);
        chooser = platform::ScriptedFileChooser();
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 0);
}

TEST_F(LoggerSaveStep, ChannelIdBeyondTheLogFormatIsRefusedBeforeTheDialog) {
    for (const std::uint8_t id : {99, 200}) {
        chooser = platform::ScriptedFileChooser();
        const testsupport::Bytes dump{0x02, 0, 0, 0, 0x09, id, 0x09, 0x1F, 0x40, id, 0x00, 0x10};
        write_bytes(folder.file("kvt1.tmp"), dump);
        messages.clear();
        chooser.queue_path(folder.file("run.db1"));
        save(LogType::obd);
        EXPECT_EQ(messages,
                  std::vector<std::string>{"Channel id " + std::to_string(id) + " cannot be stored in a log"});
        EXPECT_TRUE(chooser.requests().empty());
        EXPECT_FALSE(std::filesystem::exists(folder.file("run.db1")));
        EXPECT_EQ(read_bytes(folder.file("kvt1.tmp")), dump);
    }
    // The highest id the format holds is saved.
    write_bytes(folder.file("kvt2.tmp"), {0x01, 0, 0, 0, 98, 98, 0x07});
    chooser = platform::ScriptedFileChooser();
    chooser.queue_path(folder.file("run.db2"));
    messages.clear();
    save(LogType::dsm);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(std::filesystem::exists(folder.file("run.db2")));
}

TEST_F(LoggerSaveStep, CancelledDialogAsksBeforeTheRunIsDiscarded) {
    write_bytes(folder.file("kvt1.tmp"), {0x01, 0, 0, 0, 0x09, 0x09, 0x1F, 0x40});
    // No: the dialog comes back and the second answer is saved.
    chooser.queue_cancel();
    chooser.queue_path(folder.file("kept.db1"));
    questions.queue_answer(platform::MessageButton::No);
    save(LogType::obd);
    EXPECT_EQ(questions_asked(), std::vector<std::string>{"Discard the logged data?"});
    EXPECT_EQ(chooser.requests().size(), 2u);
    EXPECT_EQ(read_bytes(folder.file("kept.db1")).size(), 13u + 30u + 8u);

    // Yes: nothing is written and the dialog is not shown again.
    chooser = platform::ScriptedFileChooser();
    questions = platform::ScriptedMessageBox();
    chooser.queue_cancel();
    chooser.queue_path(folder.file("other.db1"));
    questions.queue_answer(platform::MessageButton::Yes);
    save(LogType::obd);
    EXPECT_EQ(questions_asked(), std::vector<std::string>{"Discard the logged data?"});
    EXPECT_EQ(chooser.requests().size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(folder.file("other.db1")));
    EXPECT_TRUE(messages.empty());
}

TEST_F(LoggerSaveStep, ExistingFallbackIsReplacedOnlyAfterYes) {
    struct Case {
        LogType type;
        platform::MessageButton answer;
        std::string fallback;
        std::string question;
    };
    const Case cases[] = {
        {LogType::obd, platform::MessageButton::No, "temp.db1", "temp.db1 already exists. Replace it?"},
        {LogType::dsm, platform::MessageButton::No, "temp.db2", "temp.db2 already exists. Replace it?"},
        {LogType::obd, platform::MessageButton::Yes, "temp.db1", "temp.db1 already exists. Replace it?"},
    };
    for (const Case& c : cases) {
        chooser = platform::ScriptedFileChooser();
        questions = platform::ScriptedMessageBox();
        messages.clear();
        const std::string ext = std::string(traits_of(c.type).extension);
        write_bytes(folder.file(std::string(traits_of(c.type).dump_name)), {0x01, 0, 0, 0, 0x09, 0x09, 0x1F, 0x40});
        write_bytes(folder.file(c.fallback), {'o', 'l', 'd'});
        std::filesystem::remove(folder.file("chosen" + ext));
        chooser.queue_path(folder.file("run.txt"));
        chooser.queue_path(folder.file("chosen" + ext));
        questions.queue_answer(c.answer);
        save(c.type);
        EXPECT_EQ(questions_asked(), std::vector<std::string>{c.question});
        EXPECT_EQ(messages, std::vector<std::string>{renamed_message(c.type)});
        const bool replaced = c.answer == platform::MessageButton::Yes;
        EXPECT_EQ(read_bytes(folder.file(c.fallback)) == testsupport::Bytes({'o', 'l', 'd'}), !replaced);
        EXPECT_EQ(chooser.requests().size(), replaced ? 1u : 2u);
        EXPECT_EQ(std::filesystem::exists(folder.file("chosen" + ext)), !replaced);
    }
}

TEST_F(LoggerSaveStep, FreshFallbackNameAsksNothing) {
    write_bytes(folder.file("kvt1.tmp"), {0x01, 0, 0, 0, 0x09, 0x09, 0x1F, 0x40});
    chooser.queue_path(folder.file("run.txt"));
    save(LogType::obd);
    EXPECT_TRUE(questions.messages().empty());
    EXPECT_TRUE(std::filesystem::exists(folder.file("temp.db1")));
}

// A question withdrawn because the window goes away is neither Yes nor No.
struct WithdrawnQuestions final : platform::MessageBox {
    platform::MessageButton show(std::string_view, std::string_view, platform::MessageButtons,
                                 platform::MessageIcon) override {
        ++asked;
        return platform::MessageButton::Cancel;
    }
    int asked = 0;
};

TEST_F(LoggerSaveStep, WithdrawnQuestionEndsTheSaveWithNothingWritten) {
    write_bytes(folder.file("kvt1.tmp"), {0x01, 0, 0, 0, 0x09, 0x09, 0x1F, 0x40});
    write_bytes(folder.file("temp.db1"), {'o', 'l', 'd'});
    WithdrawnQuestions withdrawn;
    for (bool cancel : {true, false}) {
        chooser = platform::ScriptedFileChooser();
        if (cancel) {
            chooser.queue_cancel();
        } else {
            chooser.queue_path(folder.file("run.txt"));
        }
        chooser.queue_path(folder.file("never.db1"));
        save_log_file(LogType::obd, folder.path(), chooser, withdrawn, [](const std::string&) {});
        EXPECT_EQ(chooser.requests().size(), 1u);
    }
    EXPECT_EQ(withdrawn.asked, 2);
    EXPECT_EQ(read_bytes(folder.file("temp.db1")), testsupport::Bytes({'o', 'l', 'd'}));
    EXPECT_FALSE(std::filesystem::exists(folder.file("never.db1")));
}

}  // namespace
}  // namespace korv::logger
