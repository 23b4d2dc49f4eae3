#pragma once
// The channel ids a logging run is asked for.
#include <vector>

namespace korv::korvio {

// The engines' request tables hold 49 rows.
inline constexpr int kMaxUsableItems = 49;

// The usable (non-negative) ids in list order. -101 for a negative count, a
// missing array with a count, or more than 49 usable ids; else 0.
int read_item_list(const int* items, int item_count, std::vector<int>* usable);

}  // namespace korv::korvio
