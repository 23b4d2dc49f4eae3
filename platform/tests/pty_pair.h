#pragma once
// A bare pseudo-terminal for the serial layer's own tests: the master end
// plays the device, and a held slave descriptor keeps the pair alive.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

namespace korv::platform::serial::testing {

struct PtyPair {
    int master = -1;
    int held_slave = -1;
    std::string slave_path;

    PtyPair() {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return;
        char name[128];
        if (ptsname_r(master, name, sizeof name) != 0) return;
        slave_path = name;
        held_slave = ::open(name, O_RDWR | O_NOCTTY);
    }
    ~PtyPair() {
        if (held_slave >= 0) ::close(held_slave);
        if (master >= 0) ::close(master);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;
    bool ok() const { return held_slave >= 0; }
};

}  // namespace korv::platform::serial::testing
