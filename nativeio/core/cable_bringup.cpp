#include "nativeio/core/cable_bringup.h"

#include "nativeio/core/port_table.h"
#include "nativeio/core/slow_init.h"

#include <cstdint>

namespace korv::korvio {
namespace {

constexpr int kBoxBaud = 19200;
constexpr int kDsmBaud = 1953;

// Step offsets of the cable-4 bring-up.
constexpr int kDsmParmsOffset = 6000;
constexpr int kDsmFlowOffset = 6100;
constexpr int kDsmBaudOffset = 6200;

constexpr std::uint8_t kBoxCommands[3][9] = {
    {0x01, 0x01, 0x06, 0x68, 0x6A, 0xF1, 0x01, 0x00, 0x17},
    {0x01, 0x00, 0x06, 0x61, 0x6A, 0xF1, 0x01, 0x00, 0x1A},
    {0x01, 0x02, 0x06, 0x68, 0x6A, 0xF1, 0x01, 0x00, 0xC4},
};

// The boxes report nothing of their set-up steps; the probe that follows
// tells whether the box answers.
int box_at_19200(int port) {
    SioBaud(port, kBoxBaud);
    SioParms(port, 0, 0, 8);
    SioFlowMode(port, 'N');
    return kDone;
}

int box_with_reset_lines(int port) {
    SioBaud(port, kBoxBaud);
    SioFlowMode(port, 'N');
    SioParms(port, 0, 0, 8);
    SioRTS(port, 'C');
    SioDTR(port, 'S');
    SioDelay(1000);
    return kDone;
}

int k_line(int port) {
    SioClose(port);
    return Iso9141SlowInit(port);
}

int box_with_commands(int port) {
    box_at_19200(port);
    SioRTS(port, 'S');
    SioDTR(port, 'C');
    SioDelay(1000);
    SioDTR(port, 'S');
    SioDelay(1000);
    return InterfaceInit(port);
}

int dsm_link(int port) {
    if (int r = SioParms(port, 0, 0, 8); r != kDone) return r + kDsmParmsOffset;
    if (int r = SioFlowMode(port, 'N'); r != kDone) return r + kDsmFlowOffset;
    // SioBaud reports done as non-zero: 0 is a refusal.
    if (int r = SioBaud(port, kDsmBaud); r <= 0) return r + kDsmBaudOffset;
    return kDone;
}

}  // namespace

int InterfaceInit(int port) {
    if (port == kDemoPort) return kDone;
    for (const auto& command : kBoxCommands) {
        SioDTR(port, 'C');
        SioDelay(1000);
        SioDTR(port, 'S');
        SioDelay(1000);
        // A box that never raises carrier has not taken the command.
        if (int r = SioSendPaced(port, command, 9); r != kDone) return r;
    }
    SioDelay(2000);
    return kDone;
}

int bring_up_cable(int cable, int port) {
    // Index -1 would reach the open defaults instead of a port.
    if (!find_slot(port)) return cable == 4 ? kBadPort + kDsmParmsOffset : kBadPort;
    switch (cable) {
    case 0: return box_at_19200(port);
    case 1: return box_with_reset_lines(port);
    case 2: return k_line(port);
    case 3: return box_with_commands(port);
    case 4: return dsm_link(port);
    default: return kDone;
    }
}

}  // namespace korv::korvio
