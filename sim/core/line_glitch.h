#pragma once
// One-off faults of a real line, the kind a busy USB hub, a slow ECU or a
// loose plug makes: a device that stops for a while and goes on, one answer
// that comes late, a byte lost, a stray byte. Any peer plays them on its
// next answer (Peer::inject); the peer programs take them as typed lines.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korv::sim {

enum class Glitch {
    Stall,         // after the first byte of the answer the device hears and sends nothing for the duration
    Late,          // the whole answer waits the duration first
    Drop,          // the answer loses a byte: its second, or its only one
    StrayMid,      // one extra byte after the first byte of the answer
    StrayBetween,  // one extra byte before the answer, after the request that asked for it
};

struct LineGlitch {
    static constexpr std::uint8_t kDefaultStray = 0x3C;

    Glitch kind = Glitch::Stall;
    std::int64_t duration_us = 0;  // Stall and Late
    std::uint8_t stray = kDefaultStray;
    int after_answers = 0;  // answers let through untouched first
};

struct NamedGlitch {
    const char* name;
    LineGlitch glitch;
};
// The faults every engine is tried against, each on the answer after
// after_answers good ones: stalls of 0.1 to 6 s, an answer 150 ms late, a
// byte lost, a byte added in an answer and one added before it.
std::vector<NamedGlitch> fault_table(int after_answers = 0);

// "stall MS", "late MS", "drop", "stray-mid [HEX]", "stray-between [HEX]",
// each optionally followed by "after N" (answers let through first).
std::optional<LineGlitch> parse_glitch(std::string_view line);
// What the peer programs print for a line they do not understand.
extern const char* const kGlitchUsage;
std::string describe(const LineGlitch& glitch);

}  // namespace korv::sim
