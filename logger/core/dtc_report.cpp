#include "logger/core/dtc_report.h"

#include "common/core/line_reader.h"
#include "nativeio/include/korvio_files.h"

#include <filesystem>
#include <fstream>
#include <string_view>

namespace korv::logger {
namespace {

constexpr std::size_t kMostBytes = 1 << 20;

}  // namespace

DtcReport read_dtc_report(const std::string& path) {
    DtcReport report;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return report;
    std::ifstream in(path, std::ios::binary);
    if (!in) return report;

    std::string bytes(kMostBytes, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    // A read error ends the reading; what came before is kept.
    bytes.resize(static_cast<std::size_t>(in.gcount()));

    report.status = DtcReport::Status::no_data;
    if (bytes.empty()) return report;
    report.count = static_cast<signed char>(bytes[0]);
    report.lines = text_lines(std::string_view(bytes).substr(korvio_files::kDtcCountBytes));
    bool any_text = false;
    for (const std::string& line : report.lines) any_text = any_text || !line.empty();
    if (any_text) report.status = DtcReport::Status::ok;
    return report;
}

std::string dtc_list_text(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

}  // namespace korv::logger
