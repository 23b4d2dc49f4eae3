#include "sim/core/dsm_ecu_data.h"

namespace korv::sim {

DsmEcuData::DsmEcuData() {
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
    // Identification, asked for by the data-logger box.
    values_[0xFD] = 0xB5;  // software version: 1991-1992
    values_[0xFE] = 0xE0;  // module: engine
    values_[0xFF] = 0x22;  // 2.0 Turbo Federal
}

void DsmEcuData::set_value(std::uint8_t address, std::uint8_t value) {
    std::lock_guard lock(mutex_);
    values_[address] = value;
}

std::uint8_t DsmEcuData::value(std::uint8_t address) const {
    std::lock_guard lock(mutex_);
    return values_[address];
}

void DsmEcuData::set_trouble_codes(std::uint16_t code_word) {
    std::lock_guard lock(mutex_);
    values_[kCodeWordHigh] = static_cast<std::uint8_t>(code_word >> 8);
    values_[kCodeWordLow] = static_cast<std::uint8_t>(code_word);
}

std::uint16_t DsmEcuData::trouble_codes() const {
    std::lock_guard lock(mutex_);
    return static_cast<std::uint16_t>(values_[kCodeWordHigh] << 8 | values_[kCodeWordLow]);
}

void DsmEcuData::set_answer(std::uint8_t byte, std::vector<std::uint8_t> answer) {
    std::lock_guard lock(mutex_);
    answers_[byte] = std::move(answer);
}

void DsmEcuData::clear_answer(std::uint8_t byte) {
    std::lock_guard lock(mutex_);
    answers_.erase(byte);
}

std::optional<std::vector<std::uint8_t>> DsmEcuData::own_answer(std::uint8_t byte) const {
    std::lock_guard lock(mutex_);
    if (auto it = answers_.find(byte); it != answers_.end()) return it->second;
    return std::nullopt;
}

std::vector<std::uint8_t> DsmEcuData::answer_to(std::uint8_t byte) const {
    if (auto own = own_answer(byte)) return *own;
    if (is_command(byte)) return {byte};
    return {byte, value(byte)};
}

}  // namespace korv::sim
