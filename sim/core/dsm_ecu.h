#pragma once
// A first-generation DSM engine computer on its 1953-baud diagnostic link.
// Every byte heard is answered: an address byte (below F0) with its echo and
// the value stored at that address, a command byte (F0 and up: the actuator
// tests, and FE and FD around a trouble-code read) with its echo alone. The
// trouble-code word sits at the addresses 3B (high byte) and 3C (low byte).
// Tests can give any byte an answer of their own, silence included.
//
// In wire pacing the byte heard takes its own time on the wire before the
// answer begins, so an exchange costs three bytes' time, as on the car.
#include "sim/core/peer.h"

#include <array>
#include <map>
#include <mutex>
#include <optional>

namespace korv::sim {

class DsmEcu final : public Peer {
public:
    static constexpr long kBaud = 1953;
    static constexpr std::uint8_t kCodeWordHigh = 0x3B;
    static constexpr std::uint8_t kCodeWordLow = 0x3C;

    explicit DsmEcu(Pacing pacing = Pacing::Instant);  // a warm engine at idle, no codes
    ~DsmEcu() override;

    void set_value(std::uint8_t address, std::uint8_t value);
    std::uint8_t value(std::uint8_t address) const;
    void set_trouble_codes(std::uint16_t code_word);

    // From now on the byte is answered with exactly these bytes (none:
    // heard and not answered), until cleared.
    void set_answer(std::uint8_t byte, std::vector<std::uint8_t> answer);
    void clear_answer(std::uint8_t byte);

    static bool is_command(std::uint8_t byte) { return byte >= 0xF0; }

protected:
    void on_byte(std::uint8_t byte) override;

private:
    std::vector<std::uint8_t> answer_to(std::uint8_t byte) const;

    const Pacing pacing_;
    mutable std::mutex settings_mutex_;
    std::array<std::uint8_t, 256> values_{};
    std::map<std::uint8_t, std::vector<std::uint8_t>> answers_;
};

}  // namespace korv::sim
