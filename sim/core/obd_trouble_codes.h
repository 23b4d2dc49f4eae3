#pragma once
// The trouble codes an OBD-II car keeps and how its ECU tells them on the
// K-line: mode 03 answers with one message per three codes (48 6B 10 43,
// three code pairs padded with 00 00, check byte), mode 04 clears them and
// answers 48 6B 10 44 and its check. A car may also refuse to clear.
// Thread-safe: tests change the codes while a peer answers.
#include <cstdint>
#include <mutex>
#include <vector>

namespace korv::sim {

class ObdTroubleCodes {
public:
    // Each code as its two bytes, high first (0x0301 is P0301).
    void set(std::vector<std::uint16_t> codes);
    std::vector<std::uint16_t> codes() const;
    void refuse_clear(bool refuse);

    // The ECU's mode-03 messages, each with its check byte. No codes: one
    // message of zeros.
    std::vector<std::vector<std::uint8_t>> mode03_messages() const;
    // Clears the codes unless refused: the mode-04 answer, or none.
    std::vector<std::uint8_t> clear();

private:
    mutable std::mutex mutex_;
    std::vector<std::uint16_t> codes_;
    bool refuse_clear_ = false;
};

}  // namespace korv::sim
