#include "nativeio/core/device_path.h"

#include <stdlib.h>

namespace korv::korvio {

std::string device_path(int slot) {
    const std::string variable = "KORVIO_COM" + std::to_string(slot + 1);
    if (const char* value = getenv(variable.c_str()); value && *value) return value;
    return "/dev/ttyS" + std::to_string(slot);
}

}  // namespace korv::korvio
