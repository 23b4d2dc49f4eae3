// Bytes in and out of an open slot, queue counts and the system error text.
#include "nativeio/core/port_table.h"

#include <algorithm>
#include <cstring>

namespace korv::korvio {

int SioPutc(int port, int byte) {
    return with_open_slot(port, [&](Slot& slot) {
        const std::uint8_t b = static_cast<std::uint8_t>(byte);
        const int n = slot.tty->write(&b, 1);
        return n == 1 ? kDone : system_failure(n < 0 ? -n : EIO);
    });
}

int SioWrite(int port, const std::uint8_t* buffer, int count) {
    return with_open_slot(port, [&](Slot& slot) {
        if (count <= 0) return 0;
        if (!buffer) return kBadArgument;
        const int n = slot.tty->write(buffer, count);
        return n >= 0 ? n : system_failure(-n);
    });
}

int SioPutBytes(int port, const std::uint8_t* buffer, int count) {
    const int checked = with_open_slot(port, [](Slot&) { return kDone; });
    if (checked != kDone || count <= 0) return checked;  // nothing to send
    if (!buffer) return kBadArgument;
    for (int i = 0; i < count; ++i)
        if (int r = SioPutc(port, buffer[i]); r != kDone) return r;
    return kDone;
}

int SioGetc(int port) {
    return with_open_slot(port, [&](Slot& slot) {
        if (slot.pushed_back != 0) {
            const int byte = slot.pushed_back;
            slot.pushed_back = 0;
            return byte;
        }
        std::uint8_t b = 0;
        if (slot.held.take(&b, 1) == 1) return static_cast<int>(b);
        const int n = slot.tty->read(&b, 1);
        if (n < 0) return system_failure(-n);
        return n == 1 ? static_cast<int>(b) : kNothingWaiting;
    });
}

int SioRead(int port, std::uint8_t* buffer, int count) {
    return with_open_slot(port, [&](Slot& slot) {
        if (count <= 0) return 0;
        if (!buffer) return kBadArgument;
        if (slot.pushed_back != 0) {
            buffer[0] = slot.pushed_back;
            slot.pushed_back = 0;
            return 1;
        }
        const int held = slot.held.take(buffer, count);
        if (held == count) return held;
        const int n = slot.tty->read(buffer + held, count - held);
        if (n < 0) return held > 0 ? held : system_failure(-n);
        return held + n;
    });
}

int SioUnGetc(int port, int byte) {
    return with_open_slot(port, [&](Slot& slot) {
        slot.pushed_back = static_cast<std::uint8_t>(byte);
        return kDone;
    });
}

// A purge with no flags: the queues keep what they hold.
int SioPurge(int port) {
    return with_open_slot(port, [](Slot&) { return kDone; });
}

int SioDrainRx(int port) {
    return with_open_slot(port, [&](Slot& slot) {
        slot.pushed_back = 0;
        slot.held.clear();
        std::uint8_t dropped[256];
        while (slot.tty->read(dropped, sizeof dropped) > 0) {}
        return kDone;
    });
}

int SioTxQue(int port) {
    return with_open_slot(port, [](Slot& slot) { return std::max(slot.tty->output_queue(), 0); });
}

int SioRxQue(int port) {
    return with_open_slot(port, [](Slot& slot) { return queued_input(slot); });
}

int SioWinError(char* buffer, int size) {
    const int error = last_system_error();
    if (buffer && size > 0) {
        char text[256];
        const char* message = strerror_r(error, text, sizeof text);
        std::strncpy(buffer, message, static_cast<std::size_t>(size) - 1);
        buffer[size - 1] = '\0';
    }
    return error;
}

// No user-space access to UART registers here.
int SioUartRead(int, int) { return kBadPort; }

}  // namespace korv::korvio
