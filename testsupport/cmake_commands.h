#pragma once
// The commands of a CMake file as written: each command's name and its
// arguments, with comments left out and nothing expanded yet.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korv::testsupport {

struct CMakeArgument {
    std::string text;     // a quoted or bracket argument without its quotes
    std::size_t at = 0;   // offset in the file
    bool quoted = false;  // quoted and bracket arguments are not split at ';'
};

struct CMakeCommand {
    std::string name;  // in lower case: CMake's command names ignore case
    std::size_t at = 0;
    std::vector<CMakeArgument> arguments;  // nested parentheses flattened
};

std::vector<CMakeCommand> cmake_commands(std::string_view text);

}  // namespace korv::testsupport
