#pragma once
// Settings names as a path-based store can hold them: '/' and '\' would split
// a key and '%' starts an escape, so these three are written as %2F, %5C, %25.
#include <optional>
#include <string>
#include <string_view>

namespace korv::platform {

std::string escape_key_name(std::string_view name);
// nullopt when a '%' is not followed by two hex digits.
std::optional<std::string> unescape_key_name(std::string_view escaped);

}  // namespace korv::platform
