#pragma once
// ISO 9141-2 five-baud initialisation of a direct K-line cable: the tester
// sends the address 0x33 at 5 baud once the line has been quiet for 300 ms,
// the ECU answers 55 08 08 at 10400 baud, the tester returns the inverted
// key byte F7 30 ms after the second key byte and the ECU confirms with the
// inverted address CC. The port stays open at 10400 baud when it succeeds.
#include <functional>

namespace korv::korvio {

struct SlowInitOptions {
    // Changes the port's speed (SioBaud's results). Empty: SioBaud. Tests
    // stand in a device that refuses 5 baud here.
    std::function<int(int port, int baud)> set_baud;
    // Asked before each attempt after the first; false gives up with
    // kSlowInitAbandoned. Empty: try all attempts.
    std::function<bool()> keep_trying;
};

inline constexpr int kSlowInitAttempts = 11;
// Result when keep_trying said no; never handed to a caller of korvio.
inline constexpr int kSlowInitAbandoned = 1;

// 0 when the ECU answered; -1 after 11 failed attempts, or at once when the
// port cannot be opened. Each attempt reopens the port with settings of its
// own (10400 baud 8N1, DTR and RTS off), so the shared open defaults stay
// as they are. The demonstration port succeeds at once.
int Iso9141SlowInit(int port, const SlowInitOptions& options = {});

}  // namespace korv::korvio
