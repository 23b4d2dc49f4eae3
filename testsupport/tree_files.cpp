#include "testsupport/tree_files.h"

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

}  // namespace korv::testsupport
