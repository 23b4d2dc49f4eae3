#include "nativeio/core/slow_init.h"

#include "nativeio/core/kline_waits.h"
#include "nativeio/core/port_table.h"
#include "platform/core/clock.h"
#include "platform/serial/input_wait.h"

#include <cstdint>

namespace korv::korvio {
namespace {

constexpr std::uint8_t kAddress = 0x33;
constexpr std::uint8_t kKeyByte = 0x08;
constexpr std::uint8_t kInvertedKey = 0xF7;
constexpr std::uint8_t kInvertedAddress = 0xCC;

constexpr int kAddressBaud = 5;
constexpr int kLinkBaud = 10400;
constexpr int kQueueSize = 100;

// Deadlines of an attempt from the moment the address goes out.
constexpr std::int64_t kEchoDeadlineUs = 5'000'000;
constexpr std::int64_t kKeyDeadlineUs = 7'000'000;
constexpr std::int64_t kAttemptDeadlineUs = 9'000'000;
constexpr int kBetweenAttemptsMs = 2000;
// The inverted key answers the second key byte 25 to 50 ms after it (W4).
constexpr int kKeyToAnswerMs = 30;
// An address goes out only onto a line quiet this long (W5).
constexpr std::int64_t kQuietBeforeAddressUs = 300'000;
// How long after a key byte or the inverted key the ECU's next byte is
// watched for closely: its windows end within 50 ms.
constexpr std::int64_t kCloseWatchUs = 100'000;
constexpr std::int64_t kBitUs = 200'000;  // one bit at 5 baud

enum class Stage { Echo, KeyByte, SecondKeyByte, InvertedAddress };

std::int64_t now_us() { return platform::clock().now_us(); }

int open_for_init(int port) {
    OpenSettings settings;  // 8N1, DTR and RTS off
    settings.line.baud = kLinkBaud;
    return open_slot(port, kQueueSize, kQueueSize, settings);
}

// For a device that cannot run at 5 baud: the byte is drawn on the line
// with break, start bit, eight data bits from the lowest, stop bit, each on
// an absolute deadline so the bits do not drift.
void send_by_break(int port, std::uint8_t byte) {
    const std::int64_t start = now_us();
    for (int bit = 0; bit < 10; ++bit) {
        const bool mark = bit == 9 || (bit > 0 && ((byte >> (bit - 1)) & 1) != 0);
        SioBreak(port, mark ? 'C' : 'A');
        platform::serial::pause_until(start + (bit + 1) * kBitUs);
    }
}

// 0 when the ECU confirmed, -1 when the attempt ran out (at its last
// deadline) or the line never fell quiet for the address. `line_heard`:
// bytes may have come less than W5 ago, so the line is listened to first.
int attempt(int port, const std::function<int(int, int)>& set_baud, bool line_heard) {
    if (line_heard && wait_for_quiet_line(port, kQuietBeforeAddressUs, now_us() + kEchoDeadlineUs, false) != kDone)
        return kTimeOut;
    const std::int64_t start = now_us();
    const std::int64_t stage_deadline[] = {start + kEchoDeadlineUs, start + kKeyDeadlineUs, start + kKeyDeadlineUs,
                                           start + kAttemptDeadlineUs};
    std::int64_t close_until = 0;
    Stage stage = Stage::Echo;
    if (set_baud(port, kAddressBaud) != 0) {
        SioPutc(port, kAddress);
    } else {
        send_by_break(port, kAddress);
        // No echo can come of a byte drawn with break.
        SioDrainRx(port);
        set_baud(port, kLinkBaud);
        stage = Stage::KeyByte;
    }

    for (;;) {
        const std::int64_t deadline = stage_deadline[static_cast<int>(stage)];
        if (now_us() >= deadline) break;
        const int byte = SioGetc(port);
        if (byte == kNothingWaiting) {
            wait_rx_until(port, 1, deadline, close_until);
            continue;
        }
        if (byte < 0) break;
        switch (stage) {
        case Stage::Echo:
            if (byte == kAddress) {
                set_baud(port, kLinkBaud);
                stage = Stage::KeyByte;
            }
            break;
        case Stage::KeyByte:
            if (byte == kKeyByte) {
                // The ECU may take up to 20 ms (W3) before the second key
                // byte; an answer sent sooner collides with it.
                stage = Stage::SecondKeyByte;
                close_until = now_us() + kCloseWatchUs;
            }
            break;
        case Stage::SecondKeyByte:
            SioDelay(kKeyToAnswerMs);
            SioPutc(port, kInvertedKey);
            stage = Stage::InvertedAddress;
            close_until = now_us() + kCloseWatchUs;
            break;
        case Stage::InvertedAddress:
            if (byte == kInvertedAddress) return kDone;
            break;
        }
    }
    platform::serial::pause_until(stage_deadline[3]);
    return kTimeOut;
}

}  // namespace

int Iso9141SlowInit(int port, const SlowInitOptions& options) {
    if (port == kDemoPort) return kDone;
    const std::function<int(int, int)> set_baud = options.set_baud ? options.set_baud : SioBaud;
    // Nothing is known of the line before the first attempt; the pause
    // between attempts is quiet enough unless bytes came in it.
    bool line_heard = true;
    for (int n = 0; n < kSlowInitAttempts; ++n) {
        if (n > 0 && options.keep_trying && !options.keep_trying()) return kSlowInitAbandoned;
        if (n > 0) line_heard = SioRxQue(port) != 0;
        SioClose(port);
        // A port that cannot be opened will not open on the next attempt.
        if (open_for_init(port) != kDone) return kTimeOut;
        if (attempt(port, set_baud, line_heard) == kDone) return kDone;
        SioDelay(kBetweenAttemptsMs);
    }
    return kTimeOut;
}

}  // namespace korv::korvio
