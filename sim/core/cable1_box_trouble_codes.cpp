// The cable-1 box passing on the car's trouble codes: one 14-byte frame
// per ECU message, back to back, after whatever else reached the box first
// (a second ECU's late answer, noise); some boxes repeat them.
#include "sim/core/cable1_box.h"

namespace korv::sim {
namespace {

constexpr std::uint8_t kNoData = 0x80;
constexpr std::uint8_t kStatusPid = 0x01;

}  // namespace

void Cable1Box::send_before_codes(std::vector<std::uint8_t> bytes) {
    std::lock_guard lock(codes_mutex_);
    before_codes_ = std::move(bytes);
}

void Cable1Box::chatter(std::int64_t every_us, int times) {
    std::lock_guard lock(codes_mutex_);
    chatter_.every_us = every_us;
    chatter_.times = times;
}

void Cable1Box::answer_trouble_codes(std::uint8_t mode, std::uint8_t reply_id) {
    std::vector<std::uint8_t> frames = trouble_code_answer(mode, reply_id);
    if (mode != 0x03) {
        answer(std::move(frames));
        return;
    }
    std::lock_guard lock(codes_mutex_);
    AnswerRepeat again = chatter_;
    again.bytes = frames;
    frames.insert(frames.begin(), before_codes_.begin(), before_codes_.end());
    answer(std::move(frames), std::move(again));
}

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
