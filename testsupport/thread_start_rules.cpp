#include "testsupport/thread_start_rules.h"

#include "testsupport/tree_files.h"

#include <regex>

namespace korv::testsupport {

std::optional<std::string> forbidden_thread_name(const std::string& file, const std::string& line) {
    if (file.rfind("testsupport/", 0) == 0) return std::nullopt;
    static const std::regex include_of_qthread(R"(^\s*#\s*include\s*<QThread>)");
    if (std::regex_search(line, include_of_qthread)) return std::nullopt;
    static const std::regex name(R"(\b(QThreadPool|QRunnable|QtConcurrent\w*|moveToThread|QThread)\b)");
    static const std::regex asks_which_thread(R"(^::currentThread\b)");
    for (auto it = std::sregex_iterator(line.begin(), line.end(), name); it != std::sregex_iterator(); ++it) {
        const std::string after = it->suffix().str();
        if ((*it)[1] == "QThread" && std::regex_search(after, asks_which_thread)) continue;
        return (*it)[1].str();
    }
    return std::nullopt;
}

std::vector<LayerViolation> check_tree_thread_starts(const std::filesystem::path& root) {
    std::vector<LayerViolation> found;
    for_each_source_line(root, [&](const std::string& file, int line, const std::string& text) {
        if (auto name = forbidden_thread_name(file, text)) found.push_back({file, line, *name, kQtThreadsWhy});
    });
    return found;
}

}  // namespace korv::testsupport
