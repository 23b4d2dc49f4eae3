#include "testsupport/tree_files.h"

#include <fstream>

namespace korv::testsupport {

void for_each_tree_file(const std::filesystem::path& root,
                        const std::function<void(const std::filesystem::path&, const std::string&)>& visit) {
    auto it = std::filesystem::recursive_directory_iterator(root);
    for (; it != std::filesystem::recursive_directory_iterator(); ++it) {
        const std::string name = it->path().filename().string();
        if (it->is_directory() && (name.rfind("build", 0) == 0 || name.rfind(".", 0) == 0)) {
            it.disable_recursion_pending();
            continue;
        }
        if (it->is_regular_file()) visit(it->path(), std::filesystem::relative(it->path(), root).generic_string());
    }
}

void for_each_source_line(const std::filesystem::path& root,
                          const std::function<void(const std::string&, int, const std::string&)>& visit) {
    for_each_tree_file(root, [&](const std::filesystem::path& path, const std::string& file) {
        const std::string ext = path.extension().string();
        if (ext != ".h" && ext != ".cpp") return;
        std::ifstream in(path);
        std::string text;
        for (int line = 1; std::getline(in, text); ++line) visit(file, line, text);
    });
}

}  // namespace korv::testsupport
