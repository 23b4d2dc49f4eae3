#include "platform/serial/tty.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

namespace korv::platform::serial {
namespace {

// Modem-line ioctls on a device that has no modem lines.
bool no_modem_lines(int error) { return error == ENOTTY; }

}  // namespace

int Tty::open(const std::string& path, const LineSettings& settings, bool dtr, bool rts, std::unique_ptr<Tty>* out) {
    // Non-blocking so a modem device waiting for carrier cannot hold us here.
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;
    auto fail = [fd](int error) {
        ::close(fd);
        return error;
    };
    // TIOCEXCL does not stop root; the lock does.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) return fail(errno == EWOULDBLOCK ? EBUSY : errno);
    if (ioctl(fd, TIOCEXCL) != 0) return fail(errno);

    SavedTimeouts saved;
    if (int e = configure_raw(fd, &saved)) {
        ioctl(fd, TIOCNXCL);
        return fail(e);
    }
    if (int e = apply_line_settings(fd, settings)) {
        restore_timeouts(fd, saved);
        ioctl(fd, TIOCNXCL);
        return fail(e);
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const int e = errno;
        restore_timeouts(fd, saved);
        ioctl(fd, TIOCNXCL);
        return fail(e);
    }

    std::unique_ptr<Tty> tty(new Tty(fd, path, saved, find_line_seam(path)));
    // Linux raised both lines on open; put them where the caller wants them.
    tty->dtr_ = !dtr;
    tty->rts_ = !rts;
    if (int e = tty->set_dtr(dtr)) return e;  // the destructor closes
    if (int e = tty->set_rts(rts)) return e;
    tty->read_counters(&tty->counted_);
    *out = std::move(tty);
    return 0;
}

Tty::Tty(int fd, std::string path, SavedTimeouts saved, std::shared_ptr<LineSeam> seam)
    : fd_(fd), path_(std::move(path)), saved_(saved), seam_(std::move(seam)) {}

Tty::~Tty() {
    restore_timeouts(fd_, saved_);
    // Exclusive mode outlives us on a device that someone else holds open
    // (a simulated peer's slave); leave it as we found it.
    ioctl(fd_, TIOCNXCL);
    ::close(fd_);  // also releases the lock
}

int Tty::set_line(int modem_bit, OutputLine line, bool on, bool* current) {
    if (ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &modem_bit) != 0 && !no_modem_lines(errno)) return errno;
    if (*current != on) {
        *current = on;
        if (seam_) seam_->record(line, on);
    }
    return 0;
}

int Tty::set_dtr(bool on) { return set_line(TIOCM_DTR, OutputLine::Dtr, on, &dtr_); }
int Tty::set_rts(bool on) { return set_line(TIOCM_RTS, OutputLine::Rts, on, &rts_); }

int Tty::set_break(bool on) {
    if (ioctl(fd_, on ? TIOCSBRK : TIOCCBRK) != 0 && !no_modem_lines(errno)) return errno;
    if (break_ != on) {
        break_ = on;
        if (seam_) seam_->record(OutputLine::Break, on);
    }
    return 0;
}

int Tty::input_lines(InputLines* lines) const {
    int status = 0;
    if (ioctl(fd_, TIOCMGET, &status) == 0) {
        lines->cts = (status & TIOCM_CTS) != 0;
        lines->dsr = (status & TIOCM_DSR) != 0;
        lines->ri = (status & TIOCM_RI) != 0;
        lines->dcd = (status & TIOCM_CD) != 0;
    } else if (no_modem_lines(errno)) {
        // Nothing to hold the lines down: a cable that is simply there.
        *lines = InputLines{true, true, false, true};
    } else {
        return errno;
    }
    if (seam_) {
        if (auto v = seam_->input(InputLine::Cts)) lines->cts = *v;
        if (auto v = seam_->input(InputLine::Dsr)) lines->dsr = *v;
        if (auto v = seam_->input(InputLine::Ri)) lines->ri = *v;
        if (auto v = seam_->input(InputLine::Dcd)) lines->dcd = *v;
    }
    return 0;
}

int Tty::input_queue() const {
    int n = 0;
    return ioctl(fd_, FIONREAD, &n) == 0 ? n : -1;
}

int Tty::output_queue() const {
    int n = 0;
    return ioctl(fd_, TIOCOUTQ, &n) == 0 ? n : -1;
}

int Tty::read(std::uint8_t* buffer, int count) {
    if (count <= 0) return 0;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, static_cast<size_t>(count));
        if (n >= 0) return static_cast<int>(n);
        if (errno == EINTR) continue;
        if (errno == EAGAIN) return 0;
        return -errno;
    }
}

int Tty::write(const std::uint8_t* buffer, int count) {
    int done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd_, buffer + done, static_cast<size_t>(count - done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return -errno;
        }
        done += static_cast<int>(n);
    }
    return done;
}

bool Tty::read_counters(LineErrors* totals) const {
    serial_icounter_struct counts{};
    if (ioctl(fd_, TIOCGICOUNT, &counts) != 0) return false;
    totals->overrun = counts.buf_overrun;
    totals->uart_overrun = counts.overrun;
    totals->parity = counts.parity;
    totals->framing = counts.frame;
    totals->breaks = counts.brk;
    return true;
}

LineErrors Tty::take_errors() {
    LineErrors now;
    if (!read_counters(&now)) return {};
    LineErrors seen{now.overrun - counted_.overrun, now.uart_overrun - counted_.uart_overrun,
                    now.parity - counted_.parity, now.framing - counted_.framing, now.breaks - counted_.breaks};
    counted_ = now;
    return seen;
}

}  // namespace korv::platform::serial
