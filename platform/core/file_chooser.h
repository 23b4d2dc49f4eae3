#pragma once
// Asking the user for a file to open or a name to save under.
#include <optional>
#include <string>
#include <vector>

namespace korv::platform {

// Texts are UTF-8; paths are in the file system's encoding.
struct FileFilter {
    std::string description;            // "Log Files"
    std::vector<std::string> patterns;  // {"*.vxm", "*.log"}; "*.*" means every file

    bool operator==(const FileFilter&) const = default;
};

enum class FileChooserMode { Open, Save };

struct FileChooserRequest {
    FileChooserMode mode = FileChooserMode::Open;
    std::string title;      // empty: the chooser's own title
    std::string directory;  // where the chooser starts; empty: current directory
    std::string file_name;  // proposed name
    std::vector<FileFilter> filters;
    std::string default_extension;  // without the dot; added when the user types none
    bool overwrite_prompt = true;   // Save: ask before replacing an existing file

    bool operator==(const FileChooserRequest&) const = default;
};

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The chosen full path, or nullopt when the user cancelled.
    virtual std::optional<std::string> choose(const FileChooserRequest& request) = 0;
};

}  // namespace korv::platform
