#pragma once

#include <string_view>

// What the player makes of a log from its name alone.
namespace korv::player {

// The player's `logfiletype`.
enum class LogFileType : int { none = 0, pms = 1, vxm = 2 };

enum class LogNameKind {
    vxm_little,  // ".vxg", VXMlog's documents
    vxm_big,     // ".db1", ".db2" and the conversion's own csv.tmp
    pms,         // ".dab"
    unknown,     // anything else: the user is asked what it is
};

// Suffixes compare case-blind.
LogNameKind classify_log_name(std::string_view name);

}  // namespace korv::player
