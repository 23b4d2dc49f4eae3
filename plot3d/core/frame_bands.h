#pragma once
// Rows of a frame shared out among the threads that draw it: each band of
// rows is drawn by one thread, every cube in the same order into its own
// rows, so the threads never write the same pixel.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace korv::plot3d {

// Bands of about equal numbers of cubes, from the number of cubes centred on
// each row; a band holds at least `least_rows` rows (the last may hold
// fewer). The band starts, then the number of rows: band b is [starts[b],
// starts[b + 1]).
std::vector<int> plan_bands(const std::vector<std::uint32_t>& cubes_per_row, std::size_t bands, int least_rows);

}  // namespace korv::plot3d
