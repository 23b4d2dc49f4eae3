#include "testsupport/cmake_links.h"

#include <algorithm>
#include <regex>
#include <cctype>

namespace korv::testsupport {
namespace {

// The text with every # comment blanked; quoted strings keep their '#'.
std::string without_comments(std::string_view text) {
    std::string out(text);
    bool quoted = false;
    bool comment = false;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const char c = out[i];
        if (c == '\n') {
            comment = false;
            continue;
        }
        if (comment) {
            out[i] = ' ';
        } else if (c == '"' && (i == 0 || out[i - 1] != '\\')) {
            quoted = !quoted;
        } else if (c == '#' && !quoted) {
            comment = true;
            out[i] = ' ';
        }
    }
    return out;
}

struct Word {
    std::string text;
    std::size_t at;  // offset in the file
};

std::vector<Word> words(const std::string& text, std::size_t first, std::size_t length) {
    std::vector<Word> out;
    std::size_t i = first;
    const std::size_t end = first + length;
    while (i < end) {
        while (i < end && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
        const std::size_t start = i;
        while (i < end && !std::isspace(static_cast<unsigned char>(text[i]))) ++i;
        if (i > start) out.push_back({text.substr(start, i - start), start});
    }
    return out;
}

bool is_one_of(const std::string& word, std::initializer_list<const char*> list) {
    return std::any_of(list.begin(), list.end(), [&](const char* w) { return word == w; });
}

}  // namespace

void read_cmake_lists(const std::string& file, std::string_view text, CMakeGraph& graph) {
    static const std::regex command(
        R"(\b(add_library|add_executable|target_link_libraries|korv_add_test)\s*\(([^)]*)\))", std::regex::icase);
    const std::string plain = without_comments(text);
    for (auto it = std::sregex_iterator(plain.begin(), plain.end(), command); it != std::sregex_iterator(); ++it) {
        std::string name = (*it)[1];
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        const std::vector<Word> args =
            words(plain, static_cast<std::size_t>(it->position(2)), static_cast<std::size_t>(it->length(2)));
        if (args.empty()) continue;
        const auto link = [&](const Word& library) {
            const auto line = std::count(plain.begin(), plain.begin() + static_cast<std::ptrdiff_t>(library.at), '\n');
            graph.links.push_back({file, 1 + static_cast<int>(line), library.text});
        };
        if (name == "add_library" || name == "add_executable") {
            graph.targets[args[0].text] = {file, args.size() > 1 && args[1].text == "INTERFACE"};
        } else if (name == "target_link_libraries") {
            for (std::size_t i = 1; i < args.size(); ++i) {
                if (!is_one_of(args[i].text, {"PUBLIC", "PRIVATE", "INTERFACE", "LINK_PUBLIC", "LINK_PRIVATE",
                                              "LINK_INTERFACE_LIBRARIES", "debug", "optimized", "general"}))
                    link(args[i]);
            }
        } else {  // korv_add_test(<name> SOURCES ... LIBS ... [GUI] [REAL_TIME])
            graph.targets[args[0].text] = {file, false};
            bool in_libs = false;
            for (std::size_t i = 1; i < args.size(); ++i) {
                if (is_one_of(args[i].text, {"SOURCES", "LIBS", "GUI", "REAL_TIME"}))
                    in_libs = args[i].text == "LIBS";
                else if (in_libs)
                    link(args[i]);
            }
        }
    }
}

}  // namespace korv::testsupport
