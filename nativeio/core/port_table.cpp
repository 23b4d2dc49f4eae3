#include "nativeio/core/port_table.h"

#include "platform/serial/device_path.h"

#include <algorithm>
#include <cerrno>

namespace korv::korvio {
namespace {

struct Table {
    Slot slots[kSlotCount];
    std::mutex mutex;  // defaults and last error
    OpenSettings defaults;
    int last_error = 0;
};

Table& table() {
    // Never torn down: a port may still be closing while the process exits.
    static Table* instance = new Table;
    return *instance;
}

}  // namespace

Slot* find_slot(int port) {
    if (port < 0 || port >= kSlotCount) return nullptr;
    return &table().slots[port];
}

OpenSettings open_defaults() {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    return t.defaults;
}

void update_open_defaults(const std::function<void(OpenSettings&)>& change) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    change(t.defaults);
}

int system_failure(int error) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    t.last_error = error;
    return kSystemCallFailed;
}

int last_system_error() {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    return t.last_error;
}

int open_slot(int port, int in_queue, int out_queue, const OpenSettings& settings) {
    Slot* slot = find_slot(port);
    if (!slot) return kBadPort;
    if (in_queue < 0 || out_queue < 0) return kQueueSizesRefused;
    std::lock_guard lock(slot->mutex);
    // The device is ours alone: a second open is refused and the first
    // handle stays as it was.
    if (slot->tty) return system_failure(EBUSY);
    std::unique_ptr<platform::serial::Tty> tty;
    if (int e = platform::serial::Tty::open(platform::serial::device_path(port), settings.line, settings.dtr,
                                            settings.rts, &tty))
        return system_failure(e);
    slot->tty = std::move(tty);
    slot->held.clear();
    slot->settings = settings.line;
    slot->error_word = 0;
    return kDone;
}

void collect_line_errors(Slot& slot) {
    const platform::serial::LineErrors seen = slot.tty->take_errors();
    if (seen.overrun > 0) slot.error_word |= kErrorRxOverflow;
    if (seen.uart_overrun > 0) slot.error_word |= kErrorOverrun;
    if (seen.parity > 0) slot.error_word |= kErrorParity;
    if (seen.framing > 0) slot.error_word |= kErrorFraming;
    if (seen.breaks > 0) slot.error_word |= kErrorBreak;
}

int gather_input(Slot& slot) {
    constexpr int kGatherBytes = 256;
    for (;;) {
        const int n = slot.held.append_from(
            [&](std::uint8_t* buffer, int room) { return slot.tty->read(buffer, room); }, kGatherBytes);
        if (n < 0) return system_failure(-n);
        if (n < kGatherBytes) return slot.held.size();
    }
}

int queued_input(Slot& slot) { return slot.held.size() + std::max(slot.tty->input_queue(), 0); }

void reassert_lines(Slot& slot) {
    if (slot.line_shadow & kShadowDtr) slot.tty->set_dtr(true);
    if (slot.line_shadow & kShadowRts) slot.tty->set_rts(true);
}

}  // namespace korv::korvio
