// Cable 2: the direct K-line cable. Every byte sent comes back as its own
// echo; the link needs the five-baud initialisation and drops when the ECU
// hears no request for 5 s.
#include "nativeio/core/obd_engine.h"

#include "nativeio/core/kline_waits.h"
#include "nativeio/core/port_table.h"
#include "nativeio/core/reply_reader.h"
#include "nativeio/core/slow_init.h"
#include "platform/core/clock.h"

namespace korv::korvio {
namespace {

constexpr int kWaitSeconds = 5;
constexpr std::uint8_t kReplyStart = 0x48;
constexpr int kAfterDumpMs = 2000;
// The line must be quiet this long before the next request (P3): a second
// ECU answers 25-50 ms after the first, and each of its bytes restarts it.
constexpr std::int64_t kQuietBeforeRequestUs = 70'000;
constexpr std::int64_t kQuietGiveUpUs = 5'000'000;

int wait_for_quiet_before_request(int port) {
    return wait_for_quiet_line(port, kQuietBeforeRequestUs, platform::clock().now_us() + kQuietGiveUpUs, true);
}

class Cable2Link final : public ObdLink {
public:
    Cable2Link(int port, const std::vector<int>& items) : ObdLink(build_channel_rows(2, items)), port_(port) {}

    // The initialisation listens for a quiet line before its address.
    int set_up_run() override { return Iso9141SlowInit(port_); }

    void dump_created() override { SioDelay(kAfterDumpMs); }

    // Nothing to send: the slow initialisation was the start. A probe can
    // only tell whether the port is there.
    int start(int) override { return port_ == kDemoPort ? kDone : SioDrainRx(port_); }

    int exchange(std::size_t index, ObdSample* sample) override {
        const ChannelRow& row = rows_[index];
        if (port_ == kDemoPort) {
            *sample = {kDemoA, kDemoB};
            return kDone;
        }
        if (int r = SioDrainRx(port_); r != kDone) return r;
        for (std::uint8_t byte : row.request)
            if (int r = SioPutc(port_, byte); r != kDone) return r;
        // The request's own echo comes first.
        const int echoed = static_cast<int>(row.request.size());
        const std::int64_t deadline = platform::clock().now_us() + std::int64_t{kWaitSeconds} * 1'000'000;
        ReplyReader reply(port_, deadline, kReplyGapUs);
        if (int r = reply.wait_for_bytes(row.reply_length + echoed); r != kDone) return r;
        for (bool first = true;; first = false) {
            // Past an answer to another request, this one is still to come.
            const int found = first ? reply.skip_to(kReplyStart) : reply.wait_for(kReplyStart);
            if (found != kDone) return found;
            const int r = reply.answer_header_for(row.pid);
            if (r == kDone) break;
            if (r != kOtherAnswer) return r;
        }
        int a = 0;
        if (is_two_byte_channel(row.id) && (a = reply.next()) < 0) return a;
        const int b = reply.next();
        if (b < 0) return b;
        if (int r = reply.drop(1); r != kDone) return r;  // check byte
        if (int r = wait_for_quiet_before_request(port_); r != kDone) return r;
        *sample = {static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b)};
        return kDone;
    }

    // The ECU dropped the link during the pause: initialise it again, but
    // give up between attempts once the caller stops or pauses. Its last
    // answer (the inverted address) wants the same pause as any other.
    int resume(const std::function<bool()>& still_running) override {
        SlowInitOptions options;
        options.keep_trying = still_running;
        const int r = Iso9141SlowInit(port_, options);
        if (r == kDone) return wait_for_quiet_before_request(port_);
        return r == kSlowInitAbandoned ? kResumeAbandoned : r;
    }

private:
    int port_;
};

}  // namespace

std::unique_ptr<ObdLink> make_cable2_link(int port, const std::vector<int>& items) {
    return std::make_unique<Cable2Link>(port, items);
}

}  // namespace korv::korvio
