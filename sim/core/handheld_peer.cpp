#include "sim/core/handheld_peer.h"

namespace korv::sim {
namespace {

constexpr std::uint8_t kGoByte = 0x00;

}  // namespace

HandheldPeer::HandheldPeer(HandheldLog log, Pacing pacing)
    : Peer(PeerOptions{kBaud, pacing, WrongSpeed::Garble}),
      log_(std::move(log)),
      id_limit_(static_cast<int>(log_.ids.size())) {}

HandheldPeer::~HandheldPeer() { stop(); }

HandheldLog HandheldPeer::sample_log(int width) {
    HandheldLog log;
    log.width = static_cast<std::uint8_t>(width == 2 ? 2 : 1);
    log.ids = {9, 7, 1, 3};
    const bool wide = log.width == 2;
    auto add = [&](std::uint8_t id, int high, int low) {
        std::vector<std::uint8_t> record{id, static_cast<std::uint8_t>(high)};
        if (wide) record.push_back(static_cast<std::uint8_t>(low));
        log.records.push_back(std::move(record));
    };
    for (int i = 0; i < 12; ++i) {
        // A pull from idle: rising speed and throttle, a warm engine
        // (190 F), an O2 sensor switching between 0.2 and 0.8 V.
        const int rpm = 800 + i * 450;
        const int throttle = 5 + i * 8;  // percent
        const bool rich = i % 2 == 1;
        if (wide) {
            add(9, rpm * 4 >> 8, rpm * 4 & 0xFF);
            add(7, throttle * 255 / 100, 0);
            add(1, 128, 0);  // (128 - 40) x 1.8 + 32 = 190.4
            add(3, rich ? 160 : 40, 0);
        } else {
            add(9, rpm * 100 / 3137, 0);
            add(7, throttle * 5 / 2, 0);
            add(1, 8, 0);  // 198 - 8 = 190
            add(3, rich ? 40 : 10, 0);
        }
    }
    return log;
}

void HandheldPeer::set_start_byte(std::uint8_t byte) {
    std::lock_guard lock(mutex_);
    start_byte_ = byte;
}

void HandheldPeer::stop_after_ids(int count) {
    std::lock_guard lock(mutex_);
    id_limit_ = count;
}

void HandheldPeer::press_button() {
    std::uint8_t start;
    {
        std::lock_guard lock(mutex_);
        if (stage_ != Stage::Idle && stage_ != Stage::Done && stage_ != Stage::GaveUp) return;
        stage_ = Stage::AwaitGo;
        next_id_ = 0;
        next_record_ = 0;
        start = start_byte_;
    }
    send({start});
}

bool HandheldPeer::finished() const {
    std::lock_guard lock(mutex_);
    return stage_ == Stage::Done;
}

std::vector<std::uint8_t> HandheldPeer::next_id_or_records() {
    if (next_id_ < log_.ids.size()) {
        if (static_cast<int>(next_id_) >= id_limit_) {
            stage_ = Stage::GaveUp;
            return {};
        }
        stage_ = Stage::AwaitIdEcho;
        return {log_.ids[next_id_]};
    }
    return next_record();
}

std::vector<std::uint8_t> HandheldPeer::next_record() {
    if (next_record_ >= log_.records.size()) {
        stage_ = Stage::Done;
        return {};
    }
    stage_ = Stage::AwaitAck;
    return log_.records[next_record_];
}

void HandheldPeer::on_byte(std::uint8_t byte) {
    std::vector<std::uint8_t> answer;
    {
        std::lock_guard lock(mutex_);
        switch (stage_) {
        case Stage::AwaitGo:
            if (byte != kGoByte) return;
            answer = {log_.width, static_cast<std::uint8_t>(log_.ids.size())};
            for (std::uint8_t b : next_id_or_records()) answer.push_back(b);
            break;
        case Stage::AwaitIdEcho:
            if (byte != log_.ids[next_id_]) {
                stage_ = Stage::GaveUp;
                return;
            }
            ++next_id_;
            answer = next_id_or_records();
            break;
        case Stage::AwaitAck:
            if (byte != log_.records[next_record_].front()) {
                stage_ = Stage::GaveUp;
                return;
            }
            ++next_record_;
            answer = next_record();
            break;
        default: return;
        }
    }
    if (!answer.empty()) reply(std::move(answer));
}

}  // namespace korv::sim
