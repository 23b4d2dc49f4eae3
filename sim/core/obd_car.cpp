#include "sim/core/obd_car.h"

#include <numeric>

namespace korv::sim {

ObdCar::ObdCar()
    : data_{
          {0x00, {0xBE, 0x1F, 0xB8, 0x10}},  // parameters supported
          {0x01, {0x00, 0x07, 0x65, 0x00}},  // monitor status
          {0x05, {0x7B}},                    // coolant 83 C
          {0x06, {0x80}},                    // short trim 0 %
          {0x07, {0x82}},                    // long trim +1.6 %
          {0x0C, {0x0C, 0x80}},              // 800 rpm
          {0x0E, {0x8C}},                    // timing 6 degrees
          {0x0F, {0x46}},                    // intake air 30 C
          {0x10, {0x01, 0xF4}},              // air flow 5 g/s
          {0x11, {0x26}},                    // throttle 15 %
          {0x14, {0x5A, 0x80}},              // O2 0.45 V, its trim 0 %
      } {}

std::optional<std::vector<std::uint8_t>> ObdCar::data(std::uint8_t pid) const {
    std::lock_guard lock(mutex_);
    auto it = data_.find(pid);
    if (it == data_.end()) return std::nullopt;
    return it->second;
}

void ObdCar::set(std::uint8_t pid, std::vector<std::uint8_t> data) {
    std::lock_guard lock(mutex_);
    data_[pid] = std::move(data);
}

void ObdCar::remove(std::uint8_t pid) {
    std::lock_guard lock(mutex_);
    data_.erase(pid);
}

std::optional<std::vector<std::uint8_t>> ObdCar::kline_answer(std::uint8_t pid) const {
    auto bytes = data(pid);
    if (!bytes) return std::nullopt;
    std::vector<std::uint8_t> answer{0x48, 0x6B, 0x10, 0x41, pid};
    answer.insert(answer.end(), bytes->begin(), bytes->end());
    answer.push_back(sum_of(answer.data(), answer.data() + answer.size()));
    return answer;
}

std::uint8_t sum_of(const std::uint8_t* first, const std::uint8_t* last) {
    return static_cast<std::uint8_t>(std::accumulate(first, last, 0u));
}

}  // namespace korv::sim
