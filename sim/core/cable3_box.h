#pragma once
// The cable-3 interface box. It is set up by three 9-byte commands, each
// after a DTR pulse: DTR low drops carrier; once DTR has risen and the first
// two bytes of a command came, the box raises carrier to ask for the rest. Once set up it answers
// 7-byte frames (06, the 5-byte OBD-II request, sum of bytes 1-5) with the
// count of bytes that follow, then the ECU's answer (48 6B 10 41 PID data
// check). Frames before the set-up are not answered.
#include "sim/core/interface_box.h"

#include <array>

namespace korv::sim {

class Cable3Box final : public InterfaceBox {
public:
    static const std::array<std::array<std::uint8_t, 9>, 3> kSetUpCommands;

    explicit Cable3Box(Pacing pacing = Pacing::Instant, std::int64_t turnaround_us = kDefaultTurnaroundUs);
    ~Cable3Box() override;

    // A box whose carrier never comes (it takes no command).
    void set_carrier_fault(bool broken) { carrier_fault_ = broken; }
    bool set_up() const { return set_up_.load(); }

protected:
    void hear(std::uint8_t byte) override;
    void on_line_change(const platform::serial::LineChange& change) override;

private:
    void take_command_bytes();
    void take_frame(const std::vector<std::uint8_t>& frame);
    // Reads the lines as recorded and raises carrier while a command asked
    // for by a DTR rise has begun.
    void follow_lines();

    std::atomic<bool> carrier_fault_{false};
    std::atomic<bool> set_up_{false};
    // Commands are told by their content (a pty carries no time with its
    // bytes, so a DTR change can reach us before bytes sent ahead of it),
    // and each DTR rise allows one.
    bool dtr_ = false;
    int dtr_rises_ = 0;
    int commands_taken_ = 0;
    int set_up_step_ = 0;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace korv::sim
