#pragma once
// What the saves of a converted log say when a name lacks the log's
// extension and the fallback name ("temp.db1", "temp.db2") is used instead.
#include <string>
#include <string_view>

namespace korv {

// Shown while the save goes on under the fallback name (two blanks after
// the first "!").
inline std::string renamed_to_fallback_message(std::string_view extension, std::string_view fallback_name) {
    return "File must end with " + std::string(extension) + "!  Renamed to " + std::string(fallback_name) + "!";
}

// Asked (Yes/No) before the fallback replaces an existing file.
inline std::string replace_fallback_question(std::string_view fallback_name) {
    return std::string(fallback_name) + " already exists. Replace it?";
}

}  // namespace korv
