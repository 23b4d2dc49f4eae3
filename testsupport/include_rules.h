#pragma once
// The layer rules of the tree: which folder may include which. A file's
// place is its path from the repository root ("logger/core/x.h").
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace korv::testsupport {

// Headers of the player that the editors and the 3-D plot plug into; the
// only player headers another program folder may include.
inline const std::vector<std::string> kPlayerPlugInHeaders = {
    "player/gui/controller_editors.h",
    "player/gui/playback_hooks.h",
};

// Why `file` may not include `header` (a quoted path from the root, or an
// angle-bracket name when `angled`), or nothing when it may.
std::optional<std::string> forbidden_include(const std::string& file, const std::string& header, bool angled);

struct IncludeViolation {
    std::string file;
    int line = 0;
    std::string header;
    std::string why;
};

// Every #include of the tree's .h and .cpp files that breaks a rule, or that
// names a project header by anything but its path from the root. Build
// folders and hidden folders are skipped.
std::vector<IncludeViolation> check_tree_includes(const std::filesystem::path& root);

}  // namespace korv::testsupport
