#pragma once
// What a tree's CMakeLists.txt files make and link: the targets of
// add_library, add_executable and korv_add_test, and the libraries named by
// target_link_libraries and korv_add_test's LIBS. Each file is read as CMake
// would read it: the variables the tree sets are expanded (a folder sees what
// its parent folders set), a foreach runs its body once per item, both sides
// of an if count, and every library a generator expression may yield is a
// library linked.
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace korv::testsupport {

struct CMakeTarget {
    std::string file;          // the CMakeLists.txt that makes it
    bool header_only = false;  // an INTERFACE library
    std::string alias_of;      // add_library(<name> ALIAS <target>)
};

struct CMakeLink {
    std::string file;    // the CMakeLists.txt the command is written in
    int line = 0;        // where the library is named
    std::string target;  // the target that receives the link
    std::string library;
};

struct CMakeGraph {
    std::map<std::string, CMakeTarget> targets;
    std::vector<CMakeLink> links;
};

// A folder's variables, each a ;-separated list.
using CMakeVariables = std::map<std::string, std::string>;

// Adds one CMakeLists.txt (`file`, its path from the root) to `graph`, read
// with `variables` (what its parent folders set), and leaves in `variables`
// what it sets for its own subfolders.
void read_cmake_lists(const std::string& file, std::string_view text, CMakeVariables& variables, CMakeGraph& graph);

// The target the tree makes under `name`, through any aliases, or nothing.
const CMakeTarget* made_target(const CMakeGraph& graph, const std::string& name);

}  // namespace korv::testsupport
