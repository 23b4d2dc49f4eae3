// Trouble codes through the interface box: the monitor status (mode 01 PID
// 01) tells the count and the check-engine light, mode 03 lists the codes,
// mode 04 clears them. The frames go out exactly as listed, whatever the
// cable.
#include "nativeio/core/dtc_catalogue.h"
#include "nativeio/core/dtc_report.h"
#include "nativeio/core/engines.h"
#include "nativeio/core/obd_protocol.h"
#include "nativeio/core/port_table.h"
#include "nativeio/core/reply_reader.h"
#include "nativeio/core/trouble_codes.h"
#include "platform/core/clock.h"

#include <algorithm>
#include <array>
#include <deque>

namespace korv::korvio {
namespace {

using Frame = std::array<std::uint8_t, kBoxFrameLength>;
using Reply = std::array<std::uint8_t, kBoxReplyLength>;

constexpr Frame kStatusRequest = {0x25, 0x01, 0x05, 0x68, 0x6A, 0xF1, 0x01, 0x01, 0, 0, 0, 0, 0, 0, 0xCB};
constexpr Frame kCodesRequest = {0x25, 0x10, 0x05, 0x68, 0x6A, 0xF1, 0x03, 0x00, 0, 0, 0, 0, 0, 0, 0xDB};
constexpr Frame kClearRequest = {0x25, 0x01, 0x05, 0x68, 0x6A, 0xF1, 0x04, 0x00, 0, 0, 0, 0, 0, 0, 0xCD};

// The box lets the car settle before a request of its own.
constexpr int kSettleMs = 5000;
constexpr int kReplySeconds = 5;
constexpr std::int64_t kReplyUs = std::int64_t{kReplySeconds} * 1'000'000;
// How long after one mode-03 reply the next may still begin: the ECU sends
// one message per three codes, a moment apart, and a second ECU answers
// too. Also how long a reply that has begun may pause between its bytes.
constexpr std::int64_t kNextReplyUs = 300'000;

constexpr std::uint8_t kEcuHeader = 0x48;
// A mode-03 answer as the box passes it on: the ECU's header after the
// box's two bytes, then the service three bytes on.
constexpr int kHeaderIndex = 2;
constexpr int kServiceIndex = 5;
constexpr std::uint8_t kCodesService = 0x43;
constexpr std::uint8_t kClearConfirmed = 0x44;
constexpr int kStatusIndex = 7;
constexpr std::uint8_t kLightOn = 0x80;
constexpr int kCodePairs[] = {6, 8, 10};

// The demonstration port's fixed replies.
constexpr Reply kDemoStatus = {kEcuHeader, 0, 0, 0, 0, 0, 0, 0x83, 0, 0, 0, 0, 0, 0};
constexpr Reply kDemoCodes = {0, 0, kEcuHeader, 0, 0, 0, 0x01, 0x43, 0x01, 0x96, 0xFF, 0x34, 0, 0};
constexpr Reply kDemoClear = {kClearConfirmed, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// The vehicle did not answer, or not as an ECU.
constexpr int kNotConnected = -1;

std::int64_t deadline_in(std::int64_t us) { return platform::clock().now_us() + us; }

bool holds(const Reply& reply, std::uint8_t byte) { return std::find(reply.begin(), reply.end(), byte) != reply.end(); }

int send(int port, const Frame& frame) {
    SioDrainRx(port);
    const int written = SioWrite(port, frame.data(), kBoxFrameLength);
    if (written == kBoxFrameLength) return kDone;
    return written < 0 ? written : kSystemCallFailed;
}

// Takes one whole reply once it is queued or comes by the deadline.
int take_reply(int port, std::int64_t deadline, Reply* reply) {
    if (int r = wait_for_reply(port, kBoxReplyLength, deadline); r != kDone) return r;
    ReplyReader reader(port, deadline);
    for (std::uint8_t& byte : *reply) {
        const int b = reader.next();
        if (b < 0) return b;
        byte = static_cast<std::uint8_t>(b);
    }
    return kDone;
}

// A request and its first reply, within 5 s.
int exchange(int port, const Frame& frame, Reply* reply) {
    if (int r = send(port, frame); r != kDone) return r;
    return take_reply(port, deadline_in(kReplyUs), reply);
}

// The codes of one mode-03 answer: how many were added.
int add_codes(const Reply& reply, const DtcCatalogue* catalogue, std::string* report) {
    int added = 0;
    for (int at : kCodePairs) {
        if (reply[at] == 0 && reply[at + 1] == 0) break;  // the message's last code came before
        *report += obd_code_line(obd_code_text(reply[at], reply[at + 1]), catalogue);
        ++added;
    }
    return added;
}

// The mode-03 answers that follow the request, found among whatever else
// the line brings: a second ECU's late answer to the status request, noise.
// Fourteen bytes that are no mode-03 answer lose their first byte and are
// looked at again, so an answer after any number of stray bytes is found
// at its start. The read ends at the first of: 300 ms after the codes read
// reached the count the status announced (answers begun by then are still
// read); no answer begun within 300 ms of the last one; 5 s after the
// request. A box that keeps sending thus cannot hold the caller.
class CodeAnswers {
public:
    CodeAnswers(int port, int announced, std::int64_t request_us)
        : port_(port), announced_(announced), end_us_(request_us + kReplyUs) {}

    // The next answer: 0, kTimeOut when the read is over, or the port's
    // failure.
    int next(Reply* reply) {
        for (;;) {
            while (window_.size() < kBoxReplyLength)
                if (int r = take_byte(); r != kDone) return r;
            if (window_[kHeaderIndex].value == kEcuHeader && window_[kServiceIndex].value == kCodesService) {
                std::transform(window_.begin(), window_.end(), reply->begin(), [](Byte b) { return b.value; });
                last_answer_us_ = window_.back().at_us;
                window_.clear();
                return kDone;
            }
            window_.pop_front();
            if (!window_.empty() && window_.front().at_us > begin_deadline()) return kTimeOut;
        }
    }

    void count(int codes) {
        codes_read_ += codes;
        if (codes_read_ >= announced_ && all_read_us_ < 0) all_read_us_ = last_answer_us_;
    }

private:
    struct Byte {
        std::uint8_t value;
        std::int64_t at_us;  // when it was taken off the port: it came no later
    };

    // By when the next answer must have begun.
    std::int64_t begin_deadline() const {
        std::int64_t deadline = end_us_;
        if (last_answer_us_ >= 0) deadline = std::min(deadline, last_answer_us_ + kNextReplyUs);
        if (all_read_us_ >= 0) deadline = std::min(deadline, all_read_us_ + kNextReplyUs);
        return deadline;
    }

    // An answer that has begun in time may still come whole; its bytes
    // follow each other closely.
    std::int64_t byte_deadline() const {
        if (window_.empty()) return begin_deadline();
        return std::min(end_us_, std::max(begin_deadline(), window_.back().at_us + kNextReplyUs));
    }

    int take_byte() {
        for (;;) {
            const int byte = SioGetc(port_);
            if (byte >= 0) {
                window_.push_back({static_cast<std::uint8_t>(byte), platform::clock().now_us()});
                // An answer begun after its time is not read, however often they come.
                return window_.front().at_us > begin_deadline() ? kTimeOut : kDone;
            }
            if (byte != kNothingWaiting) return byte;
            if (int r = wait_for_reply(port_, 1, byte_deadline()); r != kDone) return r;
        }
    }

    const int port_;
    const int announced_;
    const std::int64_t end_us_;
    std::deque<Byte> window_;
    std::int64_t last_answer_us_ = -1;
    std::int64_t all_read_us_ = -1;
    int codes_read_ = 0;
};

// Everything after the status: the count line and the codes.
int take_codes(int port, const DtcCatalogue* catalogue, std::string* report) {
    Reply reply{};
    if (port == kDemoPort) {
        reply = kDemoStatus;
    } else if (int r = exchange(port, kStatusRequest, &reply); r != kDone) {
        *report = obd_unable_to_connect_report();
        return r;
    }
    if (!holds(reply, kEcuHeader)) {
        *report = obd_unable_to_connect_report();
        return kNotConnected;
    }
    const int count = reply[kStatusIndex] & 0x7F;
    *report = obd_status_report(count, (reply[kStatusIndex] & kLightOn) != 0);
    if (count == 0) return kDone;

    if (port == kDemoPort) {
        add_codes(kDemoCodes, catalogue, report);
        return kDone;
    }
    if (int r = send(port, kCodesRequest); r != kDone) return r;
    CodeAnswers answers(port, count, platform::clock().now_us());
    // Codes the status announced but the ECU did not list are a failure,
    // not an empty list.
    if (int r = answers.next(&reply); r != kDone) return r;
    do {
        answers.count(add_codes(reply, catalogue, report));
    } while (answers.next(&reply) == kDone);
    return kDone;
}

}  // namespace

int read_obd_trouble_codes(int port) {
    const auto catalogue = DtcCatalogue::open();
    WorkingFile file(korvio_files::kDtcReportName);
    if (!file.ok()) return kWorkingFileFailed;
    SioDelay(kSettleMs);
    std::string report;
    const int result = take_codes(port, catalogue ? &*catalogue : nullptr, &report);
    if (!write_dtc_report(file, report)) return kWorkingFileFailed;
    return result;
}

int clear_trouble_codes(int port) {
    SioDelay(kSettleMs);
    Reply reply = kDemoClear;
    if (port != kDemoPort && exchange(port, kClearRequest, &reply) != kDone) return kNotConnected;
    return holds(reply, kClearConfirmed) ? kDone : kNotConnected;
}

}  // namespace korv::korvio
