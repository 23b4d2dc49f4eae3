// Opening and closing slots, and the defaults of the next open.
#include "nativeio/core/port_table.h"

namespace korv::korvio {

int SioOpen(int port, int in_queue, int out_queue) {
    if (port == kDefaults) {
        update_open_defaults([&](OpenSettings& d) {
            d.dtr = (in_queue & 1) != 0;
            d.rts = (out_queue & 1) != 0;
        });
        return kDone;
    }
    return open_slot(port, in_queue, out_queue, open_defaults());
}

int SioClose(int port) {
    Slot* slot = find_slot(port);
    if (!slot) return kBadPort;
    std::jthread event_thread;
    {
        std::lock_guard lock(slot->mutex);
        if (!slot->tty) return kPortClosed;
        event_thread = std::move(slot->event_thread);
    }
    // Stopped outside the lock: the event thread takes it to look at the port.
    if (event_thread.joinable()) {
        event_thread.request_stop();
        event_thread.join();
    }
    std::lock_guard lock(slot->mutex);
    if (!slot->tty) return kPortClosed;
    slot->tty.reset();  // puts back the read time-outs found at open
    slot->held.clear();
    return 1;
}

int SioRaiseLines(int port) {
    SioOpen(kDefaults, 1, 1);
    const int opened = SioOpen(port, 1024, 1024);
    // Not ours to close when it did not open here.
    if (opened != kDone) return opened;
    SioParms(port, 0, 0, 8);
    SioDTR(port, 'S');
    SioRTS(port, 'S');
    SioClose(port);
    return opened;
}

int SioResetPort0() {
    SioBaud(0, 19200);
    SioParms(0, 0, 0, 8);
    SioFlowMode(0, 'N');
    const int opened = SioOpen(0, 1024, 1024);
    if (opened != kDone) return opened;
    return SioClose(0);
}

}  // namespace korv::korvio
