#pragma once
// Reads the speed the program under test set on a pty slave, through a
// descriptor of our own that is only ever asked for its settings (never
// read from, so it takes no byte meant for the program).
#include <string>

namespace korv::sim {

class SlaveSpeedProbe {
public:
    explicit SlaveSpeedProbe(const std::string& slave_path);  // throws std::system_error
    ~SlaveSpeedProbe();
    SlaveSpeedProbe(const SlaveSpeedProbe&) = delete;
    SlaveSpeedProbe& operator=(const SlaveSpeedProbe&) = delete;

    // Bits per second; 0 when unknown.
    long speed() const;

private:
    int fd_ = -1;
};

}  // namespace korv::sim
