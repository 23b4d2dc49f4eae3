#pragma once
#include <string>

namespace korv::korvio {

// The device behind slot n (COM n+1): $KORVIO_COM<n+1> when set and not
// empty, else /dev/ttyS<n>. Looked up at each open so a user or a test can
// point a slot elsewhere without restarting.
std::string device_path(int slot);

}  // namespace korv::korvio
