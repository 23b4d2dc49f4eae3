#pragma once
// Counts in messages: "1 row was skipped", "2 rows were skipped".
#include <cstdint>
#include <string>
#include <string_view>

namespace korv {

// The count and its noun in the number the count asks for: "1 byte", "0 bytes".
std::string counted(std::uint64_t n, std::string_view one, std::string_view many);

// The verb that goes with such a count.
inline std::string_view was_or_were(std::uint64_t n) { return n == 1 ? "was" : "were"; }

}  // namespace korv
