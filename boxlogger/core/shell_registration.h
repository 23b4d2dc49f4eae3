#pragma once
// What makes a double-click on a .vxg file open VXMlog: a desktop entry and a
// shared-mime-info type under the user's data folder, written only when
// missing so that a user's own edits stay.
#include <optional>
#include <string>
#include <vector>

namespace korv::boxlogger {

inline constexpr char kVxgMimeType[] = "application/x-vxmlog-document";
inline constexpr char kDesktopFileName[] = "vxmlog.desktop";
inline constexpr char kMimePackageFileName[] = "vxmlog-vxg.xml";

// The entry's Exec line quotes the program path as desktop entries require.
std::string desktop_entry_text(const std::string& program_path);
std::string mime_package_text();

// The user's data folder: $XDG_DATA_HOME, else $HOME/.local/share; empty
// when neither is set.
std::string user_data_folder();

struct RegistrationResult {
    std::vector<std::string> written;  // files that were missing and are now there
    std::optional<std::string> error;
};
// Writes <data>/applications/vxmlog.desktop and
// <data>/mime/packages/vxmlog-vxg.xml when missing.
RegistrationResult register_shell_types(const std::string& data_folder, const std::string& program_path);

}  // namespace korv::boxlogger
