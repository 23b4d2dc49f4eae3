#pragma once
// Walks the files of a source tree for the tree checks.
#include <filesystem>
#include <functional>
#include <string>

namespace korv::testsupport {

// Calls `visit` with each regular file of the tree and its path from the
// root ("logger/core/x.h"), skipping build and hidden folders.
void for_each_tree_file(const std::filesystem::path& root,
                        const std::function<void(const std::filesystem::path&, const std::string&)>& visit);

}  // namespace korv::testsupport
