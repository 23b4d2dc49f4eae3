#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// kvt.cfg, Korvview's window memory: fixed slots 200 bytes apart, each
// holding one window's place and settings.
//
//   int     4 bytes, big-endian
//   bool    1 byte, 1 or 0 (any non-zero byte reads as true)
//   string  an int n, then n Windows-1252 bytes; an absent or empty string is
//           the int 0 alone and reads back as one blank " ", so one blank is
//           written as the int 0 alone too: a file read and written again
//           keeps its bytes
//
// Every slot must end before the next one starts, so a string that would
// overrun its slot, or that is 200 bytes or longer, is stored as absent
// (the player's slot drops the log's name before its folder). The last slot
// (1200) has nothing after it and keeps strings of up to 199 bytes whole.
// A reader meets only files it can trust in part: a negative length, a
// length of 200 or more, or any field running past its slot's end (as in a
// file whose writer let slots overrun) makes that slot count as absent.
namespace korv::player::kvt {

inline constexpr std::int64_t kStartSlot = 0;
inline constexpr std::int64_t kPlayerSlot = 200;
inline constexpr std::int64_t kChooserSlot = 400;
inline constexpr std::int64_t kKnobAfcSlot = 600;
inline constexpr std::int64_t kVcdAfcSlot = 800;
inline constexpr std::int64_t kItcSlot = 1000;
inline constexpr std::int64_t kPmsSlot = 1200;
inline constexpr std::int64_t kSlotBytes = 200;
inline constexpr std::size_t kMaxStringBytes = 199;
// What the default file comes to: the last slot written absent.
inline constexpr std::size_t kDefaultFileBytes = 1223;

// Bytes of each slot besides its two strings (their length ints included).
inline constexpr std::size_t kPlayerSlotFixedBytes = 33;
inline constexpr std::size_t kEditorSlotFixedBytes = 18;

struct PlayerSlot {
    std::int32_t x = 0, y = 0;
    bool visible = false;
    bool animate_enabled = false, animate_selected = false;
    std::string theFile, theFileDir;  // Windows-1252
    bool itc_animate = false, afc_animate = false, afc2_animate = false, advanced_fuel_calc = false;
    bool chart_2d_present = false;
    std::int32_t x_2d = 0, y_2d = 0;
    bool operator==(const PlayerSlot&) const = default;
};

// The chooser's four boxes in the order the file keeps them.
enum ChooserBox : std::size_t { kKnobAfcBox = 0, kVcdAfcBox = 1, kItcBox = 2, kPmsBox = 3 };

struct ChooserSlot {
    std::int32_t x = 0, y = 0;
    bool visible = false;
    std::array<bool, 4> selected{}, enabled{};
    bool operator==(const ChooserSlot&) const = default;
};

struct EditorSlot {
    std::int32_t x = 0, y = 0;
    bool visible = false;
    std::string file, dir;  // Windows-1252
    bool operator==(const EditorSlot&) const = default;
};

struct PmsRadioButtons {
    bool program_1 = true, program_2 = false, program_3 = false;
    bool fuel = true, timing = false;
    bool operator==(const PmsRadioButtons&) const = default;
};

struct PmsSlot {
    EditorSlot editor;
    PmsRadioButtons buttons;
    bool operator==(const PmsSlot&) const = default;
};

// A slot's window is present when the optional holds a value.
struct KvtConfig {
    std::int32_t start_x = 0, start_y = 0;
    std::optional<PlayerSlot> player;
    std::optional<ChooserSlot> chooser;
    std::optional<EditorSlot> knob_afc, vcd_afc, itc;
    std::optional<PmsSlot> pms;
    bool operator==(const KvtConfig&) const = default;
};

// What a read recovered. Reading stops at the first slot the file ends in
// (in file order); that slot and those after it read as absent.
struct KvtRead {
    KvtConfig config;
    std::optional<std::int64_t> ends_in_slot;
};

// The bytes a string takes after its length: one blank is stored as empty.
std::size_t stored_string_bytes(std::string_view text);

// Which of a slot's two strings can be stored: the first gives way first.
struct StringFit {
    bool keep_first = true, keep_second = true;
    bool operator==(const StringFit&) const = default;
};
// `fixed_bytes` counts the slot's other fields; no `slot_limit` for the last
// slot. The strings' sizes are their stored_string_bytes.
StringFit fit_strings(std::size_t fixed_bytes, std::optional<std::size_t> slot_limit, std::size_t first_bytes,
                      std::size_t second_bytes);

// Writes every slot over `base` (grown with zero bytes where it is short;
// never shortened) and returns the result.
std::vector<std::uint8_t> encode_kvt(const KvtConfig& config, std::vector<std::uint8_t> base = {});
KvtRead decode_kvt(const std::uint8_t* bytes, std::size_t size);

// The file. Errors come back as the system's reason.
std::optional<std::string> read_kvt_file(const std::string& path, KvtRead& out);
std::optional<std::string> write_kvt_file(const std::string& path, const KvtConfig& config);

}  // namespace korv::player::kvt
