#include "boxlogger/core/frame_menus.h"

#include <array>

#include "boxlogger/core/command_table.h"
#include "boxlogger/core/quick_select.h"

namespace korv::boxlogger {

namespace {

using enum MenuRowKind;
constexpr unsigned kCapture = kCaptureFrame;
constexpr unsigned kReview = kReviewFrame;
constexpr unsigned kBoth = kBothFrames;

constexpr std::array kMenuRows{
    MenuRow{kBoth, Menu, "&File"},
    MenuRow{kCapture, Command, "&New", cmd::kFileNew, "Ctrl+N"},
    MenuRow{kReview, Command, "&Open...", cmd::kFileOpen, "Ctrl+O"},
    MenuRow{kBoth, Command, "&Save", cmd::kFileSave, "Ctrl+S"},
    MenuRow{kBoth, Command, "Save &As...", cmd::kFileSaveAs},
    MenuRow{kBoth, Command, "E&xport to CSV...", cmd::kExportCsv},
    MenuRow{kBoth, Command, "Export &Image...", cmd::kExportImage},
    MenuRow{kBoth, Separator},
    MenuRow{kBoth, Command, "&Print...", cmd::kFilePrint, "Ctrl+P"},
    MenuRow{kBoth, Command, "Print Pre&view", cmd::kFilePrintPreview},
    MenuRow{kBoth, Command, "P&rint Setup...", cmd::kFilePrintSetup},
    MenuRow{kBoth, Separator},
    MenuRow{kBoth, Command, "Sen&d...", cmd::kFileSend},
    MenuRow{kCapture, Separator},
    MenuRow{kReview, RecentFiles},
    MenuRow{kReview, Separator},
    MenuRow{kBoth, Command, "&Close", cmd::kFileClose},

    MenuRow{kBoth, Menu, "&View"},
    MenuRow{kBoth, Command, "&Toolbar", cmd::kViewToolbar, {}, true},
    MenuRow{kCapture, Command, "&Status Bar", cmd::kViewStatusBar, {}, true},
    MenuRow{kBoth, Command, "&Quick Selects", cmd::kToggleQuickSelectBar, {}, true},
    MenuRow{kBoth, Command, "&Preferences", cmd::kViewPreferences},

    MenuRow{kCapture, Menu, "&Data"},
    MenuRow{kCapture, Command, "Se&lect...", cmd::kSelect},
    MenuRow{kCapture, Command, "Tri&ggers...", cmd::kTriggers},
    MenuRow{kCapture, Submenu, "&Quick Selects"},
    MenuRow{kCapture, QuickSelects},
    MenuRow{kCapture, EndSubmenu},
    MenuRow{kCapture, Command, "&Clear", cmd::kClear},
    MenuRow{kCapture, Separator},
    MenuRow{kCapture, Command, "S&top", cmd::kStop, "Alt+Space"},
    MenuRow{kCapture, Command, "&Start", cmd::kStart, "Space"},
    MenuRow{kCapture, Command, "&Pause", cmd::kPause},

    MenuRow{kBoth, Menu, "&Chart"},
    MenuRow{kBoth, Submenu, "T&itle"},
    MenuRow{kBoth, Command, "Change", cmd::kTitleChange},
    MenuRow{kBoth, EndSubmenu},
    MenuRow{kBoth, Submenu, "&Time Axis"},
    MenuRow{kBoth, Command, "&Scaling...", cmd::kTimeScaling},
    MenuRow{kBoth, Command, "S&hrink", cmd::kShrink, "Ctrl+Left"},
    MenuRow{kBoth, Command, "E&xpand", cmd::kExpand, "Ctrl+Right"},
    MenuRow{kBoth, Command, "&Forward", cmd::kForward, "Right"},
    MenuRow{kBoth, Command, "&Back", cmd::kBack, "Left"},
    MenuRow{kBoth, EndSubmenu},

    MenuRow{kBoth, Menu, "&Help"},
    MenuRow{kBoth, Command, "&Help Topics", cmd::kHelpFinder},
    MenuRow{kBoth, Separator},
    MenuRow{kBoth, Command, "&About VXMlog...", cmd::kAppAbout},
    MenuRow{kBoth, KeyOnly, "Help", cmd::kHelp, "F1"},
    MenuRow{kBoth, KeyOnly, "Help", cmd::kContextHelp, "Shift+F1"},
};

constexpr std::array kToolbarRows{
    ToolbarRow{kCapture, cmd::kFileNew},  ToolbarRow{kReview, cmd::kFileOpen},
    ToolbarRow{kBoth, cmd::kFileSave},    ToolbarRow{kBoth, 0},
    ToolbarRow{kCapture, cmd::kStop},     ToolbarRow{kCapture, cmd::kPause},
    ToolbarRow{kCapture, cmd::kStart},    ToolbarRow{kCapture, 0},
    ToolbarRow{kBoth, cmd::kFilePrint},   ToolbarRow{kBoth, cmd::kAppAbout},
    ToolbarRow{kBoth, cmd::kContextHelp},
};

}  // namespace

std::span<const MenuRow> frame_menu_rows() { return kMenuRows; }
std::span<const ToolbarRow> frame_toolbar_rows() { return kToolbarRows; }

std::vector<int> frame_menu_commands(FrameKind frame) {
    std::vector<int> ids;
    for (const MenuRow& row : kMenuRows) {
        if ((row.frames & frame) == 0) continue;
        switch (row.kind) {
        case Command:
        case KeyOnly: ids.push_back(row.id); break;
        case QuickSelects:
            for (int i = 0; i < CQuickSelect::kSets; ++i) ids.push_back(cmd::kQuickSelect1 + i);
            break;
        case RecentFiles:
            for (int i = 0; i < cmd::kRecentFiles; ++i) ids.push_back(cmd::kFileRecent1 + i);
            break;
        default: break;
        }
    }
    return ids;
}

std::vector<int> frame_toolbar_commands(FrameKind frame) {
    std::vector<int> ids;
    for (const ToolbarRow& row : kToolbarRows)
        if ((row.frames & frame) != 0 && row.id != 0) ids.push_back(row.id);
    return ids;
}

}  // namespace korv::boxlogger
