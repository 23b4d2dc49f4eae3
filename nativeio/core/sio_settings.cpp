// Speed, byte format and flow control of an open slot, or of the next open.
#include "nativeio/core/port_table.h"

namespace korv::korvio {
namespace {

// Applies changed settings; on refusal the slot keeps the ones in force, so
// a refused value never lingers to spoil the next apply.
bool apply(Slot& slot, const platform::serial::LineSettings& wanted) {
    if (slot.tty->apply(wanted) != 0) return false;
    slot.settings = wanted;
    return true;
}

}  // namespace

int SioBaud(int port, int baud) {
    if (port == kDefaults) {
        update_open_defaults([&](OpenSettings& d) { d.line.baud = baud; });
        return kDone;
    }
    return with_open_slot(port, [&](Slot& slot) {
        auto wanted = slot.settings;
        wanted.baud = baud;
        // A speed the device cannot hold within 3% is refused: 0, not done.
        return apply(slot, wanted) ? 1 : 0;
    });
}

int SioParms(int port, int parity, int stop_bits, int byte_size) {
    if (port == kDefaults) {
        update_open_defaults([&](OpenSettings& d) {
            d.line.parity = parity;
            d.line.stop_bits = stop_bits;
            d.line.byte_size = byte_size;
        });
        return kDone;
    }
    return with_open_slot(port, [&](Slot& slot) {
        auto wanted = slot.settings;
        wanted.parity = parity;
        wanted.stop_bits = stop_bits;
        wanted.byte_size = byte_size;
        if (apply(slot, wanted)) reassert_lines(slot);
        return kDone;
    });
}

int SioFlowMode(int port, int letter) {
    return with_open_slot(port, [&](Slot& slot) {
        auto wanted = slot.settings;
        switch (letter & 0xFF) {
        case 'H':
            wanted.cts_flow = true;
            wanted.xon_xoff = false;
            break;
        case 'N':
            wanted.cts_flow = false;
            wanted.xon_xoff = false;
            break;
        case 'S':
            wanted.cts_flow = false;
            wanted.xon_xoff = true;
            break;
        default: break;
        }
        if (apply(slot, wanted)) reassert_lines(slot);
        return kDone;
    });
}

}  // namespace korv::korvio
