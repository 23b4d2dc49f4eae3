#pragma once

#include <optional>
#include <string>

#include "logger/core/log_family.h"

// Which file a save goes to, given the name the user chose.
namespace korv::logger {

struct SaveTarget {
    std::string path;
    // Set when the name was replaced by the fallback; shown to the user
    // while the save goes on.
    std::optional<std::string> renamed_message;
};

// A name ending in the type's extension (any case) is kept as chosen;
// any other is replaced by the fallback name in the chosen directory.
SaveTarget resolve_save_target(LogType type, const std::string& chosen_path);

// "File must end with .db1!  Renamed to temp.db1!"
std::string renamed_message(LogType type);

// Asked before the fallback replaces a file of that name:
// "temp.db1 already exists. Replace it?"
std::string replace_fallback_question(LogType type);

}  // namespace korv::logger
