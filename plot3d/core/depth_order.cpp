#include "plot3d/core/depth_order.h"

#include <algorithm>
#include <array>

#include "plot3d/core/thread_team.h"

namespace korv::plot3d {

namespace {

// Below this a single sort is quicker than dealing out.
constexpr std::size_t kSortAlone = 32768;
constexpr std::size_t kRanges = 256;

}  // namespace

void sort_depth_entries(std::vector<std::uint64_t>& entries, ThreadTeam& team) {
    const std::size_t n = entries.size();
    if (n < kSortAlone || team.size() < 2) {
        std::sort(entries.begin(), entries.end());
        return;
    }
    const auto [low, high] = std::minmax_element(
        entries.begin(), entries.end(), [](std::uint64_t a, std::uint64_t b) { return entry_key(a) < entry_key(b); });
    const std::uint64_t min_key = entry_key(*low);
    const std::uint64_t span = std::uint64_t{entry_key(*high)} - min_key + 1;
    // Range r holds the keys of [min + r * span / kRanges, ...): monotonic in the key.
    const auto range_of = [&](std::uint64_t entry) {
        return static_cast<std::size_t>((std::uint64_t{entry_key(entry)} - min_key) * kRanges / span);
    };

    // Deal the entries into their ranges in place, each swap putting one
    // entry where its range's next free place is.
    std::array<std::size_t, kRanges + 1> start{};
    for (std::uint64_t e : entries) ++start[range_of(e) + 1];
    for (std::size_t r = 0; r < kRanges; ++r) start[r + 1] += start[r];
    std::array<std::size_t, kRanges> next{};
    std::copy(start.begin(), start.end() - 1, next.begin());
    for (std::size_t r = 0; r < kRanges; ++r) {
        while (next[r] < start[r + 1]) {
            std::uint64_t e = entries[next[r]];
            std::size_t home = range_of(e);
            while (home != r) {
                std::swap(e, entries[next[home]++]);
                home = range_of(e);
            }
            entries[next[r]++] = e;
        }
    }

    team.run(kRanges, [&](std::size_t r, unsigned) {
        std::sort(entries.begin() + static_cast<std::ptrdiff_t>(start[r]),
                  entries.begin() + static_cast<std::ptrdiff_t>(start[r + 1]));
    });
}

}  // namespace korv::plot3d
