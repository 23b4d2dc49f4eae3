#pragma once
// The engine values an OBD-II car answers with, shared by the simulated
// interface boxes and the K-line ECU. Tests set, change or remove a
// parameter while a peer runs.
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

namespace korv::sim {

class ObdCar {
public:
    ObdCar();  // a warm engine at idle

    // The data bytes of a mode-01 parameter; none when the car lacks it.
    std::optional<std::vector<std::uint8_t>> data(std::uint8_t pid) const;
    void set(std::uint8_t pid, std::vector<std::uint8_t> data);
    void remove(std::uint8_t pid);

    // The ECU's K-line answer to a mode-01 request: 48 6B 10 41 PID, the
    // data, and the sum of all before as check byte.
    std::optional<std::vector<std::uint8_t>> kline_answer(std::uint8_t pid) const;

private:
    mutable std::mutex mutex_;
    std::map<std::uint8_t, std::vector<std::uint8_t>> data_;
};

// Sum modulo 256 of the bytes.
std::uint8_t sum_of(const std::uint8_t* first, const std::uint8_t* last);

}  // namespace korv::sim
