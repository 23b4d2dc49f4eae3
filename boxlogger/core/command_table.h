#pragma once
// VXMlog's commands: the ids its menus, toolbars, keys, buttons and chart
// menus send, and for each command of a capture or review window its status
// prompt and whether the window's document or its chart decides its state.
// The document, the chart and the frames all take their ids from here.
#include <span>
#include <string_view>

namespace korv::boxlogger {

namespace cmd {

inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileClose = 57602;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kFilePrintSetup = 57606;
inline constexpr int kFilePrint = 57607;
inline constexpr int kFilePrintDirect = 57608;
inline constexpr int kFilePrintPreview = 57609;
inline constexpr int kFileSend = 57612;
inline constexpr int kFileRecent1 = 57616;  // to 57621
inline constexpr int kRecentFiles = 6;
inline constexpr int kAppAbout = 57664;
inline constexpr int kHelpFinder = 57667;
inline constexpr int kHelp = 57670;
inline constexpr int kContextHelp = 57671;
inline constexpr int kViewToolbar = 59392;
inline constexpr int kViewStatusBar = 59393;

inline constexpr int kDrb2 = 32774;
inline constexpr int kSelect = 32776;
inline constexpr int kClear = 32777;
inline constexpr int kStop = 32778;
inline constexpr int kStart = 32779;
inline constexpr int kPause = 32780;
inline constexpr int kTimeScaling = 32786;
inline constexpr int kTraceHide = 32787;  // the trace-width menu: hide, thin, thick
inline constexpr int kTraceThin = 32788;
inline constexpr int kTraceThick = 32789;
inline constexpr int kTitleChange = 32795;
inline constexpr int kShrink = 32796;
inline constexpr int kExpand = 32798;
inline constexpr int kForward = 32799;
inline constexpr int kColourFirst = 32800;  // the colour menu's 16 entries
inline constexpr int kColourLast = 32815;
inline constexpr int kBack = 32820;
inline constexpr int kExportCsv = 32822;
inline constexpr int kExportImage = 32823;
inline constexpr int kToggleQuickSelectBar = 32825;
inline constexpr int kTriggers = 32829;
inline constexpr int kLoggerPreferences = 32831;
inline constexpr int kViewPreferences = 32832;
inline constexpr int kTuningVariables = 32833;
inline constexpr int kQuickSelect1 = 1079;  // to 1083

inline constexpr int kConnect = 1113;
inline constexpr int kDescribeCar = 1114;
inline constexpr int kCollectData = 1115;
inline constexpr int kReviewData = 1116;

// Status panes.
inline constexpr int kPaneValue = 59143;
inline constexpr int kPaneRate = 59142;

}  // namespace cmd

// Who decides a command's state in a capture or review window.
enum class CommandOwner {
    Program,   // the application: enabled, but for File New while a capture is open
    Document,  // the window's document
    Chart,     // the window's chart view
};

struct CommandEntry {
    int id;
    CommandOwner owner;
    // "status prompt\ntool tip", the prompt alone, or empty.
    std::string_view prompt;
};

std::span<const CommandEntry> command_table();
// The row of an id; null for ids without one (quick selects, recent files,
// the chart's own menus, the command screen's buttons).
const CommandEntry* find_command(int id);
CommandOwner command_owner(int id);
std::string_view command_prompt_text(int id);

}  // namespace korv::boxlogger
