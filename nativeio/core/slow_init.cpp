#include "nativeio/core/slow_init.h"

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
constexpr int kKeyToAnswerMs = 5;
constexpr std::int64_t kBitUs = 200'000;  // one bit at 5 baud

enum class Stage { Echo, KeyByte, InvertedAddress };

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

// 0 when the ECU confirmed, -1 when the attempt ran out (at its last deadline).
int attempt(int port, const std::function<int(int, int)>& set_baud) {
    const std::int64_t start = now_us();
    const std::int64_t stage_deadline[] = {start + kEchoDeadlineUs, start + kKeyDeadlineUs, start + kAttemptDeadlineUs};
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
            wait_rx_until(port, 1, deadline);
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
                SioDelay(kKeyToAnswerMs);
                SioPutc(port, kInvertedKey);
                stage = Stage::InvertedAddress;
            }
            break;
        case Stage::InvertedAddress:
            if (byte == kInvertedAddress) return kDone;
            break;
        }
    }
    platform::serial::pause_until(stage_deadline[2]);
    return kTimeOut;
}

}  // namespace

int Iso9141SlowInit(int port, const SlowInitOptions& options) {
    if (port == kDemoPort) return kDone;
    const std::function<int(int, int)> set_baud = options.set_baud ? options.set_baud : SioBaud;
    for (int n = 0; n < kSlowInitAttempts; ++n) {
        if (n > 0 && options.keep_trying && !options.keep_trying()) return kSlowInitAbandoned;
        SioClose(port);
        // A port that cannot be opened will not open on the next attempt.
        if (open_for_init(port) != kDone) return kTimeOut;
        if (attempt(port, set_baud) == kDone) return kDone;
        SioDelay(kBetweenAttemptsMs);
    }
    return kTimeOut;
}

}  // namespace korv::korvio
