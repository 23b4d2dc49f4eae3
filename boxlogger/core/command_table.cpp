#include "boxlogger/core/command_table.h"

#include <algorithm>
#include <array>

namespace korv::boxlogger {

namespace {

using enum CommandOwner;

constexpr std::array kCommands{
    CommandEntry{cmd::kFileNew, Program, "Create a new document\nNew"},
    CommandEntry{cmd::kFileOpen, Program, "Open an existing document\nOpen"},
    CommandEntry{cmd::kFileClose, Program, "Close the active document\nClose"},
    CommandEntry{cmd::kFileSave, Document, "Save the active document\nSave"},
    CommandEntry{cmd::kFileSaveAs, Document, "Save the active document with a new name\nSave As"},
    CommandEntry{cmd::kFilePrintSetup, Chart, "Change the printer and printing options\nPage Setup"},
    CommandEntry{cmd::kFilePrint, Chart, "Print the active document\nPrint"},
    CommandEntry{cmd::kFilePrintPreview, Chart, "Display full pages\nPrint Preview"},
    CommandEntry{cmd::kFileSend, Document, "Send the active document through electronic mail\nSend"},
    CommandEntry{cmd::kAppAbout, Program, "Display program information, version number and copyright\nAbout"},
    CommandEntry{cmd::kHelpFinder, Program, "List Help topics\nHelp Topics"},
    CommandEntry{cmd::kHelp, Program, "Display help for current task or command\nHelp"},
    CommandEntry{cmd::kContextHelp, Program, "Display help for clicked on buttons, menus and windows\nHelp"},
    CommandEntry{cmd::kViewToolbar, Program, "Show or hide the toolbar\nToggle ToolBar"},
    CommandEntry{cmd::kViewStatusBar, Program, "Show or hide the status bar\nToggle StatusBar"},
    CommandEntry{cmd::kDrb2, Program, "Enter DRB II emulation mode\nDRB II emulators"},
    CommandEntry{cmd::kSelect, Document, "Choose which data to display\nSelect"},
    CommandEntry{cmd::kClear, Document, "Clear captured data\nClear"},
    CommandEntry{cmd::kStop, Document, "Stop data capture\nStop"},
    CommandEntry{cmd::kStart, Document, "Start data capture\nStart"},
    CommandEntry{cmd::kPause, Document, "Pause data capture\nPause"},
    CommandEntry{cmd::kTimeScaling, Chart, "Set the scale of the Time Axis"},
    CommandEntry{cmd::kTitleChange, Chart, "Change the Title"},
    CommandEntry{cmd::kShrink, Chart, "Shrink the Time Axis"},
    CommandEntry{cmd::kExpand, Chart, "Expand the Time Axis"},
    CommandEntry{cmd::kForward, Chart, "Go Forward in Time"},
    CommandEntry{cmd::kBack, Chart, "Go Back in Time"},
    CommandEntry{cmd::kExportCsv, Document, "Export the data to Spreadsheet format\nCSV Export"},
    CommandEntry{cmd::kExportImage, Chart, "Save as a PNG file for Internet display\nMake PNG"},
    CommandEntry{cmd::kToggleQuickSelectBar, Program, "Show or hide the Quick Selects\nToggle Quick Select Bar"},
    CommandEntry{cmd::kTriggers, Document, "Modify data triggers\nTriggers"},
    CommandEntry{cmd::kLoggerPreferences, Program, ""},
    CommandEntry{cmd::kViewPreferences, Program, ""},
    CommandEntry{cmd::kTuningVariables, Program, "Alter ECU tuning variables\nTuning Variables"},
};

constexpr std::string_view kRecentFilePrompt = "Open this document";

}  // namespace

std::span<const CommandEntry> command_table() { return kCommands; }

const CommandEntry* find_command(int id) {
    const auto* row = std::ranges::find(kCommands, id, &CommandEntry::id);
    return row == kCommands.end() ? nullptr : row;
}

CommandOwner command_owner(int id) {
    const CommandEntry* row = find_command(id);
    return row != nullptr ? row->owner : Program;
}

std::string_view command_prompt_text(int id) {
    if (const CommandEntry* row = find_command(id)) return row->prompt;
    if (id >= cmd::kFileRecent1 && id < cmd::kFileRecent1 + cmd::kRecentFiles) return kRecentFilePrompt;
    return {};
}

}  // namespace korv::boxlogger
