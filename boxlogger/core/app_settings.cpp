#include "boxlogger/core/app_settings.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "platform/core/windows1252.h"

namespace korv::boxlogger {

// The stock palette entries the menu names, as 0x00BBGGRR.
const std::array<ColorMenuEntry, kColorMenuEntries> kColorMenu{{
    {"Black", 0x000000},
    {"Maroon", 0x000080},
    {"Green", 0x008000},
    {"Olive", 0x008080},
    {"Navy", 0x800000},
    {"Purple", 0x800080},
    {"Teal", 0x808000},
    {"Gray", 0x808080},
    {"Silver", 0xC0C0C0},
    {"Red", 0x0000FF},
    {"Lime", 0x00FF00},
    {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},
    {"Fuchsia", 0xFF00FF},
    {"Aqua", 0xFFFF00},
    {"White", 0xFFFFFF},
}};

std::uint32_t color_of_menu_index(int n) {
    if (n < 0 || n >= kColorMenuEntries) n = 0;
    return kColorMenu[static_cast<std::size_t>(n)].bgr;
}

namespace {

constexpr std::size_t kPlacementTextLimit = 100;

bool parse_int(std::string_view& rest, std::int32_t& out) {
    const char* first = rest.data();
    const char* last = rest.data() + rest.size();
    const auto [end, error] = std::from_chars(first, last, out);
    if (error != std::errc{} || end == first) return false;
    rest.remove_prefix(static_cast<std::size_t>(end - first));
    return true;
}

std::int64_t overlap(const WindowPlacement& p, const ScreenRect& s) {
    const std::int64_t w =
        std::min<std::int64_t>(p.right, std::int64_t{s.left} + s.width) - std::max<std::int64_t>(p.left, s.left);
    const std::int64_t h =
        std::min<std::int64_t>(p.bottom, std::int64_t{s.top} + s.height) - std::max<std::int64_t>(p.top, s.top);
    return (w > 0 && h > 0) ? w * h : 0;
}

}  // namespace

std::optional<WindowPlacement> parse_placement(std::string_view text) {
    if (text.size() >= kPlacementTextLimit) return std::nullopt;
    std::array<std::int32_t, 10> v{};
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (i > 0) {
            if (text.empty() || text.front() != ':') return std::nullopt;
            text.remove_prefix(1);
        }
        if (!parse_int(text, v[i])) return std::nullopt;
    }
    if (!text.empty()) return std::nullopt;
    WindowPlacement p{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9]};
    if (p.width() <= 0 || p.height() <= 0) return std::nullopt;
    return p;
}

std::string format_placement(const WindowPlacement& p) {
    char text[kPlacementTextLimit + 20];
    std::snprintf(text, sizeof text, "%d:%d:%d:%d:%d:%d:%d:%d:%d:%d", p.flags, p.show, p.min_x, p.min_y, p.max_x,
                  p.max_y, p.left, p.top, p.right, p.bottom);
    return text;
}

WindowPlacement place_on_screens(WindowPlacement p, const std::vector<ScreenRect>& screens) {
    if (screens.empty() || !p.valid()) return p;
    const ScreenRect* best = &screens.front();
    std::int64_t best_overlap = 0;
    for (const ScreenRect& s : screens) {
        const std::int64_t o = overlap(p, s);
        if (o > best_overlap) best_overlap = o, best = &s;
    }
    const std::int32_t width = std::clamp(p.width(), 1, std::max(best->width, 1));
    const std::int32_t height = std::clamp(p.height(), 1, std::max(best->height, 1));
    const std::int32_t left =
        std::clamp<std::int64_t>(p.left, best->left, std::int64_t{best->left} + best->width - width);
    const std::int32_t top =
        std::clamp<std::int64_t>(p.top, best->top, std::int64_t{best->top} + best->height - height);
    p.left = left;
    p.top = top;
    p.right = left + width;
    p.bottom = top + height;
    return p;
}

const char* placement_value_name(PlacementSlot slot) {
    switch (slot) {
    case PlacementSlot::MainWindow: return "MainWindow";
    case PlacementSlot::CaptureWindow: return "CaptureWindow";
    case PlacementSlot::ReviewWindow: return "ReviewWindow";
    }
    return "";
}

AppSettings LoadAppSettings(platform::SettingsStore& store) {
    AppSettings s;
    if (store.create_key(kSettingsKey)) {
        if (const auto port = store.read_dword(kSettingsKey, "ComPort")) {
            const auto index = static_cast<std::int32_t>(*port);
            s.com_port = (index >= 0 && index < kComPorts) ? index : 0;
        }
        if (const auto bg = store.read_dword(kSettingsKey, "BgColor")) s.background = *bg & 0xFFFFFFu;
        if (const auto fg = store.read_dword(kSettingsKey, "FgColor")) s.foreground = *fg & 0xFFFFFFu;
    }
    if (store.create_key(kStateKey)) {
        for (int i = 0; i < kPlacementSlots; ++i) {
            const auto slot = static_cast<PlacementSlot>(i);
            if (const auto text = store.read_string(kStateKey, placement_value_name(slot)))
                if (const auto p = parse_placement(*text)) s.placement(slot) = *p;
        }
    }
    return s;
}

bool SaveAppSettings(platform::SettingsStore& store, const AppSettings& s) {
    bool ok = store.write_dword(kSettingsKey, "ComPort", static_cast<std::uint32_t>(s.com_port));
    ok = store.write_dword(kSettingsKey, "BgColor", s.background & 0xFFFFFFu) && ok;
    ok = store.write_dword(kSettingsKey, "FgColor", s.foreground & 0xFFFFFFu) && ok;
    ok = store.create_key(kStateKey) && ok;
    for (int i = 0; i < kPlacementSlots; ++i) {
        const auto slot = static_cast<PlacementSlot>(i);
        if (s.placement(slot).valid())
            ok = store.write_string(kStateKey, placement_value_name(slot), format_placement(s.placement(slot))) && ok;
    }
    return ok;
}

RecentFileList::RecentFileList(std::vector<std::u16string> paths) : paths_(std::move(paths)) {
    if (paths_.size() > static_cast<std::size_t>(cmd::kRecentFiles)) paths_.resize(cmd::kRecentFiles);
}

void RecentFileList::add(std::u16string path) {
    std::erase(paths_, path);
    paths_.insert(paths_.begin(), std::move(path));
    if (paths_.size() > static_cast<std::size_t>(cmd::kRecentFiles)) paths_.resize(cmd::kRecentFiles);
}

namespace {

std::string recent_file_name(int n) { return "File" + std::to_string(n); }

}  // namespace

RecentFileList LoadRecentFiles(const platform::SettingsStore& store) {
    std::vector<std::u16string> paths;
    for (int i = 1; i <= cmd::kRecentFiles; ++i) {
        const auto text = store.read_string(kRecentFilesKey, recent_file_name(i));
        if (text && !text->empty()) paths.push_back(platform::utf16_from_windows1252(*text));
    }
    return RecentFileList(std::move(paths));
}

bool SaveRecentFiles(platform::SettingsStore& store, const RecentFileList& files) {
    bool ok = true;
    for (int i = 1; i <= cmd::kRecentFiles; ++i) {
        const std::size_t index = static_cast<std::size_t>(i - 1);
        const std::optional<std::string> text =
            index < files.paths().size() ? platform::windows1252_from_utf16(files.paths()[index]) : std::nullopt;
        if (text)
            ok = store.write_string(kRecentFilesKey, recent_file_name(i), *text) && ok;
        else
            store.remove_value(kRecentFilesKey, recent_file_name(i));  // false when there was none
    }
    return ok;
}

}  // namespace korv::boxlogger
