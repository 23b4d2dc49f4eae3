#pragma once
// A colour as red, green and blue bytes, and its stored 0x00BBGGRR form
// (red in the lowest byte), the layout settings and log files keep colours in.
#include <cstdint>

namespace korv {

struct Colour {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Colour&) const = default;
};

// The top byte of a stored value is ignored.
constexpr Colour colour_from_bgr(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>((v >> 8) & 0xFF),
            static_cast<std::uint8_t>((v >> 16) & 0xFF)};
}

constexpr std::uint32_t bgr_of(Colour c) {
    return std::uint32_t{c.r} | (std::uint32_t{c.g} << 8) | (std::uint32_t{c.b} << 16);
}

}  // namespace korv
