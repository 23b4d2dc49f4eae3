#include "nativeio/core/dtc_catalogue.h"

#include <dlfcn.h>

#include <fstream>

namespace korv::korvio {
namespace {

constexpr std::size_t kCodeTextLength = 5;
constexpr std::size_t kShortestEntry = 6;

}  // namespace

std::optional<DtcCatalogue> DtcCatalogue::load(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    DtcCatalogue catalogue;
    std::string line;
    while (std::getline(in, line)) {
        if (!in.eof()) line.push_back('\n');
        catalogue.lines_.push_back(line);
    }
    if (in.bad()) return std::nullopt;
    return catalogue;
}

std::optional<DtcCatalogue> DtcCatalogue::open(const std::filesystem::path& fallback_directory) {
    if (auto here = load(kName)) return here;
    if (fallback_directory.empty()) return std::nullopt;
    return load(fallback_directory / kName);
}

std::optional<DtcCatalogue> DtcCatalogue::open() { return open(library_directory()); }

std::optional<std::string> DtcCatalogue::find(const std::string& code_text) const {
    for (const std::string& line : lines_) {
        if (line.size() < kShortestEntry || line.compare(0, kCodeTextLength, code_text) != 0) continue;
        if (line.back() == '\n') return line;
        return line + '\n';
    }
    return std::nullopt;
}

std::filesystem::path library_directory() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&library_directory), &info) == 0 || !info.dli_fname || !*info.dli_fname)
        return {};
    std::error_code error;
    const std::filesystem::path module = std::filesystem::absolute(info.dli_fname, error);
    return error ? std::filesystem::path{} : module.lexically_normal().parent_path();
}

}  // namespace korv::korvio
