#include "nativeio/core/reply_reader.h"

#include "nativeio/core/port_table.h"
#include "platform/core/clock.h"
#include "platform/serial/input_wait.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace korv::korvio {
namespace {

// Shortest sleep while the rest of a reply comes: below this a sleep costs
// more than it saves.
constexpr std::int64_t kShortestRestStepUs = 50;

void rest_step(std::int64_t rest_us, std::int64_t deadline_us) {
    auto& clock = platform::clock();
    const std::int64_t start = clock.now_us();
    const std::int64_t remaining = deadline_us - start;
    std::this_thread::sleep_for(std::chrono::microseconds(std::min(rest_us, remaining)));
    // A clock that runs only when told (a test clock) moves as in wait_step.
    if (clock.now_us() == start) clock.sleep_us(std::min(remaining, platform::serial::kStepStoppedClockUs));
}

}  // namespace

int wait_for_reply(int port, int count, std::int64_t deadline_us) {
    if (port == kDemoPort) return kDone;
    bool estimated = false;
    for (;;) {
        int queued = 0;
        int fd = -1;
        int baud = 0;
        const int checked = with_open_slot(port, [&](Slot& slot) {
            queued = std::max(slot.tty->input_queue(), 0);
            fd = slot.tty->fd();
            baud = slot.settings.baud;
            return kDone;
        });
        if (checked != kDone) return checked;
        if (queued >= count) return kDone;
        if (platform::clock().now_us() >= deadline_us) return kTimeOut;
        if (queued == 0) {
            platform::serial::wait_step(fd, false, deadline_us);
            continue;
        }
        // Ten bits a byte on the wire: first the time the missing bytes
        // take, then short looks, since the last one is due any moment.
        const std::int64_t byte_us = 10'000'000 / std::max(baud, 1);
        const std::int64_t rest_us = estimated ? byte_us / 4 : std::int64_t{count - queued} * byte_us;
        estimated = true;
        rest_step(std::clamp(rest_us, kShortestRestStepUs, platform::serial::kStepRealUs), deadline_us);
    }
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
