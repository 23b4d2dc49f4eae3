// Cable 3: the interface box set up by three commands, 7-byte frames. The
// next row's request goes out as soon as this row's answer has begun.
#include "nativeio/core/obd_engine.h"

#include "nativeio/core/engines.h"
#include "nativeio/core/cable_bringup.h"
#include "nativeio/core/port_table.h"
#include "nativeio/core/reply_reader.h"
#include "platform/core/clock.h"

namespace korv::korvio {
namespace {

constexpr int kWaitSeconds = 5;
constexpr std::uint8_t kReplyStart = 0x48;
constexpr std::uint8_t kStartPid = 0x11;
constexpr int kStartReplyLength = 5;

int write_frame(int port, const std::vector<std::uint8_t>& frame) {
    const int length = static_cast<int>(frame.size());
    const int written = SioWrite(port, frame.data(), length);
    if (written == length) return kDone;
    return written < 0 ? written : kSystemCallFailed;
}

class Cable3Link final : public ObdLink {
public:
    Cable3Link(int port, const std::vector<int>& items) : ObdLink(build_channel_rows(3, items)), port_(port) {}

    int set_up_run() override { return box_ready(); }

    int start(int mode) override {
        if (port_ != kDemoPort) {
            SioDrainRx(port_);
            write_frame(port_, box3_frame(kStartPid));
        }
        return mode == kModeRun ? kDone : wait_for_reply_within(port_, kStartReplyLength, kWaitSeconds);
    }

    int exchange(std::size_t index, ObdSample* sample) override {
        const ChannelRow& row = rows_[index];
        if (port_ == kDemoPort) {
            *sample = {kDemoA, kDemoB};
            return kDone;
        }
        if (int r = SioPurge(port_); r != kDone) return r;
        if (int r = SioDrainRx(port_); r != kDone) return r;
        if (int r = write_frame(port_, row.request); r != kDone) return r;
        const std::int64_t deadline = platform::clock().now_us() + std::int64_t{kWaitSeconds} * 1'000'000;
        ReplyReader reply(port_, deadline, kReplyGapUs);
        if (int r = reply.wait_for_bytes(row.reply_length); r != kDone) return r;
        std::uint8_t sum = 0;
        for (bool first = true;; first = false) {
            // Past an answer to another request, this one is still to come.
            const int found = first ? reply.skip_to(kReplyStart) : reply.wait_for(kReplyStart);
            if (found != kDone) return found;
            // The start request and the early requests are answered too; such
            // an answer must not pass for this row's.
            const int r = reply.answer_header_for(row.pid, &sum);
            if (r == kDone) break;
            if (r != kOtherAnswer) return r;
        }
        // The box may start on the next row while this reply is read; the
        // last row's next is the first. Only this row's answer says so: a
        // box asked anew before it began this row's answer would drop it.
        write_frame(port_, rows_[(index + 1) % rows_.size()].request);
        // The count byte, the header and the check byte come with every
        // answer; the rest are its data bytes (O2 sends two, one is used).
        std::uint8_t data[2];
        const int data_bytes = row.reply_length - 7;
        for (int i = 0; i < data_bytes; ++i) {
            const int byte = reply.next();
            if (byte < 0) return byte;
            data[i] = static_cast<std::uint8_t>(byte);
            sum = static_cast<std::uint8_t>(sum + byte);
        }
        const int check = reply.next();
        if (check < 0) return check;
        // A byte lost, added or changed on the way: none of it can be trusted.
        if (check != sum) return kReplyRanOut;
        if (is_two_byte_channel(row.id))
            *sample = {data[0], data[1]};
        else
            *sample = {0x00, data[0]};
        return kDone;
    }

    int resume(const std::function<bool()>&) override { return box_ready(); }

private:
    // A box that did not take its commands answers nothing: the run cannot go on.
    int box_ready() { return InterfaceInit(port_) == kDone ? kDone : kTimeOut; }

    int port_;
};

}  // namespace

std::unique_ptr<ObdLink> make_cable3_link(int port, const std::vector<int>& items) {
    return std::make_unique<Cable3Link>(port, items);
}

}  // namespace korv::korvio
