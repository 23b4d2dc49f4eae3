#pragma once
// Taking one reply off a port within its deadline.
#include <cstdint>
#include <functional>

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

// Once a reply has begun its bytes follow one another: one quiet this long
// lost a byte or was cut off, and is given up now rather than at the end of
// its whole wait, so the link asks again within a second. Well above any
// pause inside a reply (a K-line ECU answers the echo of its request within
// 50 ms, a box its request's frame at once).
inline constexpr std::int64_t kReplyGapUs = 300'000;

class ReplyReader {
public:
    // gap_us: how long the line may be quiet once the reply has begun; 0
    // waits for every byte until the deadline.
    ReplyReader(int port, std::int64_t deadline_us, std::int64_t gap_us = 0)
        : port_(port), deadline_us_(deadline_us), gap_us_(gap_us) {}

    // Waits until count bytes are queued: 0, -1 at the deadline or at a
    // gap past gap_us, or the slot's failure. The demonstration port: 0.
    int wait_for_bytes(int count);

    // A byte already queued: 0-255, -2 when the queue is dry, or the slot's
    // failure.
    int queued_byte();
    // Reads queued bytes until one equals start: 0, or -2 when the queue
    // runs dry first.
    int skip_to(std::uint8_t start);
    // The same, waiting for bytes as next() does (-1): for a reply still
    // expected after another one was passed over.
    int wait_for(std::uint8_t start);
    // The next byte of the reply, waited for until the deadline (or a gap
    // past gap_us): a reply that began with stale bytes is still read
    // whole. 0-255 or -1.
    int next();
    // Drops count bytes of the reply: 0 or -1.
    int drop(int count);
    // Whether another byte comes within window_us (it stays queued): the
    // reply went on past its end, spoilt by a stray byte or by the rest of
    // an earlier one.
    bool more_follows(std::int64_t window_us);

    // The ECU's mode-01 answer header after its first byte (48): 6B, the
    // ECU's address, 41, the PID. 0 when it answers `pid`; kOtherAnswer
    // when it answers another request (a late reply, or one to a request
    // sent twice); or the read's failure. sum, when given, gets the sum of
    // the 48 and the header, for the answer's check byte.
    int answer_header_for(std::uint8_t pid, std::uint8_t* sum = nullptr);

private:
    // The reply has begun and its gaps are limited.
    bool begun() const;
    // Waits until count bytes are queued, up to the deadline or the gap.
    int wait_for_queued(int count);

    int port_;
    std::int64_t deadline_us_;
    std::int64_t gap_us_;
    std::int64_t last_byte_at_us_ = -1;  // when the reply's latest byte came; -1 before its first
};

// What an asking gives for an answer that went on past its end (positive:
// never a step code).
inline constexpr int kAnswerSpoilt = 2;
// Times a request is sent for one answer that keeps coming spoilt.
inline constexpr int kAsksPerAnswer = 3;

// A byte sent right after the last one of an answer is whole one byte time
// later; a quarter of a byte more allows for the driver handing it over.
constexpr std::int64_t spoilt_answer_window_us(long baud) { return 12'500'000 / baud; }

// Runs ask() (a request and the reading of its answer) until it gives
// anything but kAnswerSpoilt. Before it asks again the line must have been
// quiet for quiet_us: what spoilt the answer may still be coming. ask()'s
// result; -2 when every answer came spoilt; -1 when the line did not fall
// quiet within a reply's wait; or the slot's failure.
int ask_until_unspoilt(int port, std::int64_t quiet_us, const std::function<int()>& ask);

}  // namespace korv::korvio
