#pragma once
// A pseudo-terminal whose slave end stands in for a serial port. We hold a
// slave descriptor of our own so the slave keeps its settings and the master
// never sees a hang-up while the program under test opens and closes it.
#include <string>

namespace korv::sim {

class PseudoTerminal {
public:
    PseudoTerminal();  // throws std::system_error when no pty can be had
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    int master() const { return master_; }  // non-blocking
    const std::string& slave_path() const { return slave_path_; }

    // Bytes written to the master wait unread on the slave side.
    bool slave_input_waiting() const;

    // The speed the slave's user last set, in bits per second; 0 if unknown.
    long slave_speed() const;

private:
    int master_ = -1;
    int held_slave_ = -1;
    std::string slave_path_;
};

}  // namespace korv::sim
