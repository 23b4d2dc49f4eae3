#pragma once

#include <string_view>

// Small helpers for judging files by their names.
namespace korv {

// True when `text` ends with `lower_suffix`, ASCII letters of `text` folded to
// lower case first (`lower_suffix` must already be lower case).
bool ends_with_case_blind(std::string_view text, std::string_view lower_suffix);

}  // namespace korv
