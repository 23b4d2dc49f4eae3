// The one command table: ids, owners and the capture and review windows'
// menus and toolbars.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "boxlogger/core/command_table.h"
#include "boxlogger/core/frame_menus.h"

namespace korv::boxlogger {
namespace {

bool holds(const std::vector<int>& ids, int id) { return std::ranges::find(ids, id) != ids.end(); }

TEST(CommandTable, EveryIdIsOneCommand) {
    std::set<int> seen;
    for (const CommandEntry& row : command_table()) EXPECT_TRUE(seen.insert(row.id).second) << row.id;
    for (const FrameKind frame : {kCaptureFrame, kReviewFrame}) {
        std::set<int> in_frame;
        for (int id : frame_menu_commands(frame)) EXPECT_TRUE(in_frame.insert(id).second) << frame << ": " << id;
    }
}

TEST(CommandTable, OwnersSplitTheDocumentsAndTheChartsCommands) {
    struct Case {
        CommandOwner owner;
        std::vector<int> ids;
    };
    const Case cases[] = {
        {CommandOwner::Document,
         {cmd::kStart, cmd::kStop, cmd::kPause, cmd::kClear, cmd::kSelect, cmd::kTriggers, cmd::kFileSave,
          cmd::kFileSaveAs, cmd::kExportCsv, cmd::kFileSend}},
        {CommandOwner::Chart,
         {cmd::kExportImage, cmd::kFilePrint, cmd::kFilePrintPreview, cmd::kFilePrintSetup, cmd::kTimeScaling,
          cmd::kTitleChange, cmd::kShrink, cmd::kExpand, cmd::kForward, cmd::kBack}},
    };
    for (const Case& c : cases) {
        std::vector<int> owned;
        for (const CommandEntry& row : command_table())
            if (row.owner == c.owner) owned.push_back(row.id);
        std::ranges::sort(owned);
        std::vector<int> expected = c.ids;
        std::ranges::sort(expected);
        EXPECT_EQ(owned, expected);
    }
    EXPECT_EQ(command_owner(cmd::kQuickSelect1), CommandOwner::Program) << "the sets have their own states";
    EXPECT_EQ(command_owner(cmd::kFileNew), CommandOwner::Program);
}

TEST(CommandTable, PromptsSplitIntoStatusTextAndTip) {
    EXPECT_EQ(command_prompt_text(cmd::kFileSave), "Save the active document\nSave");
    EXPECT_EQ(command_prompt_text(cmd::kShrink), "Shrink the Time Axis");
    EXPECT_EQ(command_prompt_text(cmd::kFileRecent1 + cmd::kRecentFiles - 1), "Open this document");
    EXPECT_EQ(command_prompt_text(cmd::kFileRecent1 + cmd::kRecentFiles), "");
    EXPECT_EQ(command_prompt_text(cmd::kQuickSelect1), "");
}

TEST(FrameMenus, EachWindowCarriesItsOwnCommands) {
    struct Case {
        FrameKind frame;
        std::vector<int> present;
        std::vector<int> absent;
        std::vector<int> toolbar;
    };
    const Case cases[] = {
        {kCaptureFrame,
         {cmd::kFileNew, cmd::kStart, cmd::kStop, cmd::kPause, cmd::kClear, cmd::kSelect, cmd::kTriggers,
          cmd::kQuickSelect1 + 4, cmd::kViewStatusBar, cmd::kExportImage, cmd::kBack, cmd::kHelp, cmd::kContextHelp},
         {cmd::kFileOpen, cmd::kFileRecent1},
         {cmd::kFileNew, cmd::kFileSave, cmd::kStop, cmd::kPause, cmd::kStart, cmd::kFilePrint, cmd::kAppAbout,
          cmd::kContextHelp}},
        {kReviewFrame,
         {cmd::kFileOpen, cmd::kFileRecent1, cmd::kFileRecent1 + 5, cmd::kFileSave, cmd::kExportCsv, cmd::kTitleChange,
          cmd::kHelpFinder},
         {cmd::kFileNew, cmd::kStart, cmd::kSelect, cmd::kQuickSelect1, cmd::kViewStatusBar},
         {cmd::kFileOpen, cmd::kFileSave, cmd::kFilePrint, cmd::kAppAbout, cmd::kContextHelp}},
    };
    for (const Case& c : cases) {
        const std::vector<int> menus = frame_menu_commands(c.frame);
        for (int id : c.present) EXPECT_TRUE(holds(menus, id)) << c.frame << ": " << id;
        for (int id : c.absent) EXPECT_FALSE(holds(menus, id)) << c.frame << ": " << id;
        EXPECT_EQ(frame_toolbar_commands(c.frame), c.toolbar) << c.frame;
        // A button shows an entry of the frame's menus or keys.
        for (int id : c.toolbar) EXPECT_TRUE(holds(menus, id)) << c.frame << ": " << id;
    }
}

TEST(FrameMenus, EveryEntryHasAPromptRowAndSubmenusClose) {
    int depth = 0;
    for (const MenuRow& row : frame_menu_rows()) {
        if (row.kind == MenuRowKind::Command || row.kind == MenuRowKind::KeyOnly) {
            EXPECT_NE(find_command(row.id), nullptr) << row.text;
        }
        if (row.kind == MenuRowKind::Submenu) ++depth;
        if (row.kind == MenuRowKind::EndSubmenu) --depth;
        if (row.kind == MenuRowKind::Menu) {
            EXPECT_EQ(depth, 0) << row.text;
        }
        EXPECT_GE(depth, 0);
        EXPECT_LE(depth, 1);
    }
    EXPECT_EQ(depth, 0);
}

}  // namespace
}  // namespace korv::boxlogger
