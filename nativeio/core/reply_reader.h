#pragma once
// Taking one reply off a port within its deadline.
#include <cstdint>

namespace korv::korvio {

// Waits until count bytes are queued or the process clock reaches
// deadline_us: 0, -1 on time-out, or the slot's own failure. The
// demonstration port answers 0 at once. Bytes that came are taken into the
// slot and the device is polled for the next one, so a complete reply is
// taken the moment its last byte comes.
int wait_for_reply(int port, int count, std::int64_t deadline_us);

// The same with a time-out in seconds from now.
int wait_for_reply_within(int port, int count, int seconds);

inline constexpr int kOtherAnswer = 1;

class ReplyReader {
public:
    ReplyReader(int port, std::int64_t deadline_us) : port_(port), deadline_us_(deadline_us) {}

    // A byte already queued: 0-255, -2 when the queue is dry, or the slot's
    // failure.
    int queued_byte();
    // Reads queued bytes until one equals start: 0, or -2 when the queue
    // runs dry first.
    int skip_to(std::uint8_t start);
    // The same, waiting for bytes until the deadline (-1): for a reply
    // still expected after another one was passed over.
    int wait_for(std::uint8_t start);
    // The next byte of the reply, waited for until the deadline: a reply
    // that began with stale bytes is still read whole. 0-255 or -1.
    int next();
    // Drops count bytes of the reply: 0 or -1.
    int drop(int count);

    // The ECU's mode-01 answer header after its first byte (48): 6B, the
    // ECU's address, 41, the PID. 0 when it answers `pid`; kOtherAnswer
    // when it answers another request (a late reply, or one to a request
    // sent twice); or the read's failure.
    int answer_header_for(std::uint8_t pid);

private:
    int port_;
    std::int64_t deadline_us_;
};

}  // namespace korv::korvio
