#include "nativeio/include/korvio.h"

#include "nativeio/core/dodiag.h"
#include "nativeio/core/result_codes.h"
#include "nativeio/core/sio.h"
#include "nativeio/tests/slot_fixture.h"
#include "platform/core/clock.h"
#include "sim/core/diag_peer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace korv::korvio {
namespace {

using namespace std::chrono_literals;
using platform::ScopedClock;
using platform::TestClock;
using sim::DiagPeer;
using sim::Fault;
using sim::PeerOnPort;
using testing::LockstepSlotTest;
using testing::SlotTest;

// Opened the way the logger does, then at the DSM link speed.
void open_link(int port, int baud = DiagPeer::kBaud) {
    ASSERT_EQ(SioReset(99, port, 1024, 1024), 0);
    ASSERT_NE(SioBaud(port, baud), 0);
}

using Dodiag = SlotTest;
// The waits that run out, on a clock the interface shares: what it heard is
// exact however slowly its thread runs.
using DodiagOnTheClock = LockstepSlotTest;

TEST(ActuatorCommands, FollowTheTestCodes) {
    const std::uint8_t expected[] = {0xF6, 0xF4, 0xF1, 0xF3, 0xF5, 0xFC, 0xFB, 0xFA, 0xF9, 0xF8, 0xF7};
    for (int code = 0; code <= 10; ++code) EXPECT_EQ(actuator_command(code), expected[code]) << code;
    EXPECT_EQ(actuator_command(99), 0xFF);
    for (int code : {-1, 11, 98, 100}) EXPECT_FALSE(actuator_command(code).has_value()) << code;
}

TEST_F(Dodiag, EchoedCommandsAreDone) {
    PeerOnPort<DiagPeer> ecu(0);
    open_link(0);
    std::vector<std::uint8_t> sent;
    for (int code : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 99}) {
        EXPECT_EQ(dodiag(0, code), 0) << code;
        sent.push_back(*actuator_command(code));
    }
    EXPECT_EQ(ecu->received(), sent);
}

TEST_F(Dodiag, ZerosBeforeTheEchoAreSkipped) {
    PeerOnPort<DiagPeer> ecu(0);
    ecu->set_leading_zeros(3);
    open_link(0);
    EXPECT_EQ(dodiag(0, 99), 0);
    EXPECT_EQ(ecu->received(), std::vector<std::uint8_t>{0xFF});
}

TEST_F(Dodiag, WrongEchoEndsAtOnceAsMismatch) {
    PeerOnPort<DiagPeer> ecu(0);
    ecu->set_fault(Fault::WrongEcho);
    open_link(0);
    EXPECT_EQ(dodiag(0, 0), kEchoMismatch);
    EXPECT_EQ(ecu->received(), std::vector<std::uint8_t>{0xF6});  // one attempt only
}

TEST_F(DodiagOnTheClock, ZerosThenSilenceGiveUpAfterThreeAttempts) {
    PeerOnPort<DiagPeer> ecu(0);
    ecu->set_leading_zeros(4);
    ecu->set_fault(Fault::Short);  // the echo never comes
    open_link(0);
    EXPECT_EQ(run_with(ecu.peer(), [] { return dodiag(0, 99); }), kEchoMismatch);
    // Three whole 2-s waits: the clock moves only while the call waits on it.
    EXPECT_GE(ended_us_, 3 * 2'000'000);
    EXPECT_EQ(ecu->received(), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF}));
}

TEST_F(DodiagOnTheClock, SilentInterfaceIsAMismatch) {
    PeerOnPort<DiagPeer> ecu(0);
    ecu->set_fault(Fault::Silent);
    open_link(0);
    EXPECT_EQ(run_with(ecu.peer(), [] { return dodiag(0, 5); }), kEchoMismatch);
    EXPECT_EQ(ecu->received().size(), 3u);
}

TEST_F(DodiagOnTheClock, WrongSpeedGarblesTheCommandSoNothingAnswers) {
    PeerOnPort<DiagPeer> ecu(0);
    open_link(0, 19200);
    EXPECT_EQ(run_with(ecu.peer(), [] { return dodiag(0, 0); }), kEchoMismatch);
    // dodiag gives up at the first wrong byte; the peer may still be sending
    // the rest of its answer.
    const auto until = std::chrono::steady_clock::now() + 20s;
    while (ecu->wrong_speed_bytes() < 3 && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(1ms);
    EXPECT_EQ(ecu->wrong_speed_bytes(), 3);
}

TEST_F(Dodiag, UnknownCodesSendNothing) {
    PeerOnPort<DiagPeer> ecu(0);
    open_link(0);
    for (int code : {-1, 11, 98, 100}) EXPECT_EQ(dodiag(0, code), kBadArgument) << code;
    EXPECT_EQ(dodiag(kDemoPort, 11), kBadArgument);
    std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(ecu->received().empty());
}

TEST_F(Dodiag, BadOrClosedPortFailsAtOnce) {
    TestClock clock;
    ScopedClock use(clock);
    EXPECT_EQ(dodiag(-1, 0), kBadPort);
    EXPECT_EQ(dodiag(130, 0), kBadPort);
    EXPECT_EQ(dodiag(2, 0), kPortClosed);
    EXPECT_EQ(clock.now_us(), 0);
}

}  // namespace
}  // namespace korv::korvio
