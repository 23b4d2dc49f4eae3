#include "nativeio/core/reply_reader.h"

#include "nativeio/core/port_table.h"
#include "platform/core/clock.h"

namespace korv::korvio {

int wait_for_reply(int port, int count, std::int64_t deadline_us) {
    if (port == kDemoPort) return kDone;
    return wait_rx_until(port, count, deadline_us);
}

int wait_for_reply_within(int port, int count, int seconds) {
    return wait_for_reply(port, count, platform::clock().now_us() + std::int64_t{seconds} * 1'000'000);
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
        if (byte != kNothingWaiting) return byte;
        if (int r = wait_for_reply(port_, 1, deadline_us_); r != kDone) return r;
    }
}

int ReplyReader::answer_header_for(std::uint8_t pid) {
    int header[4];
    for (int& byte : header)
        if ((byte = next()) < 0) return byte;
    return header[2] == 0x41 && header[3] == pid ? kDone : kOtherAnswer;
}

int ReplyReader::drop(int count) {
    for (int i = 0; i < count; ++i)
        if (int byte = next(); byte < 0) return byte;
    return kDone;
}

}  // namespace korv::korvio
