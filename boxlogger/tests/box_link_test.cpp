// The link engine against the simulated data-logger box on a pseudo-terminal.
#include "boxlogger/core/link_engine.h"
#include "platform/core/clock.h"
#include "sim/core/com_port_binding.h"
#include "sim/core/lockstep.h"
#include "sim/core/scripted_peer.h"
#include "sim/core/vxm_box.h"

#include <gtest/gtest.h>

namespace korv::boxlogger {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr int kSlot = 6;

// Every exchange runs on a lockstep clock: the box's answer times and the
// link's time-outs are kept exactly, however loaded the machine is.
struct BoxLink : ::testing::Test {
    platform::TestClock clock;
    platform::ScopedClock scoped{clock};
    sim::VxmBox box;
    sim::ComPortBinding binding{kSlot, box.slave_path()};
    CSerialPort port;

    void SetUp() override { box.start(); }
    void TearDown() override { box.stop(); }

    template <typename Work>
    auto on_clock(Work work) {
        return sim::Lockstep(clock, {&box}).run(std::move(work));
    }

    // Polls the list until a cycle completes (or 20 tries).
    static int complete_cycle(CVariableList& list) {
        int result = 0;
        for (int i = 0; i < 20 && result != kCycleComplete; ++i) result = list.Poll();
        return result;
    }
};

TEST_F(BoxLink, ProbeTellsTheBoxState) {
    struct Case {
        sim::BoxState state;
        int result;
    } cases[] = {{sim::BoxState::Silent, 0}, {sim::BoxState::EchoOnly, 1}, {sim::BoxState::Working, 2}};
    for (const Case& c : cases) {
        box.set_state(c.state);
        EXPECT_EQ(on_clock([&] { return port.Probe(kSlot); }), c.result) << static_cast<int>(c.state);
    }
    CSerialPort second;
    EXPECT_EQ(second.Probe(kSlot), -1) << "the port is held by the first";
}

TEST_F(BoxLink, IdleCycleAsksItsTenBytesInOrder) {
    port.SetPort(kSlot);
    CLinkEngine engine(port);
    on_clock([&] {
        for (int i = 0; i < 10; ++i) EXPECT_EQ(engine.PollStep(), 1);
    });
    EXPECT_EQ(box.received(), (Bytes{0xC1, 0x42, 0xB3, 0x54, 0xA5, 0x66, 0x97, 0x78, 0xFE, 0xFF}));
}

TEST_F(BoxLink, ValuesReachTheirDescriptors) {
    port.SetPort(kSlot);
    CVariableList list(port);
    box.set_wide_value(0xD0, 0x0320);
    box.ecu().set_value(0x21, 100);
    box.ecu().set_value(0x02, 0xEF);
    box.ecu().set_value(0x3B, 0x01);
    box.ecu().set_value(0x3C, 0x80);
    CVariable* vxm_rpm = list.Acquire(25);
    CVariable* rpm = list.Acquire(9);
    CVariable* ac = list.Acquire(19);
    CVariable* faults = list.Acquire(51);
    ASSERT_EQ(on_clock([&] { return complete_cycle(list); }), kCycleComplete);
    EXPECT_FLOAT_EQ(vxm_rpm->Value(), 800 * 3.90625f);
    EXPECT_FLOAT_EQ(rpm->Value(), 3125.0f);
    EXPECT_FLOAT_EQ(ac->Value(), 1.0f);
    EXPECT_EQ(faults->Raw(), 0x8001);
}

TEST_F(BoxLink, FaultsFailTheExchangeThenTheLinkRecovers) {
    port.SetPort(kSlot);
    CLinkEngine engine(port);
    CVariableList list(port);
    CVariable* rpm = list.Acquire(9);
    box.ecu().set_value(0x21, 64);
    const sim::Fault faults[] = {sim::Fault::WrongEcho, sim::Fault::Short, sim::Fault::Silent, sim::Fault::Late};
    for (sim::Fault fault : faults) {
        box.set_fault(fault, 250'000);
        EXPECT_EQ(on_clock([&] { return engine.PollObject(list); }), 0) << static_cast<int>(fault);
        EXPECT_EQ(engine.link_up(), 0);
        EXPECT_EQ(rpm->Raw(), 0);
    }
    box.set_fault(sim::Fault::None);
    const int done = on_clock([&] {
        int d = 0;
        for (int i = 0; i < 6 && !d; ++i) d = engine.PollObject(list);
        return d;
    });
    EXPECT_EQ(done, 1);
    EXPECT_EQ(engine.link_up(), 1);
    EXPECT_EQ(rpm->Raw(), 64);
}

TEST_F(BoxLink, SendCommandSetsARegisterWhateverTheBytes) {
    port.SetPort(kSlot);
    CLinkEngine engine(port);
    struct Case {
        int a, b;
    } cases[] = {{0x55, 0xE0}, {0x56, 0xD7}, {0x5F, 0x00}};
    for (const Case& c : cases) {
        EXPECT_EQ(on_clock([&] { return engine.SendCommand(c.a, c.b); }), 1) << c.a;
        EXPECT_EQ(box.register_value(static_cast<std::uint8_t>(c.a)), c.b);
    }
    EXPECT_EQ(box.frames_written(), 3);
    CVariableList list(port);
    CVariable* gain = list.Acquire(27);
    ASSERT_EQ(on_clock([&] { return complete_cycle(list); }), kCycleComplete);
    EXPECT_EQ(gain->Raw(), 0xD7) << "the register reads back";
}

TEST_F(BoxLink, SendCommandFailsOnASilentBox) {
    port.SetPort(kSlot);
    CLinkEngine engine(port);
    box.set_state(sim::BoxState::Silent);
    const std::int64_t start = clock.now_us();
    EXPECT_EQ(on_clock([&] { return engine.SendCommand(0x55, 0x10); }), 0);
    EXPECT_GE(clock.now_us() - start, CLinkEngine::kSendCommandGiveUpUs);
}

TEST_F(BoxLink, ReadCodeDoneAfterTheCommandRunsOrRefusedAtOnce) {
    port.SetPort(kSlot);
    CLinkEngine engine(port);
    const auto read_code = [&](int channel) { return on_clock([&] { return engine.ReadCode(channel); }); };
    const std::int64_t start = clock.now_us();
    EXPECT_EQ(read_code(38), 1);
    const std::int64_t took = clock.now_us();
    EXPECT_GE(took - start, CLinkEngine::kReadCodeDoneUs);
    EXPECT_LT(took - start, CLinkEngine::kReadCodeGiveUpUs);
    box.refuse_commands(true);
    EXPECT_EQ(read_code(39), 0);
    EXPECT_LT(clock.now_us() - took, CLinkEngine::kReadCodeDoneUs) << "a refusal comes at once";
}

TEST_F(BoxLink, ReadCodeClearsTheFaultCodes) {
    port.SetPort(kSlot);
    CLinkEngine engine(port);
    box.ecu().set_trouble_codes(0x0201);
    EXPECT_EQ(on_clock([&] { return engine.ReadCode(37); }), 1);
    EXPECT_EQ(box.ecu().trouble_codes(), 0);
}

TEST_F(BoxLink, ExitWhilePollingTheHub) {
    port.SetPort(kSlot);
    std::atomic<int> cycles{0};
    {
        CLinkEngine engine(port);
        CSampleRing* ring = engine.hub().CreateRing();
        engine.hub().Subscribe(9, ring);
        engine.hub().WithRing(ring, [](CSampleRing& r) { r.Reset(); });
        engine.Hold();
        sim::Lockstep lockstep(clock, {&box}, 1);
        engine.StartPollThread([&] { cycles.fetch_add(1); });
        EXPECT_TRUE(lockstep.drive_until([&] { return cycles.load() >= 2; }));
        lockstep.let_go();  // the engine goes while its thread polls on
    }
    EXPECT_GE(cycles.load(), 2);
    EXPECT_NE(port.Close(), 0);
}

// A box that echoes 0xF1 alone until `busy_us` of process-clock time has
// passed since it first heard it, then answers it with `data`.
struct SlowCommandBox {
    std::int64_t busy_us;
    std::uint8_t data;
    std::int64_t first_heard = -1;

    void operator()(sim::ScriptedPeer& peer, std::uint8_t byte) {
        const std::int64_t now = platform::clock().now_us();
        if (first_heard < 0) first_heard = now;
        if (now - first_heard < busy_us)
            peer.reply({byte});
        else
            peer.reply({byte, data});
    }
};

TEST(LinkReadCode, DoneAfterThreeSecondsOfEchoesRefusedAtOnce) {
    struct Case {
        std::int64_t busy_us;
        std::uint8_t data;
        int done;
    } cases[] = {{3'200'000, 0x00, 1}, {0, 0x01, 0}, {0, 0x00, 1}, {9'000'000, 0x00, 1}};
    for (const Case& c : cases) {
        platform::TestClock clock;
        platform::ScopedClock scoped(clock);
        sim::ScriptedPeer box{sim::PeerOptions{CSerialPort::kBaud, sim::Pacing::Instant},
                              SlowCommandBox{c.busy_us, c.data}};
        box.start();
        sim::ComPortBinding binding{kSlot, box.slave_path()};
        CSerialPort port;
        port.SetPort(kSlot);
        CLinkEngine engine(port);
        const std::int64_t start = clock.now_us();
        EXPECT_EQ(sim::Lockstep(clock, {&box}).run([&] { return engine.ReadCode(38); }), c.done)
            << c.busy_us << " " << int(c.data);
        EXPECT_LT(clock.now_us() - start, 7'500'000) << "gives up after 7 s";
        box.stop();
    }
}

}  // namespace
}  // namespace korv::boxlogger
