#include "sim/core/com_port_binding.h"

#include <stdlib.h>

#include "platform/serial/device_path.h"

namespace korv::sim {

std::string com_variable(int slot) { return platform::serial::com_port_variable(slot); }

ComPortBinding::ComPortBinding(int slot, const std::string& path) : name_(com_variable(slot)) {
    if (const char* old = getenv(name_.c_str())) previous_ = old;
    setenv(name_.c_str(), path.c_str(), 1);
}

ComPortBinding::~ComPortBinding() {
    if (previous_)
        setenv(name_.c_str(), previous_->c_str(), 1);
    else
        unsetenv(name_.c_str());
}

}  // namespace korv::sim
