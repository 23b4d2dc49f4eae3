#include "testsupport/include_rules.h"

#include "testsupport/cmake_links.h"
#include "testsupport/thread_start_rules.h"
#include "testsupport/tree_files.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <utility>

namespace korv::testsupport {
namespace {

const std::vector<std::string> kProgramFolders = {"logger", "player", "editors", "plot3d", "boxlogger", "dyno"};
const std::vector<std::string> kSharedFolders = {"common", "platform", "nativeio", "sim", "testsupport", "bench"};

bool starts_with(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

bool contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

std::string top_folder(const std::string& path) { return path.substr(0, path.find('/')); }

bool has_segment(const std::string& path, const std::string& segment) {
    return starts_with(path, segment + "/") || path.find("/" + segment + "/") != std::string::npos;
}

bool is_qt_header(const std::string& header) {
    static const std::regex qt(R"(^(Q.*|q[a-z0-9_]*\.h)$)");
    return std::regex_match(header, qt);
}

// A header of the tree's own, however it is bracketed.
bool is_tree_header(const std::string& header) {
    const std::string top = top_folder(header);
    return header.find('/') != std::string::npos && (contains(kProgramFolders, top) || contains(kSharedFolders, top));
}

// The layers that are plain C++ with no Qt, by name, or nothing.
std::optional<std::string> plain_layer(const std::string& path) {
    if (has_segment(path, "core")) return "core";
    if (starts_with(path, "platform/serial/")) return "platform/serial";
    return std::nullopt;
}

bool is_test_file(const std::string& file) { return has_segment(file, "tests") || top_folder(file) == "testsupport"; }

// The folders a file may include (and a CMakeLists.txt link), by where it lives.
bool allowed_by_folder(const std::string& file, const std::string& header) {
    const std::string from = top_folder(file);
    const std::string to = top_folder(header);
    if (from == "bench") return true;
    if (is_test_file(file) && (to == "sim" || to == "testsupport")) return true;
    if (from == "testsupport") return to == "testsupport" || to == "platform";
    if (from == "platform") return to == "platform";
    if (from == "nativeio") return to == "nativeio" || to == "platform";
    if (from == "sim") return to == "sim" || to == "platform";
    if (from == "common") return to == "common" || to == "platform" || starts_with(header, "nativeio/include/");
    // The plug-in interface carries its own types only.
    if (starts_with(file, kPlayerPlugInFolder)) return starts_with(header, kPlayerPlugInFolder);
    if (contains(kProgramFolders, from)) {
        if (to == from || to == "common" || to == "platform" || starts_with(header, "nativeio/include/")) return true;
        if ((from == "editors" || from == "plot3d") && starts_with(header, kPlayerPlugInFolder)) return true;
        if (starts_with(file, "player/app/") && (to == "editors" || to == "plot3d")) return true;
    }
    return false;
}

bool is_gui_or_app(const std::string& path) { return has_segment(path, "gui") || has_segment(path, "app"); }

std::string read_whole(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every CMakeLists.txt of the tree, each folder's variables as its
// CMakeLists.txt leaves them for its subfolders: a parent is read before its
// subfolders, and a folder inherits from the nearest one above it.
CMakeGraph read_tree_lists(const std::filesystem::path& root) {
    std::vector<std::pair<std::filesystem::path, std::string>> lists;
    for_each_tree_file(root, [&](const std::filesystem::path& path, const std::string& file) {
        if (path.filename() == "CMakeLists.txt") lists.emplace_back(path, file);
    });
    const auto depth = [](const std::string& file) { return std::count(file.begin(), file.end(), '/'); };
    std::sort(lists.begin(), lists.end(), [&](const auto& a, const auto& b) {
        return std::pair(depth(a.second), a.second) < std::pair(depth(b.second), b.second);
    });
    CMakeGraph graph;
    std::map<std::string, CMakeVariables> left_by_folder;
    for (const auto& [path, file] : lists) {
        const std::string folder = std::filesystem::path(file).parent_path().generic_string();
        CMakeVariables variables;
        for (std::filesystem::path above = folder; !above.empty();) {
            above = above.parent_path();
            if (const auto found = left_by_folder.find(above.generic_string()); found != left_by_folder.end()) {
                variables = found->second;
                break;
            }
        }
        read_cmake_lists(file, read_whole(path), variables, graph);
        left_by_folder[folder] = std::move(variables);
    }
    return graph;
}

bool is_qt_concurrent(const std::string& library) {
    return library == "Qt6::Concurrent" || library == "Qt::Concurrent";
}

}  // namespace

std::optional<std::string> forbidden_include(const std::string& file, const std::string& header, bool angled) {
    const std::optional<std::string> plain = plain_layer(file);
    if (angled && !is_tree_header(header)) {
        if (plain && is_qt_header(header)) return *plain + " code includes Qt";
        return std::nullopt;
    }
    if (plain && is_gui_or_app(header)) return *plain + " code includes a gui/ or app/ header";
    if (!allowed_by_folder(file, header)) return top_folder(file) + "/ may not include " + top_folder(header) + "/";
    return std::nullopt;
}

std::optional<std::string> forbidden_link(const std::string& file, const std::string& library,
                                          const std::string& library_file) {
    if (const auto plain = plain_layer(file); plain && is_gui_or_app(library_file))
        return *plain + " code links a gui/ or app/ library";
    if (!allowed_by_folder(file, library_file))
        return top_folder(file) + "/ may not link " + top_folder(library_file) + "/'s " + library;
    return std::nullopt;
}

std::vector<LayerViolation> check_tree_includes(const std::filesystem::path& root) {
    static const std::regex include_line(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<LayerViolation> found;
    for_each_source_line(root, [&](const std::string& file, int line, const std::string& text) {
        std::smatch match;
        if (!std::regex_search(text, match, include_line)) return;
        const bool angled = match[1] == "<";
        const std::string header = match[2];
        if ((!angled || is_tree_header(header)) && !std::filesystem::is_regular_file(root / header)) {
            found.push_back({file, line, header, "not a path from the repository root"});
            return;
        }
        if (auto why = forbidden_include(file, header, angled)) found.push_back({file, line, header, *why});
    });
    return found;
}

std::vector<LayerViolation> check_tree_links(const std::filesystem::path& root) {
    const CMakeGraph graph = read_tree_lists(root);
    std::vector<LayerViolation> found;
    for (const auto& [name, target] : graph.targets) {
        if (starts_with(target.file, kPlayerPlugInFolder) && !target.header_only)
            found.push_back({target.file, 0, name, "the player's plug-in target carries headers only"});
    }
    for (const CMakeLink& link : graph.links) {
        // A link belongs to the folder of the target that receives it, wherever it is written.
        const CMakeTarget* receiver = made_target(graph, link.target);
        const std::string& owner = receiver != nullptr ? receiver->file : link.file;
        if (is_qt_concurrent(link.library) && top_folder(owner) != "testsupport") {
            found.push_back({link.file, link.line, link.library, kQtThreadsWhy});
            continue;
        }
        const CMakeTarget* made = made_target(graph, link.library);
        if (made == nullptr) continue;  // not one of the tree's own
        if (auto why = forbidden_link(owner, link.library, made->file))
            found.push_back({link.file, link.line, link.library, *why});
    }
    return found;
}

}  // namespace korv::testsupport
