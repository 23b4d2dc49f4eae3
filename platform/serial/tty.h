#pragma once
// One open serial device: exclusive, raw, any baud, modem lines and break,
// queue counts. Every call returns at once except write, which returns once
// the kernel holds the bytes.
#include "platform/serial/line_seam.h"
#include "platform/serial/line_settings.h"
#include "platform/serial/tty_termios.h"

#include <cstdint>
#include <memory>
#include <string>

namespace korv::platform::serial {

struct InputLines {
    bool cts = false;
    bool dsr = false;
    bool ri = false;
    bool dcd = false;
};

// Line errors seen since the previous call, as counts of each kind.
struct LineErrors {
    int overrun = 0;       // the driver's buffer overflowed
    int uart_overrun = 0;  // the receiver lost a byte
    int parity = 0;
    int framing = 0;
    int breaks = 0;
};

class Tty {
public:
    // Opens the device for us alone (a second opener is refused even when it
    // runs as root), with the settings and output line levels asked for.
    // Returns 0 or errno; *out is set only on success.
    static int open(const std::string& path, const LineSettings& settings, bool dtr, bool rts,
                    std::unique_ptr<Tty>* out);
    ~Tty();
    Tty(const Tty&) = delete;
    Tty& operator=(const Tty&) = delete;

    int fd() const { return fd_; }
    const std::string& path() const { return path_; }

    int apply(const LineSettings& settings) { return apply_line_settings(fd_, settings); }

    // 0 or errno. A device without modem lines counts as done.
    int set_dtr(bool on);
    int set_rts(bool on);
    int set_break(bool on);

    // The device's input lines, with the seam's overrides. A device without
    // modem lines reports CTS, DSR and DCD asserted. Returns 0 or errno.
    int input_lines(InputLines* lines) const;

    // Bytes waiting, or -1 when the driver cannot tell.
    int input_queue() const;
    int output_queue() const;

    // Bytes read (0 when none waits) or -errno.
    int read(std::uint8_t* buffer, int count);
    // Bytes written (all of them unless an error came) or -errno.
    int write(const std::uint8_t* buffer, int count);

    // Errors counted by the driver since the last call; all zero where it
    // keeps no counts (a pty).
    LineErrors take_errors();

private:
    Tty(int fd, std::string path, SavedTimeouts saved, std::shared_ptr<LineSeam> seam);
    int set_line(int modem_bit, OutputLine line, bool on, bool* current);
    bool read_counters(LineErrors* totals) const;

    int fd_;
    std::string path_;
    SavedTimeouts saved_;
    std::shared_ptr<LineSeam> seam_;
    bool dtr_ = false;
    bool rts_ = false;
    bool break_ = false;
    LineErrors counted_;
};

}  // namespace korv::platform::serial
