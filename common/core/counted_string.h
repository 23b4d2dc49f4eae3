#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Length prefixes of the counted strings in VXM log files (the archive form
// of the document framework VXMlog was written with):
//   length < 255            one byte
//   length < 0xFFFE         0xFF, then an unsigned 16-bit length
//   longer                  0xFF, 0xFFFF, then an unsigned 32-bit length
// All little-endian. 0xFF,0xFFFE announces a UTF-16 string, which these
// files never hold; 0xFF,0xFFFF,0xFFFFFFFF announces a 64-bit length.
namespace korv {

class BufferedFileReader;

inline constexpr std::size_t kMaxCountedStringPrefix = 7;
inline constexpr std::uint64_t kMaxCountedStringLength = 0xFFFFFFFEu;

// Writes the prefix for `length` into out and returns its size (1, 3 or 7).
// `length` must not exceed kMaxCountedStringLength.
std::size_t encode_counted_string_length(std::uint64_t length, std::uint8_t (&out)[kMaxCountedStringPrefix]);

// Reads a length prefix. On failure returns nullopt and sets `error`.
// The length is not checked against the file: that is the caller's.
std::optional<std::uint32_t> read_counted_string_length(BufferedFileReader& in, std::string& error);

}  // namespace korv
