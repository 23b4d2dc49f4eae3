#pragma once
// Command ids of VXMlog's menus, toolbars, accelerators and buttons.
namespace korv::boxlogger::cmd {

inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileClose = 57602;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kFilePrintSetup = 57606;
inline constexpr int kFilePrint = 57607;
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
inline constexpr int kTitleChange = 32795;
inline constexpr int kShrink = 32796;
inline constexpr int kExpand = 32798;
inline constexpr int kForward = 32799;
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

}  // namespace korv::boxlogger::cmd
