#pragma once
// VXMlog's own settings beside the channel descriptions and quick selects:
// the port, the two chart colours (Settings), the three window placements
// (State) and the review windows' recent files (Recent File List). Whatever
// is read is sanitised, so a hand-edited or damaged store never puts a window
// off every screen, opens a port that does not exist or lists an empty entry.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "boxlogger/core/command_table.h"
#include "platform/core/settings_store.h"

namespace korv::boxlogger {

inline const platform::SettingsPath kSettingsKey{"Settings"};
inline const platform::SettingsPath kStateKey{"State"};

// The 16 entries of the colour menu (commands cmd::kColourFirst on), stored
// as 0x00BBGGRR.
inline constexpr int kColorMenuEntries = cmd::kColourLast - cmd::kColourFirst + 1;
struct ColorMenuEntry {
    const char* name;
    std::uint32_t bgr;
};
extern const std::array<ColorMenuEntry, kColorMenuEntries> kColorMenu;
// The colour of menu entry n (0-15); out of range gives entry 0.
std::uint32_t color_of_menu_index(int n);

inline constexpr std::uint32_t kDefaultBackground = 0x000000;  // Black
inline constexpr std::uint32_t kDefaultForeground = 0x808080;  // Gray

// A window's placement as ten integers: flags, show state, minimised and
// maximised positions, then the normal rectangle (left, top, right, bottom).
struct WindowPlacement {
    static constexpr int kRestoreToMaximized = 2;  // in flags
    static constexpr int kShowNormal = 1;
    static constexpr int kShowMinimized = 2;
    static constexpr int kShowMaximized = 3;

    std::int32_t flags = 0;
    std::int32_t show = kShowNormal;
    std::int32_t min_x = -1, min_y = -1, max_x = -1, max_y = -1;
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;

    // No placement while left equals right.
    bool valid() const { return left != right; }
    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
    bool operator==(const WindowPlacement&) const = default;
};

// "%d:%d:...:%d" with all ten integers; anything else (fewer or more
// integers, stray text, 100 bytes or more, a normal rectangle with no area)
// gives nullopt.
std::optional<WindowPlacement> parse_placement(std::string_view text);
std::string format_placement(const WindowPlacement& placement);

struct ScreenRect {
    int left = 0, top = 0, width = 0, height = 0;
};
// Moves the normal rectangle onto the screen it overlaps most (the first
// screen when it overlaps none), shrinking it to fit that screen.
WindowPlacement place_on_screens(WindowPlacement placement, const std::vector<ScreenRect>& screens);

enum class PlacementSlot { MainWindow, CaptureWindow, ReviewWindow };
inline constexpr int kPlacementSlots = 3;
const char* placement_value_name(PlacementSlot slot);

struct AppSettings {
    std::int32_t com_port = 0;  // 0 = COM1 ... 3 = COM4
    std::uint32_t background = kDefaultBackground;
    std::uint32_t foreground = kDefaultForeground;
    std::array<WindowPlacement, kPlacementSlots> placements{};  // all invalid

    WindowPlacement& placement(PlacementSlot slot) { return placements[static_cast<int>(slot)]; }
    const WindowPlacement& placement(PlacementSlot slot) const { return placements[static_cast<int>(slot)]; }
};

inline constexpr int kComPorts = 4;

// The review windows' recent files, newest first, at most cmd::kRecentFiles,
// kept as File1..File6 under "Recent File List" in Windows-1252.
inline const platform::SettingsPath kRecentFilesKey{"Recent File List"};

class RecentFileList {
public:
    // The first six, as given.
    explicit RecentFileList(std::vector<std::u16string> paths = {});
    // Puts the path first; an earlier entry of it goes, and the oldest past
    // the sixth.
    void add(std::u16string path);
    const std::vector<std::u16string>& paths() const { return paths_; }

private:
    std::vector<std::u16string> paths_;
};

// The stored entries in order, empty ones skipped.
RecentFileList LoadRecentFiles(const platform::SettingsStore& store);
// Writes every entry and removes the unused names; a path Windows-1252
// cannot hold is not kept. False when a write failed.
bool SaveRecentFiles(platform::SettingsStore& store, const RecentFileList& files);

// Reads Settings and State (creating both keys); missing or damaged values
// keep their defaults, a port outside COM1..COM4 becomes COM1 and colours
// keep their low 24 bits.
AppSettings LoadAppSettings(platform::SettingsStore& store);
// Writes the port, the colours and the valid placements. False when a
// write failed.
bool SaveAppSettings(platform::SettingsStore& store, const AppSettings& settings);

}  // namespace korv::boxlogger
