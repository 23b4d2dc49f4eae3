// Comm events: a wait for line and queue events, and the event thread that
// posts a message when one comes.
#include "nativeio/core/port_table.h"

#include <cerrno>
#include <chrono>
#include <stop_token>
#include <system_error>

namespace korv::korvio {
namespace {

using platform::serial::InputLines;

// How often a waiting port is looked at.
constexpr auto kEventPollInterval = std::chrono::milliseconds(2);

struct Observed {
    InputLines lines;
    bool lines_known = false;
};

// Events now present on the slot; line events relative to what was seen before.
unsigned events_now(Slot& slot, Observed& seen) {
    unsigned events = 0;
    if (queued_input(slot) > 0) events |= kEventRxChar;
    if (slot.tty->output_queue() == 0) events |= kEventTxEmpty;

    InputLines lines;
    if (slot.tty->input_lines(&lines) == 0) {
        if (seen.lines_known) {
            if (lines.cts != seen.lines.cts) events |= kEventCts;
            if (lines.dsr != seen.lines.dsr) events |= kEventDsr;
            if (lines.dcd != seen.lines.dcd) events |= kEventCarrier;
            if (lines.ri != seen.lines.ri) events |= kEventRing;
        }
        seen.lines = lines;
        seen.lines_known = true;
    }

    const unsigned before = slot.error_word;
    collect_line_errors(slot);
    const unsigned fresh = slot.error_word & ~before;
    if (fresh & kErrorBreak) events |= kEventBreak;
    if (fresh & ~kErrorBreak) events |= kEventError;
    return events;
}

int wait_event(int port, unsigned* mask, std::stop_token stop) {
    if (!mask) return kBadArgument;
    const unsigned wanted = *mask;
    Observed seen;
    const int checked = with_open_slot(port, [&](Slot& slot) {
        if (wanted == 0 || (wanted & ~kKnownEvents) != 0) return system_failure(EINVAL);
        events_now(slot, seen);
        return kDone;
    });
    if (checked != kDone) return checked;

    for (;;) {
        std::this_thread::sleep_for(kEventPollInterval);
        if (stop.stop_requested()) return 0;
        unsigned events = 0;
        const int looked = with_open_slot(port, [&](Slot& slot) {
            events = events_now(slot, seen);
            return kDone;
        });
        if (looked != kDone) return 0;  // closed meanwhile: the wait failed
        if (events & wanted) {
            *mask = events & wanted;
            return 1;
        }
    }
}

}  // namespace

int SioWaitEvent(int port, unsigned* mask) { return wait_event(port, mask, std::stop_token{}); }

int SioSetEvent(int port, EventWindow window, int message, unsigned mask) {
    Slot* slot = find_slot(port);
    if (!slot) return kBadPort;
    std::jthread running;
    {
        std::lock_guard lock(slot->mutex);
        if (!slot->tty) return kPortClosed;
        slot->event_window = window;
        slot->event_message = message;
        slot->event_mask = mask;
        running = std::move(slot->event_thread);
    }
    if (running.joinable()) {
        running.request_stop();
        running.join();
    }
    if (!window.post) return 1;

    std::lock_guard lock(slot->mutex);
    if (!slot->tty) return kPortClosed;
    try {
        slot->event_thread = std::jthread([port, window, message, mask](std::stop_token stop) {
            unsigned events = mask;
            if (wait_event(port, &events, stop) == 1) window.post(window.target, message, 1, 0);
        });
    } catch (const std::system_error&) {
        return kEventThreadFailed;
    }
    return kDone;
}

}  // namespace korv::korvio
