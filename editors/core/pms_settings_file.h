#pragma once
// The PMS settings image (.e2p) on disk: loading its three programs into
// the table model and saving the model back. The image loaded last stays in
// memory as the base of every save; the working copy tmp.tmp is still
// written for anyone who looks, but nothing reads it back.
#include "editors/core/pms_cells.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korv::editors::pms {

inline constexpr const char* kWorkingCopyName = "tmp.tmp";
inline constexpr const char* kUnableToOpenFile = "Unable to open file: ";

class PmsSettings {
public:
    struct ProgramLoad {
        bool found = false;                // the file exists: the title changes, "Save" is enabled
        std::optional<std::string> error;  // the message for the error dialog
    };

    // work_dir holds tmp.tmp; empty means the current directory.
    explicit PmsSettings(std::string work_dir = {}) : work_dir_(std::move(work_dir)) {}

    AdjustCells& cells() { return cells_; }
    const AdjustCells& cells() const { return cells_; }
    const std::vector<std::uint8_t>& image() const { return image_; }

    // One program from the file at path. A missing file changes nothing
    // but the simulator layer; a short or unreadable one decodes what it
    // has (the rest as 0) and reports why.
    ProgramLoad recall_program(int program, const std::string& path);

    // The three programs, one after the other; the error, if any, is one
    // message that names every program that could not be read.
    ProgramLoad recall_data(const std::string& path);

    // Writes the rebuilt image to path as a whole (temp + rename). On
    // success the model takes the stored values and the simulator layer is
    // cleared; on failure the old file and the model stay as they were.
    std::optional<std::string> save(const std::string& path);

private:
    std::string working_copy_path() const;

    std::string work_dir_;
    AdjustCells cells_;
    std::vector<std::uint8_t> image_;
};

}  // namespace korv::editors::pms
