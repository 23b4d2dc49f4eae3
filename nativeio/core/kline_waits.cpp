#include "nativeio/core/kline_waits.h"

#include "nativeio/core/port_table.h"
#include "platform/core/clock.h"

#include <algorithm>

namespace korv::korvio {
namespace {

std::int64_t now_us() { return platform::clock().now_us(); }

}  // namespace

int wait_for_quiet_line(int port, std::int64_t quiet_us, std::int64_t give_up_us, bool close) {
    std::int64_t last_heard = now_us();
    for (;;) {
        bool heard = false;
        for (int byte = SioGetc(port); byte != kNothingWaiting; byte = SioGetc(port)) {
            if (byte < 0) return byte;
            heard = true;
        }
        const std::int64_t now = now_us();
        if (heard) last_heard = now;
        if (now - last_heard >= quiet_us) return kDone;
        if (now >= give_up_us) return kTimeOut;
        const int waited = wait_rx_until(port, 1, std::min(last_heard + quiet_us, give_up_us), close ? give_up_us : 0);
        if (waited != kDone && waited != kTimeOut) return waited;
    }
}

}  // namespace korv::korvio
