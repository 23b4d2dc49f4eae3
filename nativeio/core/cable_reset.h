#pragma once
namespace korv::korvio {

// Cable value of SioReset that only opens the port.
inline constexpr int kOpenOnly = 99;

// The link bring-up behind SioReset; see korvio.h.
int reset_cable(int cable, int port);

}  // namespace korv::korvio
