#pragma once
// The menus and toolbars of the capture window and the review windows, one
// table for both: each row says which of the two windows has it.
#include <span>
#include <string_view>
#include <vector>

namespace korv::boxlogger {

enum FrameKind : unsigned { kCaptureFrame = 1u, kReviewFrame = 2u };
inline constexpr unsigned kBothFrames = kCaptureFrame | kReviewFrame;

enum class MenuRowKind {
    Menu,     // a menu on the bar, named by text; the rows up to the next one fill it
    Submenu,  // a submenu of the current menu, named by text, up to EndSubmenu
    EndSubmenu,
    Command,  // id, text, shortcut, checkable
    Separator,
    QuickSelects,  // the five quick-select entries
    RecentFiles,   // a marked separator and the six recent-file entries, hidden until filled
    KeyOnly,       // a command reached by its key alone: id, text, shortcut
};

struct MenuRow {
    unsigned frames;
    MenuRowKind kind;
    std::string_view text = {};
    int id = 0;
    std::string_view shortcut = {};  // portable key text ("Ctrl+S"), empty for none
    bool checkable = false;
};

// A toolbar button's command, or 0 for a separator.
struct ToolbarRow {
    unsigned frames;
    int id;
};

std::span<const MenuRow> frame_menu_rows();
std::span<const ToolbarRow> frame_toolbar_rows();

// The command ids a frame's menus (the five quick selects and six recent
// files included) and its toolbar carry, in table order.
std::vector<int> frame_menu_commands(FrameKind frame);
std::vector<int> frame_toolbar_commands(FrameKind frame);

}  // namespace korv::boxlogger
