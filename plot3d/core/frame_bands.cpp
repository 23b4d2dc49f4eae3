#include "plot3d/core/frame_bands.h"

#include <numeric>

namespace korv::plot3d {

std::vector<int> plan_bands(const std::vector<std::uint32_t>& cubes_per_row, std::size_t bands, int least_rows) {
    const int rows = static_cast<int>(cubes_per_row.size());
    std::vector<int> starts{0};
    if (bands == 0) bands = 1;
    const std::uint64_t total = std::accumulate(cubes_per_row.begin(), cubes_per_row.end(), std::uint64_t{0});
    std::uint64_t counted = 0;
    for (int row = 0; row < rows; ++row) {
        counted += cubes_per_row[static_cast<std::size_t>(row)];
        const std::uint64_t due = total * starts.size() / bands;  // cubes before the next band's start
        if (starts.size() < bands && counted >= due && row + 1 - starts.back() >= least_rows && row + 1 < rows)
            starts.push_back(row + 1);
    }
    starts.push_back(rows);
    return starts;
}

}  // namespace korv::plot3d
