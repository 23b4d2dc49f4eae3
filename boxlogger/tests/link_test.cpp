// The box link against a scripted box on a pseudo-terminal: each request
// byte is echoed and answered with (byte ^ 0x5A), two bytes for D0-DF.
#include "boxlogger/core/link_engine.h"
#include "boxlogger/core/request_table.h"
#include "boxlogger/core/serial_port.h"
#include "platform/core/clock.h"
#include "sim/core/com_port_binding.h"
#include "sim/core/lockstep.h"
#include "sim/core/scripted_peer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace korv::boxlogger {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

constexpr int kSlot = 5;

// Bytes of a command frame (0xE0 and the three after it) are confirmed by
// their echo and the byte itself.
// When set, the next answer comes after a stray byte.
std::atomic<bool> stray_next{false};

void answer(sim::ScriptedPeer& peer, std::uint8_t byte) {
    static thread_local int frame_left = 0;
    if (stray_next.exchange(false)) {
        peer.reply({0x99, byte, static_cast<std::uint8_t>(byte ^ 0x5A)});
    } else if (frame_left > 0 || byte == 0xE0) {
        frame_left = frame_left > 0 ? frame_left - 1 : 3;
        peer.reply({byte, byte});
    } else if ((byte & 0xF0) == 0xD0)
        peer.reply({byte, 0x12, 0x34});
    else
        peer.reply({byte, static_cast<std::uint8_t>(byte ^ 0x5A)});
}

struct Link : ::testing::Test {
    sim::ScriptedPeer box{sim::PeerOptions{CSerialPort::kBaud, sim::Pacing::Instant}, answer};
    sim::ComPortBinding binding{kSlot, box.slave_path()};
    CSerialPort port;

    void SetUp() override {
        box.start();
        port.SetPort(kSlot);
        ASSERT_TRUE(port.is_open());
    }
    void TearDown() override { box.stop(); }
};

TEST_F(Link, SixteenBitRequestStoresHighThenLow) {
    CRequestTable table(port);
    const ValueSlot* slot = table.AddCode(0xD0);
    EXPECT_EQ(table.PollNext(), kCycleComplete) << "a one-entry table completes on every good reply";
    EXPECT_EQ(slot->load(), 0x1234);
}

TEST_F(Link, FaultsFailTheEntryWhichIsAskedAgainUntilTheBoxRecovers) {
    // On the lockstep clock the late answer lands at a known time, however
    // slowly the box's thread runs.
    platform::TestClock clock;
    platform::ScopedClock scoped(clock);
    sim::Lockstep lockstep(clock, {&box});
    CRequestTable table(port);
    const ValueSlot* first = table.AddCode(0x21);
    table.AddCode(0x06);
    struct Case {
        sim::Fault fault;
        int result;
    } cases[] = {{sim::Fault::WrongEcho, kEchoMismatch},
                 {sim::Fault::Short, kShortReply},
                 {sim::Fault::Silent, kNoReply},
                 {sim::Fault::Late, kNoReply}};
    for (const Case& c : cases) {
        box.set_fault(c.fault, 300'000);
        EXPECT_EQ(lockstep.run([&] { return table.PollNext(); }), c.result) << static_cast<int>(c.fault);
        EXPECT_EQ(table.position(), 0);
        EXPECT_EQ(first->load(), 0);
    }
    box.set_fault(sim::Fault::None);
    // The late answer is still on its way; the link is back within a few exchanges.
    const int result = lockstep.run([&] {
        int r = 0;
        for (int i = 0; i < 6 && r != kCycleComplete; ++i) r = table.PollNext();
        return r;
    });
    EXPECT_EQ(result, kCycleComplete);
    EXPECT_EQ(first->load(), 0x21 ^ 0x5A);
}

TEST_F(Link, AStrayByteCostsOneExchange) {
    CRequestTable table(port);
    const ValueSlot* slot = table.AddCode(0x21);
    stray_next.store(true);
    EXPECT_EQ(table.PollNext(), kEchoMismatch);
    EXPECT_EQ(table.PollNext(), kCycleComplete) << "the rest of the answer was dropped";
    EXPECT_EQ(slot->load(), 0x21 ^ 0x5A);
}

TEST_F(Link, OpeningDropsOldInputAndTheProbeJudgesTheEcho) {
    port.Close();
    box.send({0x12, 0x34});  // left on the line before the port was opened
    ASSERT_TRUE(box.wait_idle(5s));
    EXPECT_EQ(port.Probe(kSlot), 2);
    CRequestTable table(port);
    table.AddCode(0x21);
    EXPECT_EQ(table.PollNext(), kCycleComplete) << "the probe's answer was its own, none is left over";

    box.inject({sim::Glitch::StrayBetween});
    EXPECT_EQ(port.Probe(kSlot), 2) << "one stray byte costs one more try";
    box.inject({sim::Glitch::StrayBetween});
    box.inject({sim::Glitch::StrayBetween});
    EXPECT_EQ(port.Probe(kSlot), CSerialPort::kProbeWrongEcho) << "two bytes came, but not the box's answer";
    EXPECT_EQ(table.PollNext(), kCycleComplete);
}

TEST_F(Link, RemovalKeepsOtherHoldersValues) {
    CRequestTable table(port);
    table.AddCode(0x06);
    const ValueSlot* rpm = table.AddCode(0x21);
    const ValueSlot* battery = table.AddCode(0x14);
    while (table.PollNext() != kCycleComplete) {}
    table.RemoveCode(0x06);
    table.RemoveCode(0x99);  // absent: nothing happens
    EXPECT_EQ(rpm->load(), 0x21 ^ 0x5A);
    EXPECT_EQ(battery->load(), 0x14 ^ 0x5A);
    EXPECT_EQ(table.codes(), (Bytes{0x21, 0x14}));
}

TEST_F(Link, RemovingTheLastEntryUnderThePositionMovesItBack) {
    CRequestTable table(port);
    table.AddCode(0x06);
    table.AddCode(0x21);
    EXPECT_EQ(table.PollNext(), kValueStored);
    EXPECT_EQ(table.position(), 1);
    table.RemoveCode(0x21);
    EXPECT_EQ(table.position(), 0);
    table.RemoveCode(0x06);
    EXPECT_EQ(table.position(), 0);
    const std::size_t heard = box.received().size();
    EXPECT_EQ(table.PollNext(), kNoReply);
    EXPECT_EQ(box.received().size(), heard) << "an empty table does no I/O";
}

TEST_F(Link, IdleCycleOrder) {
    CLinkEngine engine(port);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(engine.PollStep(), 1);
    EXPECT_EQ(box.received(), (Bytes{0xC1, 0x42, 0xB3, 0x54, 0xA5, 0x66, 0x97, 0x78, 0xFE, 0xFF}));
}

TEST_F(Link, HeldEngineWithEmptyHubKeepsPollingTheIdleList) {
    CLinkEngine engine(port);
    engine.Hold();
    EXPECT_EQ(engine.PollStep(), 1);
    EXPECT_EQ(box.received(), Bytes{0xC1});
    CSampleRing* ring = engine.hub().CreateRing();
    engine.hub().Subscribe(9, ring);
    ring->Reset();
    EXPECT_EQ(engine.PollStep(), 1);
    EXPECT_EQ(box.received().back(), 0x21);
}

TEST_F(Link, UnbalancedReleaseLeavesTheEngineIdle) {
    CLinkEngine engine(port);
    engine.Release();
    EXPECT_EQ(engine.hold_count(), 0);
    engine.Hold();
    EXPECT_EQ(engine.hold_count(), 1);
}

TEST_F(Link, SendCommandConfirmsEveryFrameByte) {
    CLinkEngine engine(port);
    struct Case {
        int a, b;
    } cases[] = {{0x55, 0xE0}, {0x56, 0xD3}, {0xE0, 0xE0}};
    for (const Case& c : cases) {
        const std::size_t before = box.received().size();
        EXPECT_EQ(engine.SendCommand(c.a, c.b), 1) << c.a << " " << c.b;
        const Bytes heard = box.received();
        EXPECT_EQ(Bytes(heard.begin() + before, heard.end()),
                  (Bytes{0xE0, static_cast<std::uint8_t>(c.a), static_cast<std::uint8_t>(c.b), 0xE1}));
    }
}

TEST(LinkFaked, EchoesWithDataZeroWithoutAPort) {
    CSerialPort port;
    EXPECT_EQ(port.WriteByte(0x21), 0) << "no port, not faked";
    port.set_link_faked(true);
    CRequestTable table(port);
    const ValueSlot* slot = table.AddCode(0xD5);
    const_cast<ValueSlot*>(slot)->store(7);
    EXPECT_EQ(table.PollNext(), kCycleComplete);
    EXPECT_EQ(slot->load(), 0);
    port.Close();
    EXPECT_FALSE(port.link_faked()) << "Close ends the faked link";
}

TEST(LinkFaked, RateCountsStepsOverEachSecondOfTheClock) {
    platform::TestClock clock;
    platform::ScopedClock scoped(clock);
    CSerialPort port;
    CLinkEngine engine(port);
    EXPECT_EQ(engine.PollStep(), 0) << "no port: the link is down";
    port.set_link_faked(true);
    for (int i = 0; i < 39; ++i) EXPECT_EQ(engine.PollStep(), 1);
    clock.advance_ms(2000);
    engine.PollStep();
    EXPECT_FLOAT_EQ(engine.rate(), 20.0f);
    EXPECT_EQ(engine.link_up(), 1);
}

TEST(LinkFaked, FakeDataCounts) {
    platform::TestClock clock;
    platform::ScopedClock scoped(clock);
    CSerialPort port;
    port.set_link_faked(true);
    port.set_fake_data(true);
    std::uint8_t echo = 0, a = 0, b = 0, c = 0;
    port.WriteByte(0x42);
    EXPECT_EQ(port.ReadReply2(&echo, &a), 2);
    EXPECT_EQ(port.ReadReply3(&echo, &b, &c), 3);
    EXPECT_EQ(echo, 0x42);
    EXPECT_EQ((Bytes{a, b, c}), (Bytes{0, 1, 2}));
}

TEST(LinkPort, ProbeOfAPortHeldElsewhereIsMinusOne) {
    sim::ScriptedPeer box{sim::PeerOptions{CSerialPort::kBaud, sim::Pacing::Instant}, answer};
    box.start();
    sim::ComPortBinding binding{kSlot, box.slave_path()};
    CSerialPort holder;
    holder.SetPort(kSlot);
    ASSERT_TRUE(holder.is_open());
    CSerialPort port;
    EXPECT_EQ(port.Probe(kSlot), -1);
    holder.Close();
    EXPECT_EQ(port.Probe(kSlot), 2);
    box.stop();
}

TEST_F(Link, PollThreadTellsEachCycleWhileHeldAndStopsWhilePolling) {
    std::atomic<int> cycles{0};
    {
        CLinkEngine engine(port);
        CSampleRing* ring = engine.hub().CreateRing();
        engine.hub().Subscribe(9, ring);
        engine.hub().Subscribe(4, ring);
        engine.hub().WithRing(ring, [](CSampleRing& r) { r.Reset(); });
        engine.StartPollThread([&] { cycles.fetch_add(1); });
        const auto give_up = std::chrono::steady_clock::now() + 5s;
        while (box.received().size() < 20 && std::chrono::steady_clock::now() < give_up)
            std::this_thread::sleep_for(1ms);
        EXPECT_EQ(cycles.load(), 0) << "idle: nothing is told";
        engine.Hold();
        std::vector<CSampleArray> frames;
        while (frames.size() < 3 && std::chrono::steady_clock::now() < give_up) {
            engine.hub().Drain(ring, frames);
            std::this_thread::sleep_for(1ms);
        }
        ASSERT_GE(frames.size(), 3u);
        EXPECT_GE(cycles.load(), 3);
        EXPECT_FLOAT_EQ(frames[0].values.at(0), static_cast<float>(0x21 ^ 0x5A) * 31.25f);
        EXPECT_EQ(engine.link_up(), 1);
    }  // the engine stops and joins its thread while it polls
    port.Close();
}

TEST_F(Link, PortChangesWaitForTheExchangeInHand) {
    CLinkEngine engine(port);
    engine.StartPollThread([] {});
    for (int i = 0; i < 50; ++i) {
        EXPECT_NE(port.Close(), 0);
        port.SetPort(kSlot);
        ASSERT_TRUE(port.is_open());
        std::this_thread::sleep_for(1ms);
    }
    engine.StopPollThread();
    EXPECT_EQ(engine.PollStep(), 0) << "a stopped engine stays silent";
}

TEST_F(Link, HoldAndReleaseNeverWaitForTheLineAndNeitherUndoesAStop) {
    CLinkEngine engine(port);
    std::atomic<bool> done{false};
    // As a seconds-long command holds it.
    std::unique_lock line(engine.engine_mutex());
    std::thread gui([&] {
        engine.Hold();
        EXPECT_EQ(engine.hold_count(), 1);
        engine.Release();
        engine.Release();  // unbalanced: stays idle
        done = true;
    });
    const auto give_up = std::chrono::steady_clock::now() + 2s;
    while (!done && std::chrono::steady_clock::now() < give_up) std::this_thread::sleep_for(1ms);
    EXPECT_TRUE(done.load()) << "Hold and Release waited for the engine lock";
    line.unlock();
    gui.join();
    EXPECT_EQ(engine.hold_count(), 0);
    engine.StartPollThread([] {});
    engine.StopPollThread();
    engine.Hold();
    EXPECT_EQ(engine.hold_count(), -1);
}

// A program that ends before its poll thread started: the engine is
// stopped all the same, and nothing starts or polls afterwards.
TEST_F(Link, AnEngineStoppedBeforeItsThreadStartedStaysStopped) {
    CLinkEngine engine(port);
    engine.StopPollThread();
    EXPECT_EQ(engine.hold_count(), -1);
    engine.Hold();
    EXPECT_EQ(engine.hold_count(), -1);
    std::atomic<int> cycles{0};
    engine.StartPollThread([&] { cycles.fetch_add(1); });
    EXPECT_EQ(engine.PollStep(), 0);
    engine.StopPollThread();
    EXPECT_TRUE(box.received().empty());
    EXPECT_EQ(cycles.load(), 0);
}

TEST_F(Link, SubscribeAndDrainRaceThePollThread) {
    CLinkEngine engine(port);
    engine.Hold();
    engine.StartPollThread([] {});
    CSampleRing* ring = engine.hub().CreateRing();
    std::vector<CSampleArray> frames;
    const int ids[] = {9, 4, 7, 19, 20, 51, 25};
    for (int round = 0; round < 40; ++round) {
        std::vector<CVariable*> held;
        for (int id : ids) held.push_back(engine.hub().Subscribe(id, ring));
        engine.hub().WithRing(ring, [](CSampleRing& r) { r.Reset(); });
        std::this_thread::sleep_for(2ms);
        engine.hub().Drain(ring, frames);
        for (CVariable* v : held) engine.hub().Unsubscribe(v, ring);
        engine.hub().Drain(ring, frames);
    }
    engine.hub().RemoveRing(ring);
    EXPECT_TRUE(engine.hub().empty());
}

}  // namespace
}  // namespace korv::boxlogger
