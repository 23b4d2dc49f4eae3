#pragma once
#include <string>

namespace korv::platform::serial {

// The environment variable naming the device of slot n (COM n+1).
std::string com_port_variable(int slot);

// The device behind slot n (COM n+1): $KORVIO_COM<n+1> when set and not
// empty, else /dev/ttyS<n>. Looked up at each open so a user or a test can
// point a port elsewhere without restarting. korvio and VXMlog both resolve
// their ports here, so one variable serves either program.
std::string device_path(int slot);

}  // namespace korv::platform::serial
