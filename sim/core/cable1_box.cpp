#include "sim/core/cable1_box.h"

#include "platform/core/clock.h"

#include <algorithm>

namespace korv::sim {
namespace {

using platform::serial::LineChange;
using platform::serial::OutputLine;

constexpr std::uint8_t kFrameStart = 0x25;
constexpr std::size_t kFrameLength = 15;
constexpr std::size_t kReplyLength = 14;
constexpr std::uint8_t kNoData = 0x80;

std::int64_t now_us() { return platform::clock().now_us(); }

bool on_kline(CarBus bus) { return bus == CarBus::KLine || bus == CarBus::KLineKwp; }

}  // namespace

Cable1Box::Cable1Box(Pacing pacing, CarBus bus, std::int64_t turnaround_us)
    : InterfaceBox(pacing, turnaround_us), bus_(bus) {}

Cable1Box::~Cable1Box() { stop(); }

void Cable1Box::on_line_change(const LineChange& change) {
    if (change.line == OutputLine::Dtr)
        dtr_ = change.on;
    else if (change.line == OutputLine::Rts)
        rts_ = change.on;
    set_carrier(dtr_ && !rts_);
}

std::int64_t Cable1Box::powered_since() const {
    bool dtr = false;
    bool rts = false;
    std::int64_t since = -1;
    for (const LineChange& change : line_changes_so_far()) {
        if (change.line == OutputLine::Dtr)
            dtr = change.on;
        else if (change.line == OutputLine::Rts)
            rts = change.on;
        else
            continue;
        const bool powered = dtr && !rts;
        if (!powered)
            since = -1;
        else if (since < 0)
            since = change.at_us;
    }
    return since;
}

void Cable1Box::hear(std::uint8_t byte) {
    const std::int64_t since = powered_since();
    if (since != powered_at_us_) {
        // Power went off and came back: the box starts afresh.
        powered_at_us_ = since;
        kline_used_us_ = -1;
        frame_.clear();
    }
    if (since < 0 || now_us() < since + kBootUs) return;
    if (frame_.empty() && byte != kFrameStart) return;
    frame_.push_back(byte);
    if (frame_.size() < kFrameLength) return;
    std::vector<std::uint8_t> frame;
    frame.swap(frame_);
    note_frame(frame);
    take(frame);
}

std::vector<std::uint8_t> Cable1Box::reply_frame(std::uint8_t second, const std::vector<std::uint8_t>& body) const {
    std::vector<std::uint8_t> reply(kReplyLength, 0x00);
    reply[0] = kFrameStart;
    reply[1] = second;
    std::copy_n(body.begin(), std::min(body.size(), kReplyLength - 3), reply.begin() + 2);
    reply[kReplyLength - 1] = sum_of(reply.data() + 1, reply.data() + kReplyLength - 1);
    return reply;
}

void Cable1Box::take(const std::vector<std::uint8_t>& frame) {
    const std::vector<std::uint8_t> nothing;
    if (sum_of(frame.data() + 1, frame.data() + 14) != frame[14]) {
        const std::uint8_t keyword = bus_ == CarBus::KLine ? 0x08 : bus_ == CarBus::KLineKwp ? 0x8F : 0x00;
        answer(reply_frame(kNoData, {keyword}));
        return;
    }
    std::uint8_t reply_id = 0;
    bool right_bus = false;
    switch (frame[1]) {
    case 0x04:
    case 0x84:
        right_bus = bus_ == CarBus::Bus84;
        reply_id = 0x84;
        break;
    case 0x02:
    case 0x82:
        right_bus = bus_ == CarBus::Bus82;
        reply_id = 0x82;
        break;
    case 0x01:
    case 0x10:
    case 0x81:
        right_bus = on_kline(bus_);
        reply_id = 0x81;
        break;
    default: break;
    }
    if (right_bus && reply_id == 0x81) {
        const std::int64_t now = now_us();
        if (frame[1] == 0x01) {
            kline_used_us_ = now;
            ++kline_inits_;
        } else if (kline_used_us_ < 0 || now - kline_used_us_ > kKLineIdleUs) {
            kline_used_us_ = -1;  // the ECU dropped the link meanwhile
            right_bus = false;
        } else {
            kline_used_us_ = now;
        }
    }
    const std::uint8_t mode = frame[6];
    if (right_bus && (mode == 0x03 || mode == 0x04)) {
        answer_trouble_codes(mode, reply_id);
        return;
    }
    const auto answer_bytes = right_bus && mode == 0x01 ? car().kline_answer(frame[7]) : std::nullopt;
    if (!answer_bytes) {
        answer(reply_frame(kNoData, nothing));
        return;
    }
    // The ECU's check byte stays inside the car's answer; the box adds its own.
    std::vector<std::uint8_t> body(answer_bytes->begin(), answer_bytes->end() - 1);
    answer(reply_frame(reply_id, body));
}

}  // namespace korv::sim
