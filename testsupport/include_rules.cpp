#include "testsupport/include_rules.h"

#include "testsupport/cmake_links.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>

namespace korv::testsupport {
namespace {

const std::vector<std::string> kProgramFolders = {"logger", "player", "editors", "plot3d", "boxlogger", "dyno"};

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

// Calls `visit` with each regular file of the tree and its path from the
// root, skipping build and hidden folders.
void for_each_tree_file(const std::filesystem::path& root,
                        const std::function<void(const std::filesystem::path&, const std::string&)>& visit) {
    auto it = std::filesystem::recursive_directory_iterator(root);
    for (; it != std::filesystem::recursive_directory_iterator(); ++it) {
        const std::string name = it->path().filename().string();
        if (it->is_directory() && (starts_with(name, "build") || starts_with(name, "."))) {
            it.disable_recursion_pending();
            continue;
        }
        if (it->is_regular_file()) visit(it->path(), std::filesystem::relative(it->path(), root).generic_string());
    }
}

}  // namespace

std::optional<std::string> forbidden_include(const std::string& file, const std::string& header, bool angled) {
    const bool in_core = has_segment(file, "core");
    if (angled) {
        if (in_core && is_qt_header(header)) return "core code includes Qt";
        return std::nullopt;
    }
    if (in_core && is_gui_or_app(header)) return "core code includes a gui/ or app/ header";
    if (!allowed_by_folder(file, header)) return top_folder(file) + "/ may not include " + top_folder(header) + "/";
    return std::nullopt;
}

std::optional<std::string> forbidden_link(const std::string& file, const std::string& library,
                                          const std::string& library_file) {
    if (has_segment(file, "core") && is_gui_or_app(library_file)) return "core code links a gui/ or app/ library";
    if (!allowed_by_folder(file, library_file))
        return top_folder(file) + "/ may not link " + top_folder(library_file) + "/'s " + library;
    return std::nullopt;
}

std::vector<LayerViolation> check_tree_includes(const std::filesystem::path& root) {
    static const std::regex include_line(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<LayerViolation> found;
    for_each_tree_file(root, [&](const std::filesystem::path& path, const std::string& file) {
        const std::string ext = path.extension().string();
        if (ext != ".h" && ext != ".cpp") return;
        std::ifstream in(path);
        std::string text;
        for (int line = 1; std::getline(in, text); ++line) {
            std::smatch match;
            if (!std::regex_search(text, match, include_line)) continue;
            const bool angled = match[1] == "<";
            const std::string header = match[2];
            if (!angled && !std::filesystem::is_regular_file(root / header)) {
                found.push_back({file, line, header, "not a path from the repository root"});
                continue;
            }
            if (auto why = forbidden_include(file, header, angled)) found.push_back({file, line, header, *why});
        }
    });
    return found;
}

std::vector<LayerViolation> check_tree_links(const std::filesystem::path& root) {
    CMakeGraph graph;
    for_each_tree_file(root, [&](const std::filesystem::path& path, const std::string& file) {
        if (path.filename() != "CMakeLists.txt" || file.find('/') == std::string::npos) return;
        std::ifstream in(path);
        std::ostringstream text;
        text << in.rdbuf();
        read_cmake_lists(file, text.str(), graph);
    });
    std::vector<LayerViolation> found;
    for (const auto& [name, target] : graph.targets) {
        if (starts_with(target.file, kPlayerPlugInFolder) && !target.header_only)
            found.push_back({target.file, 0, name, "the player's plug-in target carries headers only"});
    }
    for (const CMakeLink& link : graph.links) {
        const auto made = graph.targets.find(link.library);
        if (made == graph.targets.end()) continue;  // not one of the tree's own
        if (auto why = forbidden_link(link.file, link.library, made->second.file))
            found.push_back({link.file, link.line, link.library, *why});
    }
    return found;
}

}  // namespace korv::testsupport
