#include "nativeio/core/obd_protocol.h"

#include "nativeio/core/obd_channels.h"
#include "nativeio/core/port_table.h"
#include "nativeio/core/reply_reader.h"
#include "platform/core/clock.h"

#include <mutex>
#include <optional>

namespace korv::korvio {
namespace {

struct SharedState {
    std::mutex mutex;
    ObdProtocolState state;
    std::optional<std::int64_t> last_reply_us;
};

SharedState& shared() {
    static SharedState* instance = new SharedState;  // outlives every run
    return *instance;
}

constexpr int kWaitSeconds = 5;

struct Probe {
    std::uint8_t frame[kBoxFrameLength];
    int protocol;
};

constexpr Probe kProbes[] = {
    {{0x25, 0x04, 0x05, 0x61, 0x6A, 0xF1, 0x01, 0, 0, 0, 0, 0, 0, 0, 0xC6}, 2},
    {{0x25, 0x02, 0x05, 0x68, 0x6A, 0xF1, 0x01, 0, 0, 0, 0, 0, 0, 0, 0xCB}, 3},
    {{0x25, 0x01, 0x05, 0x68, 0x6A, 0xF1, 0x01, 0, 0, 0, 0, 0, 0, 0, 0xCA}, 1},
};

// A probe frame answered with 14 bytes whose second is not "no data".
// Whatever waits is dropped before the frame goes out, never after: a box
// that answers before the sender gets to the drain would lose its answer.
bool bus_answers(int port, const std::uint8_t* frame) {
    SioDrainRx(port);
    if (SioWrite(port, frame, kBoxFrameLength) != kBoxFrameLength) return false;
    const std::int64_t deadline = platform::clock().now_us() + std::int64_t{kWaitSeconds} * 1'000'000;
    if (wait_for_reply(port, kBoxReplyLength, deadline) != 0) return false;
    ReplyReader reply(port, deadline);
    int second = -1;
    for (int i = 0; i < kBoxReplyLength; ++i) {
        const int byte = reply.next();
        if (byte < 0) return false;
        if (i == 1) second = byte;
    }
    return second != kBoxNoData;
}

std::uint8_t link_byte(const ObdProtocolState& state) {
    switch (state.protocol) {
    case 2: return 0x84;
    case 3: return 0x82;
    default:
        // The box brings the K-line up again when it has been idle.
        if (!obd_reply_within(kBoxLinkIdleMs)) return 0x01;
        return state.protocol == 10 ? 0x81 : 0x10;
    }
}

}  // namespace

ObdProtocolState obd_protocol_state() {
    std::lock_guard lock(shared().mutex);
    return shared().state;
}

void reset_obd_protocol_state() {
    std::lock_guard lock(shared().mutex);
    shared().state = {};
    shared().last_reply_us.reset();
}

void set_obd_protocol(int protocol) {
    std::lock_guard lock(shared().mutex);
    auto& state = shared().state;
    state.protocol = protocol;
    switch (protocol) {
    case 1:
    case 10: state.reply_id = 0x81; break;
    case 2: state.reply_id = 0x84; break;
    case 3: state.reply_id = 0x82; break;
    default: state.reply_id = 0; break;
    }
}

void note_obd_reply() {
    const std::int64_t now = platform::clock().now_us();
    std::lock_guard lock(shared().mutex);
    shared().last_reply_us = now;
}

bool obd_reply_within(int ms) {
    const std::int64_t now = platform::clock().now_us();
    std::lock_guard lock(shared().mutex);
    return shared().last_reply_us && now - *shared().last_reply_us < std::int64_t{ms} * 1000;
}

int probe_obd_protocol(int port) {
    int found = kNoProtocol;
    if (port == kDemoPort) {
        found = 1;
    } else {
        for (const Probe& probe : kProbes) {
            if (bus_answers(port, probe.frame)) {
                found = probe.protocol;
                break;
            }
        }
    }
    set_obd_protocol(found);
    return found;
}

int obd_protocol_send(int port, std::vector<std::uint8_t>& frame) {
    if (frame.size() < 4) return kBadArgument;
    ObdProtocolState state = obd_protocol_state();
    if (state.protocol == kNoProtocol) {
        if (probe_obd_protocol(port) == kNoProtocol) return kDone;
        state = obd_protocol_state();
    }
    frame[1] = link_byte(state);
    frame[3] = 0x68;
    frame.back() = byte_sum(frame.data() + 1, frame.data() + frame.size() - 1);
    if (port == kDemoPort) return kDone;
    const int length = static_cast<int>(frame.size());
    const int written = SioWrite(port, frame.data(), length);
    if (written == length) return kDone;
    return written < 0 ? written : kSystemCallFailed;
}

}  // namespace korv::korvio
