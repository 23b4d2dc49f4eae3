#pragma once
// The cable-0 interface box: the program sends a PID byte alone and the box
// answers the byte's echo and two bytes (the data byte and a padding zero
// for one-byte parameters). The byte 04 starts the box; it answers 04. The
// box runs on DTR and shows it through carrier.
#include "sim/core/interface_box.h"

namespace korv::sim {

class Cable0Box final : public InterfaceBox {
public:
    static constexpr std::uint8_t kStartByte = 0x04;

    explicit Cable0Box(Pacing pacing = Pacing::Instant, std::int64_t turnaround_us = kDefaultTurnaroundUs);
    ~Cable0Box() override;

protected:
    void hear(std::uint8_t byte) override;
    void on_line_change(const platform::serial::LineChange& change) override;
};

}  // namespace korv::sim
