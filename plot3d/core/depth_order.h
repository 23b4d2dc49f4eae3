#pragma once
// The order a frame draws its points in: far first (ascending view z), equal
// depths in record order, as a stable sort gives it. Each entry packs a
// point's depth as a sortable key above its index, so that sorting the
// entries as plain numbers, in place and in any way, gives exactly that
// order; no second array is needed.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace korv::plot3d {

class ThreadTeam;

// z as an unsigned key in the same order: NaN before every number (it is
// drawn first, at the far end), -0 equal to +0.
inline std::uint32_t depth_key(float z) {
    if (std::isnan(z)) z = -std::numeric_limits<float>::infinity();
    if (z == 0.0f) z = 0.0f;
    const auto bits = std::bit_cast<std::uint32_t>(z);
    return (bits & 0x80000000u) != 0 ? ~bits : bits | 0x80000000u;
}

inline std::uint64_t depth_entry(float z, std::uint32_t index) { return (std::uint64_t{depth_key(z)} << 32) | index; }
inline std::uint32_t entry_index(std::uint64_t entry) { return static_cast<std::uint32_t>(entry); }
inline std::uint32_t entry_key(std::uint64_t entry) { return static_cast<std::uint32_t>(entry >> 32); }

// Sorts the entries ascending, sharing a large sort among the team: the
// entries are dealt into ranges of keys in place, and the ranges are sorted
// by whichever thread is free.
void sort_depth_entries(std::vector<std::uint64_t>& entries, ThreadTeam& team);

}  // namespace korv::plot3d
