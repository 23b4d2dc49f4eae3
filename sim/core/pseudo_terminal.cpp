#include "sim/core/pseudo_terminal.h"

#include "platform/serial/tty_termios.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace korv::sim {

PseudoTerminal::PseudoTerminal() {
    auto fail = [this](const char* what) {
        const int e = errno;
        if (held_slave_ >= 0) ::close(held_slave_);
        if (master_ >= 0) ::close(master_);
        throw std::system_error(e, std::generic_category(), what);
    };
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0) fail("posix_openpt");
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) fail("unlockpt");
    char name[128];
    if (int e = ptsname_r(master_, name, sizeof name); e != 0) {
        errno = e;
        fail("ptsname_r");
    }
    slave_path_ = name;
    held_slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (held_slave_ < 0) fail("open pty slave");
    // Raw from the start: a cooked slave would echo our answers back to us.
    if (int e = platform::serial::configure_raw(held_slave_, nullptr); e != 0) {
        errno = e;
        fail("configure pty slave");
    }
}

PseudoTerminal::~PseudoTerminal() {
    ::close(held_slave_);
    ::close(master_);
}

bool PseudoTerminal::slave_input_waiting() const {
    // The slave's poll first takes in what the master wrote; the held
    // descriptor shares its input queue with the program's.
    pollfd p{held_slave_, POLLIN, 0};
    return poll(&p, 1, 0) > 0 && (p.revents & POLLIN);
}

long PseudoTerminal::slave_speed() const {
    long speed = 0;
    // Termios requests on the master act on its slave.
    return platform::serial::read_speed(master_, &speed) == 0 ? speed : 0;
}

}  // namespace korv::sim
