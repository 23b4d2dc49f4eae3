#include "sim/core/obd_trouble_codes.h"

#include "sim/core/obd_car.h"

namespace korv::sim {
namespace {

constexpr std::uint8_t kHeader[] = {0x48, 0x6B, 0x10};
constexpr std::size_t kCodesPerMessage = 3;

std::vector<std::uint8_t> message(std::uint8_t mode, const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> bytes(std::begin(kHeader), std::end(kHeader));
    bytes.push_back(mode);
    bytes.insert(bytes.end(), data.begin(), data.end());
    bytes.push_back(sum_of(bytes.data(), bytes.data() + bytes.size()));
    return bytes;
}

}  // namespace

void ObdTroubleCodes::set(std::vector<std::uint16_t> codes) {
    std::lock_guard lock(mutex_);
    codes_ = std::move(codes);
}

std::vector<std::uint16_t> ObdTroubleCodes::codes() const {
    std::lock_guard lock(mutex_);
    return codes_;
}

void ObdTroubleCodes::refuse_clear(bool refuse) {
    std::lock_guard lock(mutex_);
    refuse_clear_ = refuse;
}

std::vector<std::vector<std::uint8_t>> ObdTroubleCodes::mode03_messages() const {
    std::lock_guard lock(mutex_);
    std::vector<std::vector<std::uint8_t>> messages;
    std::size_t next = 0;
    do {
        std::vector<std::uint8_t> data;
        for (std::size_t i = 0; i < kCodesPerMessage; ++i, ++next) {
            const std::uint16_t code = next < codes_.size() ? codes_[next] : 0;
            data.push_back(static_cast<std::uint8_t>(code >> 8));
            data.push_back(static_cast<std::uint8_t>(code));
        }
        messages.push_back(message(0x43, data));
    } while (next < codes_.size());
    return messages;
}

std::vector<std::uint8_t> ObdTroubleCodes::clear() {
    std::lock_guard lock(mutex_);
    if (refuse_clear_) return {};
    codes_.clear();
    return message(0x44, {});
}

}  // namespace korv::sim
