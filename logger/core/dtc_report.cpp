#include "logger/core/dtc_report.h"

#include <filesystem>
#include <fstream>

namespace korv::logger {
namespace {

constexpr std::size_t kMostBytes = 1 << 20;

// Lines end at LF, CR or CR LF; a last line without an end still counts.
std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n' || c == '\r') {
            lines.push_back(line);
            line.clear();
            open = false;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
            open = true;
        }
    }
    if (open) lines.push_back(line);
    return lines;
}

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
    report.lines = split_lines(bytes.substr(1));
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
