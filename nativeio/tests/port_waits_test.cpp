#include "nativeio/core/result_codes.h"
#include "nativeio/core/sio.h"
#include "nativeio/tests/slot_fixture.h"
#include "platform/core/clock.h"

#include <gtest/gtest.h>

#include <chrono>
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
using testing::SlotTest;

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

TEST_F(SlotTest, WaitRxTimesOutOnTheClockWithoutWaitingForReal) {
    TestClock clock;
    ScopedClock use(clock);
    PeerOnPort<ListeningPeer> peer(0);
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);
    const auto real_start = std::chrono::steady_clock::now();
    EXPECT_EQ(SioWaitRx(0, 1, 5), kTimeOut);
    EXPECT_GE(clock.now_us(), 5'000'000);
    EXPECT_LT(clock.now_us(), 5'100'000);
    EXPECT_LT(std::chrono::steady_clock::now() - real_start, 2s);
}

TEST_F(SlotTest, WaitRxEndsWhenTheBytesAreThere) {
    TestClock clock;
    ScopedClock use(clock);
    PeerOnPort<ListeningPeer> peer(0);
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);
    peer->send({1, 2});
    std::thread rest([&] {
        std::this_thread::sleep_for(5ms);
        peer->send({3});
    });
    EXPECT_EQ(SioWaitRx(0, 3, 5), kDone);
    rest.join();
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

TEST_F(SlotTest, PacedSendGivesUpWhenCarrierNeverComes) {
    TestClock clock;
    ScopedClock use(clock);
    PeerOnPort<ListeningPeer> peer(0);
    peer->lines().set_input(InputLine::Dcd, false);
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);
    peer->send({0xEE});  // stale input is dropped first
    ASSERT_EQ(SioWaitRx(0, 1, 1), kDone);

    EXPECT_EQ(SioSendPaced(0, kCommand, 9), kTimeOut);
    EXPECT_GE(clock.now_us(), 1'500'000 + kCarrierWaitMs * 1000);
    EXPECT_EQ(SioRxQue(0), 0);
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(peer->received(), (std::vector<std::uint8_t>{0x01, 0x01}));
}

TEST_F(SlotTest, PacedSendFinishesOnceTheBoxRaisesCarrier) {
    TestClock clock;
    ScopedClock use(clock);
    PeerOnPort<sim::ScriptedPeer> box(0, sim::PeerOptions{}, carrier_after_two_bytes());
    box->lines().set_input(InputLine::Dcd, false);
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);
    EXPECT_EQ(SioSendPaced(0, kCommand, 9), kDone);
    ASSERT_TRUE(box->wait_received(9, 1s));
    EXPECT_EQ(box->received(), std::vector<std::uint8_t>(std::begin(kCommand), std::end(kCommand)));
    EXPECT_LT(clock.now_us(), 1'500'000 + kCarrierWaitMs * 1000);
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
