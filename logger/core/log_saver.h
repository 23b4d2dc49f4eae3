#pragma once

#include <functional>
#include <string>

#include "logger/core/log_family.h"
#include "platform/core/file_chooser.h"

// The save step at the end of a logging run: asks for a name and converts
// the run's sample dump into a log file.
namespace korv::logger {

using ReportFn = std::function<void(const std::string& message)>;

inline constexpr const char* kNoLoggedData = "No logged data to save!";
inline constexpr const char* kErrorSavingPrefix = "Error saving log data: ";
inline constexpr const char* kSaveDialogTitle = "Save Log File";

// The save dialog of a type, with its name pattern.
platform::FileChooserRequest save_dialog_request(LogType type);

// The dump is looked up in working_directory (empty: the current one).
// Messages go through report; the chooser is asked at most once.
void save_log_file(LogType type, const std::string& working_directory, platform::FileChooser& chooser,
                   const ReportFn& report);

}  // namespace korv::logger
