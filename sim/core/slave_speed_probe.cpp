#include "sim/core/slave_speed_probe.h"

#include "platform/serial/tty_termios.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace korv::sim {

SlaveSpeedProbe::SlaveSpeedProbe(const std::string& slave_path)
    : fd_(::open(slave_path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
    if (fd_ < 0) throw std::system_error(errno, std::generic_category(), "open pty slave for its speed");
}

SlaveSpeedProbe::~SlaveSpeedProbe() { ::close(fd_); }

long SlaveSpeedProbe::speed() const {
    long speed = 0;
    return platform::serial::read_speed(fd_, &speed) == 0 ? speed : 0;
}

}  // namespace korv::sim
