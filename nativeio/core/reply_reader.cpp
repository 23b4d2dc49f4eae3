#include "nativeio/core/reply_reader.h"

#include "nativeio/core/kline_waits.h"
#include "nativeio/core/port_table.h"
#include "platform/core/clock.h"

#include <algorithm>

namespace korv::korvio {

int wait_for_reply(int port, int count, std::int64_t deadline_us) {
    if (port == kDemoPort) return kDone;
    return wait_rx_until(port, count, deadline_us);
}

int wait_for_reply_within(int port, int count, int seconds) {
    return wait_for_reply(port, count, platform::clock().now_us() + std::int64_t{seconds} * 1'000'000);
}

bool ReplyReader::begun() const { return gap_us_ > 0 && last_byte_at_us_ >= 0; }

int ReplyReader::wait_for_queued(int count) {
    const std::int64_t limit = begun() ? std::min(deadline_us_, last_byte_at_us_ + gap_us_) : deadline_us_;
    // A gap is short: a clock that runs only when told moves about as fast
    // as real time through it, so a device that is slow to run is not
    // taken for one that stopped.
    return wait_rx_until(port_, count, limit, begun() ? limit : 0);
}

int ReplyReader::wait_for_bytes(int count) {
    if (port_ == kDemoPort) return kDone;
    int seen = 0;
    for (;;) {
        const int queued = SioRxQue(port_);
        if (queued < 0) return queued;
        if (queued > seen) {
            seen = queued;
            last_byte_at_us_ = platform::clock().now_us();
        }
        if (queued >= count) return kDone;
        if (int r = wait_for_queued(queued + 1); r != kDone) return r;
    }
}

bool ReplyReader::more_follows(std::int64_t window_us) {
    const std::int64_t until = platform::clock().now_us() + window_us;
    return wait_rx_until(port_, 1, until, until) == kDone;
}

int ReplyReader::queued_byte() {
    const int byte = SioGetc(port_);
    return byte == kNothingWaiting ? kReplyRanOut : byte;
}

int ReplyReader::skip_to(std::uint8_t start) {
    for (;;) {
        const int byte = queued_byte();
        if (byte < 0) return byte;
        if (byte == start) return kDone;
    }
}

int ReplyReader::wait_for(std::uint8_t start) {
    for (;;) {
        const int byte = next();
        if (byte < 0) return byte;
        if (byte == start) return kDone;
    }
}

int ReplyReader::next() {
    for (;;) {
        const int byte = SioGetc(port_);
        if (byte != kNothingWaiting) {
            if (byte >= 0) last_byte_at_us_ = platform::clock().now_us();
            return byte;
        }
        if (int r = wait_for_queued(1); r != kDone) return r;
    }
}

int ReplyReader::answer_header_for(std::uint8_t pid, std::uint8_t* sum) {
    constexpr std::uint8_t kAnswerStart = 0x48;
    int header[4];
    unsigned total = kAnswerStart;
    for (int& byte : header) {
        if ((byte = next()) < 0) return byte;
        total += static_cast<unsigned>(byte);
    }
    if (sum) *sum = static_cast<std::uint8_t>(total);
    return header[2] == 0x41 && header[3] == pid ? kDone : kOtherAnswer;
}

int ReplyReader::drop(int count) {
    for (int i = 0; i < count; ++i)
        if (int byte = next(); byte < 0) return byte;
    return kDone;
}

int ask_until_unspoilt(int port, std::int64_t quiet_us, const std::function<int()>& ask) {
    constexpr std::int64_t kQuietGiveUpUs = 5'000'000;
    for (int asked = 1;; ++asked) {
        const int r = ask();
        if (r != kAnswerSpoilt) return r;
        if (asked == kAsksPerAnswer) return kReplyRanOut;
        if (int q = wait_for_quiet_line(port, quiet_us, platform::clock().now_us() + kQuietGiveUpUs, true); q != kDone)
            return q;
    }
}

}  // namespace korv::korvio
