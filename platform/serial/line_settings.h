#pragma once
// What a serial line is set to: the fields a port keeps between applies.
namespace korv::platform::serial {

struct LineSettings {
    int baud = 19200;
    int parity = 0;         // 0 none, 1 odd, 2 even, 3 mark, 4 space
    int stop_bits = 0;      // 0 one, 1 one and a half (5-bit bytes only), 2 two
    int byte_size = 8;      // 5 to 8
    bool cts_flow = false;  // hardware handshake (CTS/RTS)
    bool xon_xoff = false;  // software flow both ways
};

// A device that cannot run within this share of the wanted speed is refused:
// a link at the wrong speed garbles every byte without telling anyone.
inline constexpr int kSpeedTolerancePercent = 3;

bool speed_close_enough(long wanted, long actual);

// Error a refused speed is reported with.
inline constexpr int kSpeedRefused = 34;  // ERANGE

}  // namespace korv::platform::serial
