#pragma once
// What the handheld transfer tells the user.
#include "common/core/korvio_loader.h"

#include <string>

namespace korv::player {

inline constexpr const char* kNoComPortSelected = "No COM port selected!";
inline constexpr const char* kWrongLibraryVersion = korv::kKorvioWrongVersionMessage;
inline constexpr const char* kNoLoggedDataToSave = "No logged data to save!";
inline constexpr const char* kErrorSavingLogData = "Error saving log data: ";
inline constexpr const char* kSaveLogFileTitle = "Save Log File";

inline std::string palm_access_error(int result) { return "Palm access error: " + std::to_string(result); }

}  // namespace korv::player
