#pragma once
// What a first-generation DSM engine computer knows and how it answers one
// byte on its diagnostic link: an address byte (below F0) with its echo and
// the value stored at that address, a command byte (F0 and up) with its echo
// alone. The trouble-code word sits at the addresses 3B (high byte) and 3C
// (low byte). Tests can give any byte an answer of their own, silence
// included. Shared by the ECU on its own line and the one behind the
// data-logger box; safe to change from a test while a peer thread answers.
#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

namespace korv::sim {

class DsmEcuData {
public:
    static constexpr std::uint8_t kCodeWordHigh = 0x3B;
    static constexpr std::uint8_t kCodeWordLow = 0x3C;

    DsmEcuData();  // a warm engine at idle, no codes

    void set_value(std::uint8_t address, std::uint8_t value);
    std::uint8_t value(std::uint8_t address) const;
    void set_trouble_codes(std::uint16_t code_word);
    std::uint16_t trouble_codes() const;

    // From now on the byte is answered with exactly these bytes (none:
    // heard and not answered), until cleared.
    void set_answer(std::uint8_t byte, std::vector<std::uint8_t> answer);
    void clear_answer(std::uint8_t byte);
    std::optional<std::vector<std::uint8_t>> own_answer(std::uint8_t byte) const;

    static bool is_command(std::uint8_t byte) { return byte >= 0xF0; }

    // The answer on the ECU's own line: a test's own answer, else the echo
    // and value of an address, else the echo of a command.
    std::vector<std::uint8_t> answer_to(std::uint8_t byte) const;

private:
    mutable std::mutex mutex_;
    std::array<std::uint8_t, 256> values_{};
    std::map<std::uint8_t, std::vector<std::uint8_t>> answers_;
};

}  // namespace korv::sim
