// Cable 1: the interface box with 15-byte frames, several car buses and a
// protocol state that outlives the run.
#include "nativeio/core/obd_engine.h"

#include "nativeio/core/engines.h"
#include "nativeio/core/obd_protocol.h"
#include "nativeio/core/port_table.h"
#include "nativeio/core/reply_reader.h"
#include "platform/core/clock.h"

namespace korv::korvio {
namespace {

constexpr int kWaitSeconds = 5;
constexpr std::uint8_t kStartPid = 0x01;
// Keyword the K-line ECU reports from this value up: protocol 10.
constexpr std::uint8_t kKeywordProtocol10 = 0x37;
// The demonstration port's sample.
constexpr std::uint8_t kDemoBoxA = 0x3E;
constexpr std::uint8_t kDemoBoxB = 0x80;

std::int64_t deadline_in(int seconds) { return platform::clock().now_us() + std::int64_t{seconds} * 1'000'000; }

class Cable1Link final : public ObdLink {
public:
    Cable1Link(int port, const std::vector<int>& items)
        : ObdLink(build_channel_rows(1, items)), port_(port), start_frame_(box_frame(kStartPid)) {}

    int start(int mode) override {
        set_obd_protocol(kNoProtocol);
        // A reply of an earlier run may still be on its way.
        if (obd_reply_within(kBoxLinkIdleMs)) wait_for_reply_within(port_, kBoxReplyLength, kWaitSeconds);
        drain();
        obd_protocol_send(port_, start_frame_);  // probes the buses
        if (obd_protocol_state().protocol == kNoProtocol) return kTimeOut;

        // Sent once with a wrong check: the box's answer carries the K-line
        // keyword, which tells protocol 10 from protocol 1.
        drain();
        std::vector<std::uint8_t> unchecked(start_frame_.begin(), start_frame_.end() - 1);
        unchecked.push_back(0x00);
        write(unchecked);
        const std::int64_t deadline = deadline_in(kWaitSeconds);
        if (port_ != kDemoPort && wait_for_reply(port_, kBoxReplyLength, deadline) == kDone) {
            std::uint8_t reply[kBoxReplyLength];
            if (read_reply(reply, deadline) && reply[2] >= kKeywordProtocol10 && obd_protocol_state().protocol == 1)
                set_obd_protocol(10);
        }
        drain();
        obd_protocol_send(port_, start_frame_);
        if (mode != kModeRun) return wait_for_reply_within(port_, kBoxReplyLength, kWaitSeconds);
        note_obd_reply();
        return kDone;
    }

    int exchange(std::size_t index, ObdSample* sample) override {
        ChannelRow& row = rows_[index];
        if (port_ == kDemoPort) {
            *sample = {kDemoBoxA, kDemoBoxB};
            return kDone;
        }
        if (int r = SioPurge(port_); r != kDone) return r;
        if (int r = SioDrainRx(port_); r != kDone) return r;
        if (int r = obd_protocol_send(port_, row.request); r != kDone) return r;
        ReplyReader reply(port_, deadline_in(kWaitSeconds), kReplyGapUs);
        if (int r = reply.wait_for_bytes(kBoxReplyLength); r != kDone) return r;

        const std::uint8_t reply_id = obd_protocol_state().reply_id;
        // Reply id, then the ECU's answer (48 6B, ECU, 41, PID), the data,
        // padding, and the box's check byte, the sum of the others. An
        // answer to another request (the start frame's, which nobody waited
        // for) is passed over.
        std::uint8_t frame[kBoxReplyLength - 1];
        for (bool first = true;; first = false) {
            if (int r = next_reply_id(reply, reply_id, sample, !first); r != kDone) return r;
            frame[0] = reply_id;
            for (int i = 1; i < kBoxReplyLength - 1; ++i) {
                const int byte = reply.next();
                if (byte < 0) return byte;
                frame[i] = static_cast<std::uint8_t>(byte);
            }
            // A byte lost, added or changed on the way: none of it can be trusted.
            if (byte_sum(frame, frame + kBoxReplyLength - 2) != frame[kBoxReplyLength - 2]) return kReplyRanOut;
            if (frame[4] == 0x41 && frame[5] == row.pid) break;
        }
        if (is_two_byte_channel(row.id))
            *sample = {frame[6], frame[7]};
        else
            *sample = {0x00, frame[6]};
        return kDone;
    }

    int resume(const std::function<bool()>&) override {
        obd_protocol_send(port_, start_frame_);
        return kDone;
    }

private:
    // Reads bytes up to the reply id: 0; -3 for a reply of no data; -2 when
    // the queue runs dry first, or, waiting (a reply is still expected
    // after one was passed over), -1 at the deadline.
    static int next_reply_id(ReplyReader& reply, std::uint8_t reply_id, ObdSample* sample, bool wait) {
        for (;;) {
            const int byte = wait ? reply.next() : reply.queued_byte();
            if (byte < 0) return byte;
            if (byte == kBoxNoData) {
                reply.drop(12);
                sample->no_data = true;
                return kPortClosed;  // the no-data code
            }
            note_obd_reply();
            if (byte == reply_id) return kDone;
        }
    }

    void drain() {
        if (port_ != kDemoPort) SioDrainRx(port_);
    }

    void write(const std::vector<std::uint8_t>& frame) {
        if (port_ != kDemoPort) SioWrite(port_, frame.data(), static_cast<int>(frame.size()));
    }

    bool read_reply(std::uint8_t* reply, std::int64_t deadline) {
        ReplyReader reader(port_, deadline);
        for (int i = 0; i < kBoxReplyLength; ++i) {
            const int byte = reader.next();
            if (byte < 0) return false;
            reply[i] = static_cast<std::uint8_t>(byte);
        }
        return true;
    }

    int port_;
    std::vector<std::uint8_t> start_frame_;
};

}  // namespace

std::unique_ptr<ObdLink> make_cable1_link(int port, const std::vector<int>& items) {
    return std::make_unique<Cable1Link>(port, items);
}

}  // namespace korv::korvio
