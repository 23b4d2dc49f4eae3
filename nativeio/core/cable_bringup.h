#pragma once
// Preparing an open port for one of the cables (SioReset cables 0-4).
namespace korv::korvio {

// Cables 0, 1, 3: the interface boxes at 19200 baud; 2: the direct K-line
// cable and its five-baud initialisation; 4: the DSM link at 1953 baud.
// Not for the demonstration port, which needs nothing.
int bring_up_cable(int cable, int port);

// Set-up of the cable-3 interface box: three commands, each after a DTR
// pulse and sent with a pause for the box's carrier. 0, or the failing
// step's code (-1 when carrier never came). The demonstration port: 0.
int InterfaceInit(int port);

}  // namespace korv::korvio
