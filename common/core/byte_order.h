#pragma once

#include <bit>
#include <cstdint>

// Loads and stores of fixed-width values at any byte address, in a stated
// byte order. Assembling from bytes keeps them free of alignment and
// aliasing concerns; the compiler turns them into single moves.
namespace korv {

inline std::uint16_t load_u16_le(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
inline std::uint16_t load_u16_be(const std::uint8_t* p) { return static_cast<std::uint16_t>((p[0] << 8) | p[1]); }
inline std::uint32_t load_u32_le(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint32_t load_u32_be(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}
inline std::int32_t load_i32_be(const std::uint8_t* p) { return std::bit_cast<std::int32_t>(load_u32_be(p)); }
inline float load_f32_le(const std::uint8_t* p) { return std::bit_cast<float>(load_u32_le(p)); }
inline float load_f32_be(const std::uint8_t* p) { return std::bit_cast<float>(load_u32_be(p)); }

inline void store_u16_le(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void store_u16_be(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v >> 8);
    p[1] = static_cast<std::uint8_t>(v);
}
inline void store_u32_le(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}
inline void store_u32_be(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v >> 24);
    p[1] = static_cast<std::uint8_t>(v >> 16);
    p[2] = static_cast<std::uint8_t>(v >> 8);
    p[3] = static_cast<std::uint8_t>(v);
}
inline void store_i32_be(std::uint8_t* p, std::int32_t v) { store_u32_be(p, std::bit_cast<std::uint32_t>(v)); }
inline void store_f32_le(std::uint8_t* p, float v) { store_u32_le(p, std::bit_cast<std::uint32_t>(v)); }
inline void store_f32_be(std::uint8_t* p, float v) { store_u32_be(p, std::bit_cast<std::uint32_t>(v)); }

}  // namespace korv
