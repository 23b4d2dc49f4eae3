// Cable 0: a box that takes the bare PID byte and answers its echo and two
// bytes.
#include "nativeio/core/obd_engine.h"

#include "nativeio/core/engines.h"
#include "nativeio/core/port_table.h"
#include "nativeio/core/reply_reader.h"
#include "platform/core/clock.h"

namespace korv::korvio {
namespace {

constexpr std::uint8_t kStartByte = 0x04;
constexpr int kWaitSeconds = 5;
constexpr long kBaud = 19200;
// Before a request that follows a spoilt answer the line must have been
// quiet this long (ten bytes' time).
constexpr std::int64_t kQuietUs = 10 * 10'000'000 / kBaud;
// Step offsets of a failing exchange.
constexpr int kDrainOffset = 1000;
constexpr int kWriteOffset = 2000;
constexpr int kPurgeOffset = 3000;

class Cable0Link final : public ObdLink {
public:
    Cable0Link(int port, const std::vector<int>& items) : ObdLink(build_channel_rows(0, items)), port_(port) {}

    int start(int mode) override {
        send_start();
        return mode == kModeRun ? kDone : wait_for_reply_within(port_, 1, kWaitSeconds);
    }

    int exchange(std::size_t index, ObdSample* sample) override {
        const ChannelRow& row = rows_[index];
        if (port_ == kDemoPort) {
            *sample = {kDemoA, kDemoB};
            return kDone;
        }
        if (int r = SioPurge(port_); r != kDone) return r + kPurgeOffset;
        if (int r = SioDrainRx(port_); r != kDone) return r + kDrainOffset;
        const int r = ask_until_unspoilt(port_, kQuietUs, [&] { return ask_once(row, sample); });
        last_failed_ = r != kDone;
        return r;
    }

    int resume(const std::function<bool()>&) override {
        send_start();
        return kDone;
    }

private:
    int ask_once(const ChannelRow& row, ObdSample* sample) {
        if (int r = SioWrite(port_, row.request.data(), 1); r < 0) return r + kWriteOffset;
        const std::int64_t deadline = platform::clock().now_us() + std::int64_t{kWaitSeconds} * 1'000'000;
        ReplyReader reply(port_, deadline, kReplyGapUs);
        if (int r = reply.wait_for_bytes(row.reply_length); r != kDone) return r;
        const bool stale_first = reply.queued_byte() != row.pid;
        if (stale_first)
            if (int r = reply.skip_to(row.pid); r != kDone) return r;
        int a = 0;
        if (is_two_byte_channel(row.id) && (a = reply.next()) < 0) return a;
        const int b = reply.next();
        if (b < 0) return b;
        if (!is_two_byte_channel(row.id))
            if (int r = reply.drop(1); r != kDone) return r;
        // The answer has no check byte. After a failed exchange, or behind
        // bytes that were not its echo, it may hold the rest of an earlier
        // answer: a byte right behind it tells. (Looking after every answer
        // would cost a quarter of the samples; a stray byte inside a healthy
        // answer cannot be told.)
        if ((stale_first || last_failed_) && reply.more_follows(spoilt_answer_window_us(kBaud))) return kAnswerSpoilt;
        *sample = {static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b)};
        return kDone;
    }

    // What goes wrong here shows in the exchanges that follow.
    void send_start() {
        if (port_ == kDemoPort) return;
        SioDrainRx(port_);
        SioPutc(port_, kStartByte);
    }

    int port_;
    bool last_failed_ = false;  // the exchange before
};

}  // namespace

std::unique_ptr<ObdLink> make_cable0_link(int port, const std::vector<int>& items) {
    return std::make_unique<Cable0Link>(port, items);
}

}  // namespace korv::korvio
