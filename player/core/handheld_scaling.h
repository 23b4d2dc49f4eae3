#pragma once
// Engineering units of a handheld sample, by the sample's channel code. A
// handheld records two-byte values (saved as ".db1") or one-byte values
// (".db2"); the scaling differs between the two.
#include <cstdint>

namespace korv::player {

enum class HandheldLogKind {
    two_byte = 1,  // value width 2: ".db1"
    one_byte = 2,  // value width 1: ".db2"
};

inline constexpr int value_width(HandheldLogKind kind) { return kind == HandheldLogKind::two_byte ? 2 : 1; }
inline constexpr const char* extension_of(HandheldLogKind kind) {
    return kind == HandheldLogKind::two_byte ? ".db1" : ".db2";
}

// a and b are the sample's value bytes (b unused by one-byte logs). Single
// precision throughout, in the order the stored logs were computed; an
// unknown code gives 0.0.
float convert_handheld_sample(HandheldLogKind kind, int code, std::uint8_t a, std::uint8_t b);

// The air-flow code, whose two-byte value is also echoed to the console.
inline constexpr int kHandheldAirFlowCode = 18;

}  // namespace korv::player
