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
// How long after one mode-03 reply the next may still begin: the ECU sends
// one message per three codes, a moment apart.
constexpr std::int64_t kNextReplyUs = 300'000;

constexpr std::uint8_t kEcuHeader = 0x48;
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
    return take_reply(port, deadline_in(std::int64_t{kReplySeconds} * 1'000'000), reply);
}

void add_codes(const Reply& reply, const DtcCatalogue* catalogue, std::string* report) {
    if (!holds(reply, kEcuHeader)) return;
    for (int at : kCodePairs) {
        if (reply[at] == 0 && reply[at + 1] == 0) return;  // the message's last code came before
        *report += obd_code_line(obd_code_text(reply[at], reply[at + 1]), catalogue);
    }
}

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
    // Codes the status announced but the ECU did not list are a failure,
    // not an empty list.
    if (int r = exchange(port, kCodesRequest, &reply); r != kDone) return r;
    for (;;) {
        add_codes(reply, catalogue, report);
        // The next message may still be on its way; one that has not come
        // by then is not coming.
        if (take_reply(port, deadline_in(kNextReplyUs), &reply) != kDone) return kDone;
    }
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
