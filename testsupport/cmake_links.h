#pragma once
// What a tree's CMakeLists.txt files make and link: the targets of
// add_library, add_executable and korv_add_test, and the libraries named by
// target_link_libraries and korv_add_test's LIBS.
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace korv::testsupport {

struct CMakeTarget {
    std::string file;          // the CMakeLists.txt that makes it
    bool header_only = false;  // an INTERFACE library
};

struct CMakeLink {
    std::string file;
    int line = 0;  // where the linking command starts
    std::string library;
};

struct CMakeGraph {
    std::map<std::string, CMakeTarget> targets;
    std::vector<CMakeLink> links;
};

// Adds one CMakeLists.txt (`file`, its path from the root) to `graph`.
void read_cmake_lists(const std::string& file, std::string_view text, CMakeGraph& graph);

}  // namespace korv::testsupport
