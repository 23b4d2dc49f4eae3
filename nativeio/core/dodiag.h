#pragma once
#include <optional>
#include <cstdint>

namespace korv::korvio {

// The actuator command of a test code: 0-10 and 99.
std::optional<std::uint8_t> actuator_command(int code);

// Sends the command and waits for its echo; see korvio.h.
int run_actuator_test(int port, int code);

}  // namespace korv::korvio
