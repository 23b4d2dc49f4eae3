#include "platform/serial/device_path.h"

#include <stdlib.h>

namespace korv::platform::serial {

std::string com_port_variable(int slot) { return "KORVIO_COM" + std::to_string(slot + 1); }

std::string device_path(int slot) {
    const std::string variable = com_port_variable(slot);
    if (const char* value = getenv(variable.c_str()); value && *value) return value;
    return "/dev/ttyS" + std::to_string(slot);
}

}  // namespace korv::platform::serial
