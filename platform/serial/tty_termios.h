#pragma once
// Line discipline settings of a tty through termios2, so any baud can be set.
// Kept apart from <termios.h>, whose declarations clash with termios2's.
#include "platform/serial/line_settings.h"

namespace korv::platform::serial {

// The read time-outs found on a device, put back when we let it go.
struct SavedTimeouts {
    unsigned char min_bytes = 1;
    unsigned char tenths = 0;
};

// Raw bytes, receiver on, modem control ignored, reads returning at once with
// what is queued. Fills *saved with the time-outs found. Returns 0 or errno.
int configure_raw(int fd, SavedTimeouts* saved);

// Applies the settings and reads the speed back; a speed off by more than
// the tolerance puts the previous settings back and gives kSpeedRefused.
// Returns 0 or errno.
int apply_line_settings(int fd, const LineSettings& settings);

int restore_timeouts(int fd, const SavedTimeouts& saved);

// The output speed in bits per second of the tty behind fd; on a pty master
// this is the speed its slave was set to. Returns 0 or errno.
int read_speed(int fd, long* speed);

}  // namespace korv::platform::serial
