// termios2 and BOTHER come from the kernel's own header; <termios.h> must not
// be included in this file.
#include "platform/serial/tty_termios.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>

namespace korv::platform::serial {
namespace {

int get(int fd, termios2& t) { return ioctl(fd, TCGETS2, &t) == 0 ? 0 : errno; }
int set(int fd, const termios2& t) { return ioctl(fd, TCSETS2, &t) == 0 ? 0 : errno; }

int size_flag(int byte_size) {
    switch (byte_size) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    case 8: return CS8;
    default: return -1;
    }
}

// Builds the flags for the settings into t; false when a field has no meaning.
bool encode(const LineSettings& s, termios2& t) {
    const int size = size_flag(s.byte_size);
    if (size < 0 || s.baud <= 0) return false;

    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= static_cast<tcflag_t>(size);
    switch (s.parity) {
    case 0: break;
    case 1: t.c_cflag |= PARENB | PARODD; break;
    case 2: t.c_cflag |= PARENB; break;
    case 3: t.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case 4: t.c_cflag |= PARENB | CMSPAR; break;
    default: return false;
    }
    switch (s.stop_bits) {
    case 0: break;
    // A UART sends one and a half stop bits for 5-bit bytes when told two.
    case 1:
        if (s.byte_size != 5) return false;
        t.c_cflag |= CSTOPB;
        break;
    case 2: t.c_cflag |= CSTOPB; break;
    default: return false;
    }
    if (s.cts_flow) t.c_cflag |= CRTSCTS;
    if (s.xon_xoff)
        t.c_iflag |= IXON | IXOFF;
    else
        t.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (s.parity != 0)
        t.c_iflag |= INPCK;
    else
        t.c_iflag &= ~INPCK;

    t.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
    t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    t.c_ispeed = static_cast<speed_t>(s.baud);
    t.c_ospeed = static_cast<speed_t>(s.baud);
    return true;
}

}  // namespace

int configure_raw(int fd, SavedTimeouts* saved) {
    termios2 t{};
    if (int e = get(fd, t)) return e;
    if (saved) {
        saved->min_bytes = t.c_cc[VMIN];
        saved->tenths = t.c_cc[VTIME];
    }
    t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | IMAXBEL | IUCLC);
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~HUPCL;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    return set(fd, t);
}

int apply_line_settings(int fd, const LineSettings& settings) {
    termios2 before{};
    if (int e = get(fd, before)) return e;
    termios2 wanted = before;
    if (!encode(settings, wanted)) return EINVAL;
    if (int e = set(fd, wanted)) return e;

    termios2 after{};
    if (int e = get(fd, after)) return e;
    const bool split_input = (after.c_cflag & (CBAUD << IBSHIFT)) != 0;
    const long in_speed = split_input ? static_cast<long>(after.c_ispeed) : static_cast<long>(after.c_ospeed);
    if (!speed_close_enough(settings.baud, static_cast<long>(after.c_ospeed)) ||
        !speed_close_enough(settings.baud, in_speed)) {
        set(fd, before);
        return kSpeedRefused;
    }
    return 0;
}

int restore_timeouts(int fd, const SavedTimeouts& saved) {
    termios2 t{};
    if (int e = get(fd, t)) return e;
    t.c_cc[VMIN] = saved.min_bytes;
    t.c_cc[VTIME] = saved.tenths;
    return set(fd, t);
}

int read_speed(int fd, long* speed) {
    termios2 t{};
    if (int e = get(fd, t)) return e;
    *speed = static_cast<long>(t.c_ospeed);
    return 0;
}

}  // namespace korv::platform::serial
