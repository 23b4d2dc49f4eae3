#include "nativeio/core/kline_waits.h"

#include "nativeio/core/port_table.h"
#include "platform/core/clock.h"
#include "platform/serial/input_wait.h"

#include <algorithm>

namespace korv::korvio {
namespace {

std::int64_t now_us() { return platform::clock().now_us(); }

// Bytes queued on the port, with its descriptor for the next step.
int queued_bytes(int port, int* queued, int* fd) {
    return with_open_slot(port, [&](Slot& slot) {
        *queued = std::max(slot.tty->input_queue(), 0);
        *fd = slot.tty->fd();
        return kDone;
    });
}

void step(int fd, bool close, std::int64_t until_us) {
    platform::serial::wait_step(fd, false, close ? std::min(until_us, now_us() + kCloseStepUs) : until_us);
}

}  // namespace

int wait_for_byte(int port, std::int64_t close_until_us, std::int64_t deadline_us) {
    for (;;) {
        int queued = 0;
        int fd = -1;
        if (int r = queued_bytes(port, &queued, &fd); r != kDone) return r;
        if (queued > 0) return kDone;
        const std::int64_t now = now_us();
        if (now >= deadline_us) return kTimeOut;
        step(fd, now < close_until_us, deadline_us);
    }
}

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
        int queued = 0;
        int fd = -1;
        if (int r = queued_bytes(port, &queued, &fd); r != kDone) return r;
        if (queued == 0) step(fd, close, std::min(last_heard + quiet_us, give_up_us));
    }
}

}  // namespace korv::korvio
