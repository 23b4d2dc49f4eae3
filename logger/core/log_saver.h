#pragma once

#include <functional>
#include <string>

#include "logger/core/log_family.h"
#include "platform/core/file_chooser.h"
#include "platform/core/message_box.h"

// The save step at the end of a logging run: asks for a name and converts
// the run's sample dump into a log file.
namespace korv::logger {

using ReportFn = std::function<void(const std::string& message)>;

inline constexpr const char* kNoLoggedData = "No logged data to save!";
inline constexpr const char* kErrorSavingPrefix = "Error saving log data: ";
inline constexpr const char* kSaveDialogTitle = "Save Log File";
inline constexpr const char* kDiscardQuestion = "Discard the logged data?";

// The save dialog of a type, with its name pattern.
platform::FileChooserRequest save_dialog_request(LogType type);

// The dump is looked up in working_directory (empty: the current one).
// Messages go through report. A cancelled dialog asks whether to discard
// the run, and a fallback name asks before it replaces an existing file;
// "No" to either shows the dialog again. A question answered with neither
// Yes nor No (withdrawn, the window is going away) ends the save with
// nothing written.
void save_log_file(LogType type, const std::string& working_directory, platform::FileChooser& chooser,
                   platform::MessageBox& questions, const ReportFn& report);

}  // namespace korv::logger
