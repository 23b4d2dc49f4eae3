// The save step: names, dialogs and messages.
#include "logger/core/log_saver.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "logger/core/save_names.h"
#include "platform/core/scripted_file_chooser.h"
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
        save_log_file(type, folder.path(), chooser, [this](const std::string& m) { messages.push_back(m); });
    }
    TempFolder folder;
    platform::ScriptedFileChooser chooser;
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

TEST_F(LoggerSaveStep, EmptyDumpWritesNothingAndSaysNothing) {
    write_bytes(folder.file("kvt1.tmp"), {});
    chooser.queue_path(folder.file("run.db1"));
    save(LogType::obd);
    EXPECT_TRUE(messages.empty());
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
    write_bytes(folder.file("kvt1.tmp"), {0x01, 0, 0, 0, 0x09});
    chooser.queue_path(folder.file("no-such-folder/run.db1"));
    save(LogType::obd);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("Error saving log data: ", 0), 0u) << messages[0];
}

}  // namespace
}  // namespace korv::logger
