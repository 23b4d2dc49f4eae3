#include "nativeio/core/cable_reset.h"

#include "nativeio/core/cable_bringup.h"
#include "nativeio/core/port_table.h"

#include <cstdio>

namespace korv::korvio {
namespace {

int open_only(int port) {
    if (port == kDemoPort) {
        // The demonstration port is a null device: it must not take COM1,
        // which another interface may be using.
        std::remove("logtrace.tmp");
        return kDone;
    }
    // Index -1 would quietly change the open defaults instead.
    if (!find_slot(port)) return kBadPort + kOpenOffset;
    SioOpen(kDefaults, 1, 1);
    if (int r = SioOpen(port, 1024, 1024); r != kDone) return r + kOpenOffset;
    if (SioDTR(port, 'S') == 0 || SioRTS(port, 'S') == 0) {
        SioClose(port);
        return kSystemCallFailed + kOpenOffset;
    }
    return kDone;
}

}  // namespace

int reset_cable(int cable, int port) {
    if (cable == kOpenOnly) return open_only(port);
    if (port == kDemoPort) return kDone;
    if (cable >= 0 && cable <= 4) return bring_up_cable(cable, port);
    return kDone;
}

}  // namespace korv::korvio
