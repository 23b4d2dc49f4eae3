#pragma once
// Which file a converted handheld log goes to, given the name the user chose.
#include "player/core/handheld_scaling.h"

#include <optional>
#include <string>

namespace korv::player {

struct HandheldSaveTarget {
    std::string path;
    // Set when the name was replaced by the fallback; the save goes on.
    std::optional<std::string> renamed_message;
};

// Empty when the chooser gave no file name (cancelled, or a folder only).
// A name ending in the kind's extension in any case is kept as chosen; any
// other becomes "temp.db1" / "temp.db2" in the chosen folder.
std::optional<HandheldSaveTarget> handheld_save_target(HandheldLogKind kind, const std::optional<std::string>& chosen);

// Asked before the fallback replaces an existing file:
// "temp.db1 already exists. Replace it?"
std::string handheld_replace_question(HandheldLogKind kind);

}  // namespace korv::player
