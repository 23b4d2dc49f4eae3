#include "nativeio/core/dsm_engine.h"

#include "nativeio/core/kline_waits.h"
#include "nativeio/core/port_table.h"
#include "nativeio/core/reply_reader.h"
#include "platform/core/clock.h"

namespace korv::korvio {
namespace {

constexpr std::uint8_t kHandshakeByte = 0x0D;
constexpr std::int64_t kHandshakeUs = 2'000'000;
constexpr int kReplySeconds = 5;
constexpr int kReplyLength = 2;  // echo and value
constexpr long kBaud = 1953;
// Before a request that follows a failed or spoilt answer the line must
// have been quiet this long (ten bytes' time): an ECU still answering a
// request sent before would otherwise stay one answer behind.
constexpr std::int64_t kQuietUs = 10 * 10'000'000 / kBaud;
constexpr std::int64_t kQuietGiveUpUs = 5'000'000;

// Step offsets of the handshake and of an exchange.
constexpr int kHandshakeDrainOffset = 7000;
constexpr int kHandshakeWriteOffset = 7100;
constexpr int kHandshakeWaitOffset = 7200;
constexpr int kPurgeOffset = 1000;
constexpr int kDrainOffset = 2000;
constexpr int kWriteOffset = 3000;
constexpr int kWaitOffset = 4000;

std::int64_t now_us() { return platform::clock().now_us(); }

}  // namespace

std::optional<std::uint8_t> dsm_address(int channel_id) {
    switch (channel_id) {
    case 0: return 0x06;  // timing
    case 1: return 0x07;  // coolant
    case 3: return 0x13;  // O2
    case 7: return 0x17;  // throttle
    case 9: return kDsmRpmAddress;
    case 10: return 0x29;  // injector pulse width
    case 11:
    case 49: return 0x3A;  // air temperature
    case 12: return 0x0C;  // low trim
    case 13: return 0x0D;  // middle trim
    case 17: return 0x26;  // knock sum
    case 18: return 0x1A;  // air flow
    case 48: return 0x0E;  // high trim
    default: return std::nullopt;
    }
}

std::vector<DsmRow> build_dsm_rows(const std::vector<int>& items) {
    std::vector<DsmRow> rows;
    for (int id : items)
        if (const auto address = dsm_address(id)) rows.push_back({id, *address});
    return rows;
}

int dsm_handshake(int port) {
    if (port == kDemoPort) return kDone;
    if (int r = SioDrainRx(port); r != kDone) return r + kHandshakeDrainOffset;
    if (int r = SioPutc(port, kHandshakeByte); r != kDone) return r + kHandshakeWriteOffset;
    // One deadline for the whole wait: an ECU that keeps sending other
    // bytes must not hold the start for ever.
    const std::int64_t deadline = now_us() + kHandshakeUs;
    for (;;) {
        if (now_us() >= deadline) return kTimeOut + kHandshakeWaitOffset;
        if (int r = wait_for_reply(port, 1, deadline); r != kDone) return r + kHandshakeWaitOffset;
        const int byte = SioGetc(port);
        if (byte == kHandshakeByte) break;
        if (byte < 0 && byte != kNothingWaiting) return byte + kHandshakeWaitOffset;
    }
    SioDrainRx(port);  // the value that follows the echo
    return kDone;
}

int dsm_exchange(int port, std::uint8_t address, std::uint8_t* value, bool after_failure, bool* earlier_spoilt) {
    *earlier_spoilt = false;
    if (port == kDemoPort) {
        *value = kDsmDemoValue;
        return kDone;
    }
    if (int r = SioPurge(port); r != kDone) return r + kPurgeOffset;
    // Anything on the line now came behind the value read last. Nothing is
    // drained from an empty line: a byte that comes meanwhile is read ahead
    // of the echo, where it tells.
    const int queued = SioRxQue(port);
    if (queued < 0) return queued + kDrainOffset;
    if (queued > 0) *earlier_spoilt = true;
    if (after_failure || queued > 0)
        if (int r = wait_for_quiet_line(port, kQuietUs, now_us() + kQuietGiveUpUs, true); r != kDone)
            return r + kDrainOffset;

    if (int r = SioPutc(port, address); r != kDone) return r + kWriteOffset;
    // Echo and value are taken one by one, each the moment it is in: a
    // wait for both would sleep on a guess of when the second comes, and
    // a byte takes 5 ms at this speed.
    const std::int64_t deadline = now_us() + std::int64_t{kReplySeconds} * 1'000'000;
    ReplyReader reply(port, deadline, kReplyGapUs);
    int taken[kReplyLength];
    for (int& byte : taken)
        if ((byte = reply.next()) < 0) return byte + kWaitOffset;
    int byte = taken[1];
    if (taken[0] != address) {
        if (taken[1] != address)
            if (int r = reply.skip_to(address); r != kDone) return r;
        // Bytes ahead of the echo: the rest of the answer before, or a
        // stray byte. Either way that answer's value cannot be told.
        *earlier_spoilt = true;
        // Stray bytes before the echo may leave the value still on its way.
        if ((byte = reply.next()) < 0) return byte + kWaitOffset;
    }
    *value = static_cast<std::uint8_t>(byte);
    return kDone;
}

bool dsm_answer_went_on(int port) {
    if (port == kDemoPort) return false;
    return ReplyReader(port, now_us()).more_follows(spoilt_answer_window_us(kBaud));
}

}  // namespace korv::korvio
