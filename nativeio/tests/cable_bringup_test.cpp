// SioReset for the five cables, and the ISO 9141 slow initialisation.
#include "nativeio/core/port_table.h"
#include "nativeio/core/result_codes.h"
#include "nativeio/core/slow_init.h"
#include "nativeio/include/korvio.h"
#include "nativeio/tests/slot_fixture.h"
#include "platform/core/clock.h"
#include "sim/core/cable3_box.h"
#include "sim/core/iso9141_ecu.h"
#include "sim/core/pseudo_terminal.h"

#include <gtest/gtest.h>

#include <chrono>

namespace korv::korvio {
namespace {

using platform::ScopedClock;
using platform::TestClock;
using platform::serial::LineChange;
using platform::serial::OutputLine;
using sim::ComPortBinding;
using sim::Iso9141Ecu;
using sim::PeerOnPort;
using testing::SlotTest;

class CableBringUp : public SlotTest {
protected:
    TestClock clock_{1'000'000'000};
    ScopedClock use_clock_{clock_};

    static int baud_of(int port) {
        int baud = 0;
        with_open_slot(port, [&](Slot& slot) {
            baud = slot.settings.baud;
            return 0;
        });
        return baud;
    }
    static std::vector<LineChange> dtr_changes(const platform::serial::LineSeam& seam) {
        std::vector<LineChange> picked;
        for (const LineChange& c : seam.changes())
            if (c.line == OutputLine::Dtr) picked.push_back(c);
        return picked;
    }
};

TEST_F(CableBringUp, BoxCablesSetTheirPortTo19200) {
    sim::PseudoTerminal pty;
    ComPortBinding com(0, pty.slave_path());
    ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
    ASSERT_NE(SioBaud(0, 9600), 0);
    EXPECT_EQ(SioReset(0, 0, 1024, 1024), 0);
    EXPECT_EQ(pty.slave_speed(), 19200);
    ASSERT_NE(SioBaud(0, 9600), 0);
    EXPECT_EQ(SioReset(1, 0, 1024, 1024), 0);
    EXPECT_EQ(pty.slave_speed(), 19200);
    // Cables 0 and 1 report nothing of their steps, even on a closed port.
    EXPECT_EQ(SioReset(0, 5, 1024, 1024), 0);
    EXPECT_EQ(SioReset(0, 128, 1024, 1024), kBadPort);
}

TEST_F(CableBringUp, Cable3PulsesDtrBeforeEachOfItsThreeCommands) {
    PeerOnPort<sim::Cable3Box> box(0);
    ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
    box->lines().clear_changes();
    const auto t0 = clock_.now_us();
    EXPECT_EQ(SioReset(3, 0, 1024, 1024), 0);
    ASSERT_TRUE(box->wait_handled(27, std::chrono::seconds(2)));
    EXPECT_TRUE(box->set_up());

    // RTS was up already; DTR: a pulse of the bring-up, then one per command.
    const auto dtr = dtr_changes(box->lines());
    ASSERT_EQ(dtr.size(), 8u);
    EXPECT_EQ(box->lines().changes().size(), 8u);
    EXPECT_EQ(dtr[0], (LineChange{OutputLine::Dtr, false, t0}));
    EXPECT_EQ(dtr[1], (LineChange{OutputLine::Dtr, true, t0 + 1'000'000}));
    EXPECT_EQ(dtr[2], (LineChange{OutputLine::Dtr, false, t0 + 2'000'000}));
    for (int command = 0; command < 3; ++command) {
        const auto low = dtr[2 + 2 * command].at_us;
        EXPECT_FALSE(dtr[2 + 2 * command].on);
        EXPECT_EQ(dtr[3 + 2 * command], (LineChange{OutputLine::Dtr, true, low + 1'000'000}));
        // 1 s, then the paced send: 1.5 s and the wait for carrier.
        if (command < 2) {
            EXPECT_GE(dtr[4 + 2 * command].at_us, low + 3'500'000);
        }
    }
    EXPECT_GE(clock_.now_us(), dtr[7].at_us + 1'000'000 + 1'500'000 + 2'000'000);
    EXPECT_EQ(SioRTS(0, 'R'), 2);
}

TEST_F(CableBringUp, Cable4SetsTheDsmSpeedAndReportsItsStepOffsets) {
    sim::PseudoTerminal pty;
    ComPortBinding com(0, pty.slave_path());
    ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
    EXPECT_EQ(SioReset(4, 0, 1024, 1024), 0);
    EXPECT_EQ(pty.slave_speed(), 1953);
    EXPECT_EQ(SioReset(4, 5, 1024, 1024), 5997);
    // -1 is no port here: it must not reach the open defaults.
    EXPECT_EQ(SioReset(4, -1, 1024, 1024), 5999);
    EXPECT_EQ(open_defaults().line.baud, 19200);
}

TEST_F(CableBringUp, Cable2InitialisesAtFiveBaudAndLeavesTheDefaultsAlone) {
    PeerOnPort<Iso9141Ecu> ecu(0);
    ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
    const OpenSettings before = open_defaults();
    EXPECT_EQ(SioReset(2, 0, 1024, 1024), 0);
    EXPECT_EQ(ecu->addresses_heard(), 1);
    EXPECT_EQ(ecu->inits_completed(), 1);
    EXPECT_TRUE(ecu->linked());
    EXPECT_EQ(baud_of(0), 10400);
    // The init opened with its own settings: lines off, and no shared change.
    const auto last_level = [&](OutputLine line) {
        bool on = true;
        for (const LineChange& c : ecu->lines().changes())
            if (c.line == line) on = c.on;
        return on;
    };
    EXPECT_FALSE(last_level(OutputLine::Dtr));
    EXPECT_FALSE(last_level(OutputLine::Rts));
    const OpenSettings after = open_defaults();
    EXPECT_EQ(after.line.baud, before.line.baud);
    EXPECT_EQ(after.dtr, before.dtr);
    EXPECT_EQ(after.rts, before.rts);
}

TEST_F(CableBringUp, DeviceThatRefusesFiveBaudGetsTheAddressDrawnWithBreak) {
    PeerOnPort<Iso9141Ecu> ecu(0);
    SlowInitOptions options;
    std::vector<int> speeds;
    options.set_baud = [&](int port, int baud) {
        speeds.push_back(baud);
        return baud == 5 ? 0 : SioBaud(port, baud);
    };
    EXPECT_EQ(Iso9141SlowInit(0, options), 0);
    EXPECT_EQ(speeds, (std::vector<int>{5, 10400}));
    EXPECT_EQ(ecu->inits_completed(), 1);

    // 0x33 from the lowest bit, framed by a start and a stop bit, 200 ms a bit:
    // break (0) 1 bit, mark (1) 2, break 2, mark 2, break 2, then the stop bit.
    std::vector<LineChange> edges;
    for (const LineChange& c : ecu->lines().changes())
        if (c.line == OutputLine::Break) edges.push_back(c);
    ASSERT_EQ(edges.size(), 6u);
    const auto t0 = edges[0].at_us;
    const std::int64_t ms = 1000;
    EXPECT_EQ(edges, (std::vector<LineChange>{{OutputLine::Break, true, t0},
                                              {OutputLine::Break, false, t0 + 200 * ms},
                                              {OutputLine::Break, true, t0 + 600 * ms},
                                              {OutputLine::Break, false, t0 + 1000 * ms},
                                              {OutputLine::Break, true, t0 + 1400 * ms},
                                              {OutputLine::Break, false, t0 + 1800 * ms}}));
}

TEST_F(CableBringUp, Cable2GivesUpAfterElevenAttemptsOfElevenSeconds) {
    PeerOnPort<Iso9141Ecu> ecu(0);
    ecu->set_fault(sim::Fault::Silent);  // echoes the address, never sends the key bytes
    const auto t0 = clock_.now_us();
    EXPECT_EQ(SioReset(2, 0, 1024, 1024), kTimeOut);
    EXPECT_EQ(ecu->addresses_heard(), kSlowInitAttempts);
    const auto took = clock_.now_us() - t0;
    EXPECT_GE(took, 121'000'000);
    EXPECT_LT(took, 122'000'000);
}

TEST_F(CableBringUp, Cable2StopsAtOnceWhenThePortCannotBeOpened) {
    ComPortBinding com(0, "/nonexistent/ttyKORV");
    const auto t0 = clock_.now_us();
    EXPECT_EQ(SioReset(2, 0, 1024, 1024), kTimeOut);
    EXPECT_EQ(clock_.now_us(), t0);
}

TEST_F(CableBringUp, SlowInitCanBeAbandonedBetweenAttempts) {
    PeerOnPort<Iso9141Ecu> ecu(0);
    ecu->set_fault(sim::Fault::Silent);
    SlowInitOptions options;
    int asked = 0;
    options.keep_trying = [&] { return ++asked < 2; };
    EXPECT_EQ(Iso9141SlowInit(0, options), kSlowInitAbandoned);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(ecu->addresses_heard(), 2);
}

}  // namespace
}  // namespace korv::korvio
