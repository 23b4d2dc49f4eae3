#pragma once
// The 39-byte head every controller settings file starts with: a big-endian
// 16-bit tag naming the controller, then its 37-character title with no
// terminator. Readers go by the tag alone.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace korv::editors {

enum class ControllerTag : std::uint16_t { knob_afc = 0, knob_itc = 1, vcd_afc = 2 };

inline constexpr std::size_t kHeaderBytes = 39;
inline constexpr std::size_t kTitleBytes = 37;

std::string_view controller_title(ControllerTag tag);
// Appends the tag and the title.
void append_header(std::vector<std::uint8_t>& out, ControllerTag tag);
void append_i16_be(std::vector<std::uint8_t>& out, int value);

// What reading a settings file gave.
struct FileMissing {};
struct WrongTag {};
struct ReadFailed {
    std::string reason;  // the text after "Unable to open file: "
};
struct FileBytes {
    std::vector<std::uint8_t> bytes;  // exactly the format's size
};
using FileRead = std::variant<FileMissing, WrongTag, ReadFailed, FileBytes>;

// Opens the file read-only and takes its first `size` bytes: a file whose tag
// is not `tag` is WrongTag, one shorter than `size` a ReadFailed.
FileRead read_controller_file(const std::string& path, ControllerTag tag, std::size_t size);

// Writes the whole file through a temporary beside it; the reason on failure.
std::optional<std::string> write_controller_file(const std::string& path, const std::vector<std::uint8_t>& bytes);

// The integer line through (x1, y1) and (x2, y2) at x, the division truncating
// toward zero. Equal x1 and x2 give y1. 64-bit, since the files' 16-bit values
// multiply past 32 bits.
std::int64_t calculate_point(std::int64_t y2, std::int64_t y1, std::int64_t x2, std::int64_t x1, std::int64_t x);

// The value handed to the player: clamped into int.
int to_int(std::int64_t value);

}  // namespace korv::editors
