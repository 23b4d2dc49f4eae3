#include "nativeio/core/dodiag.h"

#include "nativeio/core/port_table.h"

#include "platform/core/clock.h"

namespace korv::korvio {
namespace {

constexpr int kAttempts = 3;
constexpr std::int64_t kAttemptUs = 2'000'000;

}  // namespace

std::optional<std::uint8_t> actuator_command(int code) {
    static constexpr std::uint8_t kCommands[] = {0xF6, 0xF4, 0xF1, 0xF3, 0xF5, 0xFC, 0xFB, 0xFA, 0xF9, 0xF8, 0xF7};
    if (code >= 0 && code <= 10) return kCommands[code];
    if (code == 99) return 0xFF;
    return std::nullopt;
}

int run_actuator_test(int port, int code) {
    const auto command = actuator_command(code);
    if (!command) return kBadArgument;
    if (port == kDemoPort) return kDone;

    int answer = 0;
    for (int attempt = 0; attempt < kAttempts && answer == 0; ++attempt) {
        if (int r = SioDrainRx(port); r != kDone) return r;
        if (int r = SioPutc(port, *command); r != kDone) return r;
        // Zero bytes are skipped, but only until this attempt's deadline: a
        // line that sends nothing but zeros must not hold the caller.
        const std::int64_t deadline = platform::clock().now_us() + kAttemptUs;
        while (answer == 0) {
            const int waited = wait_rx_until(port, 1, deadline);
            if (waited == kTimeOut) break;
            if (waited != kDone) return waited;
            const int byte = SioGetc(port);
            if (byte < 0) return byte;
            answer = byte;
        }
    }
    return answer == *command ? kDone : kEchoMismatch;
}

}  // namespace korv::korvio
