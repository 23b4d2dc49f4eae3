#include "nativeio/core/result_codes.h"
#include "nativeio/core/sio.h"
#include "nativeio/tests/slot_fixture.h"
#include "platform/core/clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

namespace korv::korvio {
namespace {

using namespace std::chrono_literals;
using platform::ScopedClock;
using platform::TestClock;
using platform::serial::InputLine;
using platform::serial::LineChange;
using platform::serial::OutputLine;
using sim::PeerOnPort;
using testing::ListeningPeer;
using testing::LockstepSlotTest;
using testing::SlotTest;

// Waits that run out or step on the clock, in lockstep with the device.
using PortWaitsOnTheClock = LockstepSlotTest;

const std::uint8_t kCommand[] = {0x01, 0x01, 0x06, 0x68, 0x6A, 0xF1, 0x01, 0x00, 0x17};

// A box that raises carrier once it has the first two bytes of a command.
sim::ScriptedPeer::ByteHandler carrier_after_two_bytes() {
    auto heard = std::make_shared<int>(0);
    return [heard](sim::ScriptedPeer& box, std::uint8_t) {
        if (++*heard == 2) box.lines().set_input(InputLine::Dcd, true);
    };
}

TEST(SioDelay, WaitsOnTheProcessClock) {
    TestClock clock(1'000'000);
    ScopedClock use(clock);
    EXPECT_EQ(SioDelay(1500), kDone);
    EXPECT_EQ(clock.now_us(), 2'500'000);
    EXPECT_EQ(SioDelay(0), kDone);
    EXPECT_EQ(SioDelay(-20), kDone);
    EXPECT_EQ(clock.now_us(), 2'500'000);
}

TEST_F(PortWaitsOnTheClock, WaitRxTimesOutOnTheClock) {
    PeerOnPort<ListeningPeer> peer(0);
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);
    // The clock moves only while the wait sleeps on it.
    EXPECT_EQ(run_with(peer.peer(), [] { return SioWaitRx(0, 1, 5); }), kTimeOut);
    EXPECT_GE(ended_us_, 5'000'000);
    EXPECT_LT(ended_us_, 5'100'000);
}

TEST_F(SlotTest, WaitRxEndsWhenTheBytesAreThere) {
    TestClock clock;
    ScopedClock use(clock);
    PeerOnPort<ListeningPeer> peer(0);
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);
    peer->send({1, 2});
    // The wait sleeps until the test moves the clock: the third byte comes
    // once it waits, at a millisecond on the clock however the threads run.
    clock.hold_sleeps();
    auto wait = std::async(std::launch::async, [] { return SioWaitRx(0, 3, 5); });
    ASSERT_TRUE(clock.wait_for_sleeper(20s).has_value()) << "two bytes are not enough";
    peer->send({3});
    while (wait.wait_for(0s) != std::future_status::ready)
        if (clock.wait_for_sleeper(1ms)) clock.advance_us(1000);
    clock.release_sleeps();
    EXPECT_EQ(wait.get(), kDone);
    EXPECT_LT(clock.now_us(), 5'000'000);
}

TEST_F(SlotTest, WaitRxOnTheDemonstrationPortReturnsAtOnce) {
    TestClock clock;
    ScopedClock use(clock);
    EXPECT_EQ(SioWaitRx(kDemoPort, 14, 5), kDone);  // slot 4 is not even open
    EXPECT_EQ(clock.now_us(), 0);
}

TEST_F(SlotTest, WaitRxOnABadOrClosedPortFailsAtOnce) {
    TestClock clock;
    ScopedClock use(clock);
    EXPECT_EQ(SioWaitRx(7, 1, 5), kPortClosed);
    EXPECT_EQ(SioWaitRx(200, 1, 5), kBadPort);
    EXPECT_EQ(clock.now_us(), 0);
}

// Waits for a count of bytes on the device, without taking them.
bool device_holds(int port, int count) {
    const auto give_up = std::chrono::steady_clock::now() + 2s;
    while (SioRxQue(port) < count) {
        if (std::chrono::steady_clock::now() > give_up) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// A wait takes the bytes that came off the device so that it can poll for
// the next one; the readers must still get every byte once, in order.
TEST_F(SlotTest, BytesAWaitTookAreReadFirstInTheOrderTheyCame) {
    PeerOnPort<ListeningPeer> peer(0);
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);
    peer->send({1, 2});
    ASSERT_EQ(SioWaitRx(0, 2, 5), kDone);
    peer->send({3, 4, 5});
    ASSERT_TRUE(device_holds(0, 5));  // two taken, three still on the device
    EXPECT_EQ(SioGetc(0), 1);
    std::uint8_t bytes[8] = {};
    ASSERT_EQ(SioRead(0, bytes, 3), 3);  // across the taken bytes and the device
    EXPECT_EQ((std::vector<std::uint8_t>(bytes, bytes + 3)), (std::vector<std::uint8_t>{2, 3, 4}));
    EXPECT_EQ(SioRxQue(0), 1);
    EXPECT_EQ(SioGetc(0), 5);
    EXPECT_EQ(SioGetc(0), kNothingWaiting);
    EXPECT_EQ(SioRead(0, bytes, 8), 0);
}

TEST_F(SlotTest, BytesAWaitTookGoWithADrainOrAClose) {
    const struct {
        const char* name;
        void (*drop)(int port);
    } cases[] = {
        {"drain", [](int port) { EXPECT_EQ(SioDrainRx(port), kDone); }},
        {"close and open again",
         [](int port) {
             EXPECT_EQ(SioClose(port), 1);
             EXPECT_EQ(SioOpen(port, 1024, 1024), kDone);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PeerOnPort<ListeningPeer> peer(0);
        ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);
        peer->send({7, 8, 9});
        ASSERT_EQ(SioWaitRx(0, 3, 5), kDone);
        c.drop(0);
        EXPECT_EQ(SioRxQue(0), 0);
        EXPECT_EQ(SioGetc(0), kNothingWaiting);
        // What comes afterwards is read as usual.
        peer->send({10});
        ASSERT_EQ(SioWaitRx(0, 1, 5), kDone);
        EXPECT_EQ(SioGetc(0), 10);
        SioClose(0);
    }
}

TEST_F(PortWaitsOnTheClock, PacedSendGivesUpWhenCarrierNeverComes) {
    PeerOnPort<ListeningPeer> peer(0);
    peer->lines().set_input(InputLine::Dcd, false);
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);
    peer->send({0xEE});  // stale input is dropped first
    ASSERT_EQ(SioWaitRx(0, 1, 1), kDone);

    EXPECT_EQ(run_with(peer.peer(), [] { return SioSendPaced(0, kCommand, 9); }), kTimeOut);
    EXPECT_GE(ended_us_, 1'500'000 + kCarrierWaitMs * 1000);
    EXPECT_EQ(SioRxQue(0), 0);
    EXPECT_EQ(peer->received(), (std::vector<std::uint8_t>{0x01, 0x01}));
}

TEST_F(PortWaitsOnTheClock, PacedSendFinishesOnceTheBoxRaisesCarrier) {
    PeerOnPort<sim::ScriptedPeer> box(0, sim::PeerOptions{}, carrier_after_two_bytes());
    box->lines().set_input(InputLine::Dcd, false);
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);
    EXPECT_EQ(run_with(box.peer(), [] { return SioSendPaced(0, kCommand, 9); }), kDone);
    ASSERT_TRUE(box->wait_received(9, 20s));
    EXPECT_EQ(box->received(), std::vector<std::uint8_t>(std::begin(kCommand), std::end(kCommand)));
    // Carrier came with the second byte: the rest went out after the pause alone.
    EXPECT_EQ(ended_us_, 1'500'000);
}

TEST_F(SlotTest, LineChangesCarryTheClockTime) {
    TestClock clock(10'000);
    ScopedClock use(clock);
    PeerOnPort<ListeningPeer> peer(0);
    ASSERT_EQ(SioOpen(kDefaults, 1, 1), kDone);
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);
    SioDTR(0, 'C');
    SioDelay(1000);
    SioDTR(0, 'S');
    const std::vector<LineChange> expected{{OutputLine::Dtr, true, 10'000},
                                           {OutputLine::Rts, true, 10'000},
                                           {OutputLine::Dtr, false, 10'000},
                                           {OutputLine::Dtr, true, 1'010'000}};
    EXPECT_EQ(peer->lines().changes(), expected);
}

}  // namespace
}  // namespace korv::korvio
