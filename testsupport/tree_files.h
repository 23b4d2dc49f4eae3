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

// Calls `visit` with each line of every .h and .cpp file of the tree: the
// file's path from the root, the line's number (from 1) and its text.
void for_each_source_line(const std::filesystem::path& root,
                          const std::function<void(const std::string&, int, const std::string&)>& visit);

}  // namespace korv::testsupport
