#include "boxlogger/core/shell_registration.h"

#include <cstdlib>
#include <filesystem>

#include "common/core/atomic_file_writer.h"

namespace korv::boxlogger {

namespace {

// Quoting of the Exec key: the path in double quotes, with ", `, $ and the
// backslash escaped by a backslash.
std::string quoted_exec_argument(const std::string& path) {
    std::string out = "\"";
    for (const char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

std::optional<std::string> write_if_missing(const std::filesystem::path& file, const std::string& text,
                                            std::vector<std::string>& written) {
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) return std::nullopt;
    std::filesystem::create_directories(file.parent_path(), ec);
    if (ec) return "Cannot create " + file.parent_path().string() + ": " + ec.message();
    AtomicFileWriter writer;
    if (auto error = writer.open(file.string())) return error;
    writer.write(text.data(), text.size());
    if (auto error = writer.commit()) return error;
    written.push_back(file.string());
    return std::nullopt;
}

}  // namespace

std::string desktop_entry_text(const std::string& program_path) {
    std::string exec = quoted_exec_argument(program_path);
    // A lone % would be taken for a field code.
    std::string escaped;
    for (const char c : exec) {
        escaped += c;
        if (c == '%') escaped += '%';
    }
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=VXMlog\n"
           "Comment=Capture and review data from the Calderis data-logger box\n"
           "Exec=" +
           escaped +
           " %f\n"
           "Terminal=false\n"
           "Categories=Utility;\n"
           "MimeType=" +
           std::string(kVxgMimeType) + ";\n";
}

std::string mime_package_text() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
           "  <mime-type type=\"" +
           std::string(kVxgMimeType) +
           "\">\n"
           "    <comment>VXMlog Document</comment>\n"
           "    <glob pattern=\"*.vxg\"/>\n"
           "  </mime-type>\n"
           "</mime-info>\n";
}

std::string user_data_folder() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && data[0] == '/') return data;
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0')
        return std::string(home) + "/.local/share";
    return {};
}

RegistrationResult register_shell_types(const std::string& data_folder, const std::string& program_path) {
    RegistrationResult result;
    if (data_folder.empty()) {
        result.error = "No folder for the user's data";
        return result;
    }
    const std::filesystem::path base(data_folder);
    result.error =
        write_if_missing(base / "mime" / "packages" / kMimePackageFileName, mime_package_text(), result.written);
    if (!result.error)
        result.error = write_if_missing(base / "applications" / kDesktopFileName, desktop_entry_text(program_path),
                                        result.written);
    return result;
}

}  // namespace korv::boxlogger
