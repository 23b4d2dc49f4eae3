#pragma once
// The state behind the Sio operations: 128 slots, the defaults of the next
// open and the last system error. Process-wide and locked: each slot has its
// own lock so a wait on one port never holds up another.
#include "nativeio/core/held_input.h"
#include "nativeio/core/result_codes.h"
#include "nativeio/core/sio.h"
#include "platform/serial/tty.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace korv::korvio {

struct OpenSettings {
    platform::serial::LineSettings line;
    bool dtr = false;
    bool rts = false;
};

struct Slot {
    std::mutex mutex;
    std::unique_ptr<platform::serial::Tty> tty;  // null = closed
    std::uint8_t line_shadow = 0;                // bit 0 DTR, bit 1 RTS asserted by us
    std::uint8_t pushed_back = 0;                // 0 = none
    HeldInput held;                              // taken off the device by a wait, read first
    unsigned error_word = 0;                     // line errors not yet read
    platform::serial::LineSettings settings;
    EventWindow event_window;
    int event_message = 0;
    unsigned event_mask = 0;
    std::jthread event_thread;
};

inline constexpr std::uint8_t kShadowDtr = 0x01;
inline constexpr std::uint8_t kShadowRts = 0x02;

// Win32-style line error bits.
inline constexpr unsigned kErrorRxOverflow = 0x01;
inline constexpr unsigned kErrorOverrun = 0x02;
inline constexpr unsigned kErrorParity = 0x04;
inline constexpr unsigned kErrorFraming = 0x08;
inline constexpr unsigned kErrorBreak = 0x10;

// nullptr for an index outside 0-127.
Slot* find_slot(int port);

OpenSettings open_defaults();
void update_open_defaults(const std::function<void(OpenSettings&)>& change);

// Keeps the error for SioWinError and gives -103.
int system_failure(int error);
int last_system_error();

// Opens a slot with explicit settings instead of the shared defaults.
int open_slot(int port, int in_queue, int out_queue, const OpenSettings& settings);

// Runs body(slot) with the slot locked when it is open; else -1 or -3.
template <class Body>
int with_open_slot(int port, Body&& body) {
    Slot* slot = find_slot(port);
    if (!slot) return kBadPort;
    std::lock_guard lock(slot->mutex);
    if (!slot->tty) return kPortClosed;
    return body(*slot);
}

// Folds the driver's error counts into the slot's error word. Slot locked.
void collect_line_errors(Slot& slot);

// Takes every byte the device holds into the slot's held input: how many
// are held then, or the read's failure. Slot locked.
int gather_input(Slot& slot);

// Bytes held and on the device. Slot locked.
int queued_input(Slot& slot);

// Raises the lines this layer asserted, after settings were applied. Slot locked.
void reassert_lines(Slot& slot);

// How far one step of a close wait may move a clock that runs only when told
// (a test clock): about as fast as real time, so a device that answers
// within milliseconds is heard when it answers, not one long step later.
inline constexpr std::int64_t kCloseStepUs = 1000;

// Waits until count bytes are queued or the process clock reaches
// deadline_us, stepping closely while the clock is before close_until_us.
int wait_rx_until(int port, int count, std::int64_t deadline_us, std::int64_t close_until_us = 0);

}  // namespace korv::korvio
