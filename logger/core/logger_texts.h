#pragma once

#include <string>

#include "common/core/korvio_loader.h"

// Messages the logger shows in more than one place.
namespace korv::logger {

// The library cannot be loaded or bound, or its version is not the one
// this program needs. The help page is this suite's README.
inline const std::string kLibraryMessage = korv::kKorvioMissingMessage;

// A logging run that ended with a failure; its samples are still saved.
inline std::string data_logging_error(int result) {
    return "Data logging error," + std::to_string(result) + " logged data will be saved";
}

}  // namespace korv::logger
