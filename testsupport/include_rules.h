#pragma once
// The layer rules of the tree: which folder may include which, and which
// folder's CMakeLists.txt may link which library. A file's place is its path
// from the repository root ("logger/core/x.h").
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace korv::testsupport {

// The player's plug-in target: the only player headers and the only player
// library another program folder (the editors, the 3-D plot) may use. It
// carries headers alone.
inline const std::string kPlayerPlugInFolder = "player/plugin/";

// Why `file` may not include `header` (a quoted path from the root, or an
// angle-bracket name when `angled`), or nothing when it may. A header of the
// tree's own folders is judged alike however it is bracketed; core/ and
// platform/serial/ are plain C++ and include no Qt.
std::optional<std::string> forbidden_include(const std::string& file, const std::string& header, bool angled);

// Why a target made in the CMakeLists.txt `file` may not link `library`, a
// target made in the CMakeLists.txt `library_file`, or nothing when it may:
// the folders follow the include rules.
std::optional<std::string> forbidden_link(const std::string& file, const std::string& library,
                                          const std::string& library_file);

struct LayerViolation {
    std::string file;
    int line = 0;
    std::string used;  // the header included or the library linked
    std::string why;
};

// Every #include of the tree's .h and .cpp files that breaks a rule, or that
// names a project header by anything but its path from the root. Build
// folders and hidden folders are skipped.
std::vector<LayerViolation> check_tree_includes(const std::filesystem::path& root);

// Every library linked against the rules in the tree's CMakeLists.txt files,
// by target_link_libraries or by korv_add_test's LIBS, read as CMake expands
// them (cmake_links.h), each judged by the folder of the target that receives
// it, wherever the link is written; a plug-in target that is not an INTERFACE
// library; and Qt's Concurrent module linked outside testsupport/. Only
// libraries the tree makes itself are judged otherwise; build and hidden
// folders are skipped.
std::vector<LayerViolation> check_tree_links(const std::filesystem::path& root);

}  // namespace korv::testsupport
