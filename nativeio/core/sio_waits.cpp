// Waits on the process clock: delays, input counts and the paced send.
#include "nativeio/core/port_table.h"

#include "platform/core/clock.h"
#include "platform/serial/input_wait.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>

namespace korv::korvio {
namespace {

std::int64_t now_us() { return platform::clock().now_us(); }

// The bytes that came to the port, taken off the device so that polling it
// waits for the next one, and its descriptor for that poll.
int arrived_input(int port, int* arrived, int* fd) {
    return with_open_slot(port, [&](Slot& slot) {
        const int held = gather_input(slot);
        if (held < 0) return held;
        *arrived = held;
        *fd = slot.tty->fd();
        return kDone;
    });
}

// A device that went away (a USB cable pulled, the far end of a
// pseudo-terminal closed) reads as empty and wakes every poll at once: a
// wait that went on polling it would spin until its deadline.
bool device_gone(int fd) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL));
}

}  // namespace

int SioDelay(int milliseconds) {
    auto& clock = platform::clock();
    const std::int64_t end = clock.now_us() + std::int64_t{milliseconds} * 1000;
    for (std::int64_t now = clock.now_us(); now < end; now = clock.now_us()) clock.sleep_us(end - now);
    return kDone;
}

int wait_rx_until(int port, int count, std::int64_t deadline_us, std::int64_t close_until_us) {
    for (;;) {
        int arrived = 0;
        int fd = -1;
        if (int r = arrived_input(port, &arrived, &fd); r != kDone) return r;
        if (arrived >= count) return kDone;
        if (device_gone(fd)) return system_failure(EIO);
        const std::int64_t now = now_us();
        if (now >= deadline_us) return kTimeOut;
        const std::int64_t until = now < close_until_us ? std::min(deadline_us, now + kCloseStepUs) : deadline_us;
        platform::serial::wait_step(fd, false, until);
    }
}

int SioWaitRx(int port, int count, int seconds) {
    if (port == kDemoPort) return kDone;
    return wait_rx_until(port, count, now_us() + std::int64_t{seconds} * 1'000'000);
}

int SioSendPaced(int port, const std::uint8_t* buffer, int count) {
    if (count < 0 || (count > 0 && !buffer)) return kBadArgument;
    if (int r = SioDrainRx(port); r != kDone) return r;
    const int head = std::min(count, 2);
    if (int n = SioWrite(port, buffer, head); n != head) return n < 0 ? n : kSystemCallFailed;
    SioDelay(1500);

    // The box raises carrier when it is ready for the rest; one that never
    // does must not hold the caller for ever.
    const std::int64_t deadline = now_us() + std::int64_t{kCarrierWaitMs} * 1000;
    for (;;) {
        const int carrier = SioDCD(port);
        if (carrier < 0) return carrier;
        if (carrier != 0) break;
        if (now_us() >= deadline) return kTimeOut;
        platform::serial::wait_step(-1, false, deadline);
    }
    const int rest = count - head;
    if (int n = SioWrite(port, buffer + head, rest); n != rest) return n < 0 ? n : kSystemCallFailed;
    return kDone;
}

}  // namespace korv::korvio
