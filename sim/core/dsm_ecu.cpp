#include "sim/core/dsm_ecu.h"

#include "platform/core/clock.h"
#include "sim/core/clock_wait.h"

namespace korv::sim {

DsmEcu::DsmEcu(Pacing pacing) : Peer(PeerOptions{kBaud, pacing, WrongSpeed::Garble}), pacing_(pacing) {
    values_[0x06] = 0x0A;  // timing 10 degrees
    values_[0x07] = 0x50;  // coolant warm
    values_[0x0C] = 0x80;  // fuel trims 0 %
    values_[0x0D] = 0x80;
    values_[0x0E] = 0x80;
    values_[0x13] = 0x5C;  // O2 0.45 V
    values_[0x17] = 0x1A;  // throttle closed
    values_[0x1A] = 0x22;  // air flow at idle
    values_[0x21] = 0x1A;  // 812 rpm
    values_[0x26] = 0x00;  // no knock
    values_[0x29] = 0x30;  // injector pulse width
    values_[0x3A] = 0x5A;  // intake air 25 C
    values_[0xD0] = 0x1A;  // rpm, the second address
}

DsmEcu::~DsmEcu() { stop(); }

void DsmEcu::set_value(std::uint8_t address, std::uint8_t value) {
    std::lock_guard lock(settings_mutex_);
    values_[address] = value;
}

std::uint8_t DsmEcu::value(std::uint8_t address) const {
    std::lock_guard lock(settings_mutex_);
    return values_[address];
}

void DsmEcu::set_trouble_codes(std::uint16_t code_word) {
    std::lock_guard lock(settings_mutex_);
    values_[kCodeWordHigh] = static_cast<std::uint8_t>(code_word >> 8);
    values_[kCodeWordLow] = static_cast<std::uint8_t>(code_word);
}

void DsmEcu::set_answer(std::uint8_t byte, std::vector<std::uint8_t> answer) {
    std::lock_guard lock(settings_mutex_);
    answers_[byte] = std::move(answer);
}

void DsmEcu::clear_answer(std::uint8_t byte) {
    std::lock_guard lock(settings_mutex_);
    answers_.erase(byte);
}

std::vector<std::uint8_t> DsmEcu::answer_to(std::uint8_t byte) const {
    std::lock_guard lock(settings_mutex_);
    if (auto it = answers_.find(byte); it != answers_.end()) return it->second;
    if (is_command(byte)) return {byte};
    return {byte, values_[byte]};
}

void DsmEcu::on_byte(std::uint8_t byte) {
    // The pty hands the byte over at once; on the wire it was whole only a
    // byte's time after it began.
    if (pacing_ == Pacing::Wire) wait_for_clock(platform::clock().now_us() + 10'000'000 / kBaud);
    const std::vector<std::uint8_t> answer = answer_to(byte);
    if (!answer.empty()) reply(answer);
}

}  // namespace korv::sim
