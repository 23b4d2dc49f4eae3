// The cable-1 box passing on the car's trouble codes: one 14-byte frame
// per ECU message, back to back.
#include "sim/core/cable1_box.h"

namespace korv::sim {
namespace {

constexpr std::uint8_t kNoData = 0x80;
constexpr std::uint8_t kStatusPid = 0x01;

}  // namespace

std::vector<std::uint8_t> Cable1Box::trouble_code_answer(std::uint8_t mode, std::uint8_t reply_id) {
    std::vector<std::vector<std::uint8_t>> messages;
    if (mode == 0x03) {
        messages = trouble_codes().mode03_messages();
    } else if (auto cleared = trouble_codes().clear(); !cleared.empty()) {
        // The check-engine light and the count go out with the codes.
        if (auto status = car().data(kStatusPid); status && !status->empty()) {
            (*status)[0] = 0x00;
            car().set(kStatusPid, *status);
        }
        messages.push_back(std::move(cleared));
    }
    if (messages.empty()) return reply_frame(kNoData, {});
    std::vector<std::uint8_t> frames;
    for (const auto& message : messages) {
        // The ECU's check byte stays behind; the box adds its own.
        const auto frame = reply_frame(reply_id, {message.begin(), message.end() - 1});
        frames.insert(frames.end(), frame.begin(), frame.end());
    }
    return frames;
}

}  // namespace korv::sim
