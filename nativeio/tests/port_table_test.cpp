#include "nativeio/core/port_table.h"
#include "nativeio/core/sio.h"
#include "nativeio/tests/slot_fixture.h"
#include "sim/core/pseudo_terminal.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <thread>

namespace korv::korvio {
namespace {

using namespace std::chrono_literals;
using platform::serial::InputLine;
using platform::serial::LineChange;
using platform::serial::OutputLine;
using sim::ComPortBinding;
using sim::PeerOnPort;
using testing::ListeningPeer;
using testing::SlotTest;

const std::uint8_t kBytes[] = {0x68, 0x6A, 0xF1};

// Every operation that takes a slot, called with default-looking arguments.
const std::vector<std::pair<const char*, std::function<int(int)>>>& slot_operations() {
    static const std::vector<std::pair<const char*, std::function<int(int)>>> ops = {
        {"SioClose", [](int p) { return SioClose(p); }},
        {"SioFlowMode", [](int p) { return SioFlowMode(p, 'N'); }},
        {"SioDTR", [](int p) { return SioDTR(p, 'S'); }},
        {"SioRTS", [](int p) { return SioRTS(p, 'R'); }},
        {"SioPutc", [](int p) { return SioPutc(p, 0x33); }},
        {"SioWrite", [](int p) { return SioWrite(p, kBytes, 3); }},
        {"SioPutBytes", [](int p) { return SioPutBytes(p, kBytes, 3); }},
        {"SioGetc", [](int p) { return SioGetc(p); }},
        {"SioRead",
         [](int p) {
             std::uint8_t b[4];
             return SioRead(p, b, 4);
         }},
        {"SioUnGetc", [](int p) { return SioUnGetc(p, 7); }},
        {"SioPurge", [](int p) { return SioPurge(p); }},
        {"SioDrainRx", [](int p) { return SioDrainRx(p); }},
        {"SioTxQue", [](int p) { return SioTxQue(p); }},
        {"SioRxQue", [](int p) { return SioRxQue(p); }},
        {"SioError", [](int p) { return SioError(p, 0xFF); }},
        {"SioCTS", [](int p) { return SioCTS(p); }},
        {"SioDSR", [](int p) { return SioDSR(p); }},
        {"SioRI", [](int p) { return SioRI(p); }},
        {"SioDCD", [](int p) { return SioDCD(p); }},
        {"SioBreak", [](int p) { return SioBreak(p, 'A'); }},
        {"SioSetEvent", [](int p) { return SioSetEvent(p, {}, 0, kEventRxChar); }},
        {"SioWaitEvent",
         [](int p) {
             unsigned mask = kEventRxChar;
             return SioWaitEvent(p, &mask);
         }},
        {"SioSendPaced", [](int p) { return SioSendPaced(p, kBytes, 3); }},
    };
    return ops;
}

TEST_F(SlotTest, IndexOutsideTheTableIsRefusedByEveryOperation) {
    for (int port : {-2, 128, 1000}) {
        for (const auto& [name, op] : slot_operations()) EXPECT_EQ(op(port), kBadPort) << name << " " << port;
        EXPECT_EQ(SioOpen(port, 1024, 1024), kBadPort);
        EXPECT_EQ(SioBaud(port, 9600), kBadPort);
        EXPECT_EQ(SioParms(port, 0, 0, 8), kBadPort);
    }
    // -1 selects the defaults for open, baud and parameters only.
    for (const auto& [name, op] : slot_operations()) EXPECT_EQ(op(kDefaults), kBadPort) << name;
}

TEST_F(SlotTest, ClosedSlotIsReportedByEveryOperation) {
    for (const auto& [name, op] : slot_operations()) EXPECT_EQ(op(9), kPortClosed) << name;
    EXPECT_EQ(SioBaud(9, 9600), kPortClosed);
    EXPECT_EQ(SioParms(9, 0, 0, 8), kPortClosed);
    EXPECT_EQ(SioUartRead(0, 5), -1);
}

TEST_F(SlotTest, DefaultsSetThroughIndexMinusOneShapeTheNextOpen) {
    sim::PseudoTerminal pty;
    ComPortBinding com(2, pty.slave_path());
    EXPECT_EQ(SioBaud(kDefaults, 10400), kDone);
    EXPECT_EQ(SioParms(kDefaults, 2, 2, 7), kDone);
    EXPECT_EQ(SioOpen(kDefaults, 1, 0), kDone);  // DTR on, RTS off
    EXPECT_EQ(SioOpen(2, 1024, 1024), kDone);
    EXPECT_EQ(pty.slave_speed(), 10400);
    const OpenSettings d = open_defaults();
    EXPECT_TRUE(d.dtr);
    EXPECT_FALSE(d.rts);
    EXPECT_EQ(d.line.parity, 2);
    EXPECT_EQ(d.line.stop_bits, 2);
    EXPECT_EQ(d.line.byte_size, 7);
}

TEST_F(SlotTest, ConfiguresEveryLinkSpeedAndTheDeviceSeesIt) {
    sim::PseudoTerminal pty;
    ComPortBinding com(0, pty.slave_path());
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);
    EXPECT_EQ(pty.slave_speed(), 19200);
    for (int baud : {5, 1953, 9600, 10400, 19200}) {
        EXPECT_NE(SioBaud(0, baud), 0) << baud;
        EXPECT_EQ(pty.slave_speed(), baud);
    }
    EXPECT_EQ(SioParms(0, 0, 0, 8), kDone);
    EXPECT_EQ(SioFlowMode(0, 'N'), kDone);
    EXPECT_EQ(SioFlowMode(0, 'H'), kDone);
    EXPECT_EQ(SioFlowMode(0, 'S'), kDone);
    EXPECT_EQ(SioFlowMode(0, 'x'), kDone);
    EXPECT_NE(SioClose(0), 0);
    EXPECT_EQ(SioClose(0), kPortClosed);
}

TEST_F(SlotTest, RefusedSettingsReportNotDoneAndDoNotLinger) {
    sim::PseudoTerminal pty;
    ComPortBinding com(0, pty.slave_path());
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);
    ASSERT_NE(SioBaud(0, 9600), 0);
    EXPECT_EQ(SioBaud(0, 0), 0);
    EXPECT_EQ(SioBaud(0, -5), 0);
    EXPECT_EQ(pty.slave_speed(), 9600);
    // Parameters report 0 even when refused, but the bad byte size must not
    // spoil the next speed change.
    EXPECT_EQ(SioParms(0, 0, 0, 12), kDone);
    EXPECT_NE(SioBaud(0, 1953), 0);
    EXPECT_EQ(pty.slave_speed(), 1953);
}

TEST_F(SlotTest, MissingDeviceFailsTheOpenWithItsSystemError) {
    ComPortBinding com(3, "/nonexistent/ttyKORV3");
    EXPECT_EQ(SioOpen(3, 1024, 1024), kSystemCallFailed);
    char text[128];
    EXPECT_EQ(SioWinError(text, sizeof text), ENOENT);
    EXPECT_STREQ(text, std::strerror(ENOENT));
    EXPECT_EQ(SioWinError(nullptr, 0), ENOENT);
    EXPECT_EQ(SioGetc(3), kPortClosed);
    EXPECT_EQ(SioOpen(3, -1, 1024), kQueueSizesRefused);
}

TEST_F(SlotTest, OpenSlotIsNotOpenedAgainAndKeepsItsHandle) {
    PeerOnPort<ListeningPeer> peer(0);
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);
    EXPECT_EQ(SioOpen(0, 1024, 1024), kSystemCallFailed);
    EXPECT_EQ(SioWinError(nullptr, 0), EBUSY);
    EXPECT_EQ(SioPutc(0, 0x5A), kDone);
    ASSERT_TRUE(peer->wait_received(1, 1s));
    // Raising the lines on it neither reopens nor closes the one in use.
    EXPECT_EQ(SioRaiseLines(0), kSystemCallFailed);
    EXPECT_EQ(SioPutc(0, 0x5B), kDone);
    ASSERT_TRUE(peer->wait_received(2, 1s));
    EXPECT_EQ(peer->received(), (std::vector<std::uint8_t>{0x5A, 0x5B}));
}

TEST_F(SlotTest, OneDeviceCannotBeOpenedThroughTwoSlots) {
    sim::PseudoTerminal pty;
    ComPortBinding first(0, pty.slave_path());
    ComPortBinding second(1, pty.slave_path());
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);
    EXPECT_EQ(SioOpen(1, 1024, 1024), kSystemCallFailed);
    SioClose(0);
    EXPECT_EQ(SioOpen(1, 1024, 1024), kDone);
}

TEST_F(SlotTest, SlotFollowsItsVariableAtEachOpen) {
    sim::PseudoTerminal a;
    sim::PseudoTerminal b;
    {
        ComPortBinding com(5, a.slave_path());
        ASSERT_EQ(SioOpen(5, 1024, 1024), kDone);
        SioBaud(5, 1953);
        SioClose(5);
    }
    ComPortBinding com(5, b.slave_path());
    ASSERT_EQ(SioOpen(5, 1024, 1024), kDone);
    SioBaud(5, 9600);
    EXPECT_EQ(a.slave_speed(), 1953);
    EXPECT_EQ(b.slave_speed(), 9600);
}

TEST_F(SlotTest, ReadsHonourThePushedBackByte) {
    PeerOnPort<ListeningPeer> peer(0);
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);
    EXPECT_EQ(SioGetc(0), kNothingWaiting);

    peer->send({0x10, 0x20, 0x30});
    ASSERT_EQ(SioWaitRx(0, 3, 1), kDone);
    EXPECT_EQ(SioUnGetc(0, 0x99), kDone);
    std::uint8_t buffer[8] = {};
    EXPECT_EQ(SioRead(0, buffer, 8), 1);  // the pushed-back byte alone
    EXPECT_EQ(buffer[0], 0x99);
    EXPECT_EQ(SioGetc(0), 0x10);
    EXPECT_EQ(SioUnGetc(0, 0x00), kDone);  // a zero byte counts as none
    EXPECT_EQ(SioGetc(0), 0x20);
    EXPECT_EQ(SioUnGetc(0, 0x44), kDone);
    EXPECT_EQ(SioGetc(0), 0x44);
    EXPECT_EQ(SioRead(0, buffer, 8), 1);
    EXPECT_EQ(buffer[0], 0x30);
    EXPECT_EQ(SioRead(0, buffer, 8), 0);
}

TEST_F(SlotTest, PurgeKeepsTheQueueAndDrainEmptiesIt) {
    PeerOnPort<ListeningPeer> peer(0);
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);
    peer->send({1, 2, 3, 4});
    ASSERT_EQ(SioWaitRx(0, 4, 1), kDone);
    EXPECT_EQ(SioPurge(0), kDone);
    EXPECT_EQ(SioRxQue(0), 4);
    SioUnGetc(0, 0x77);
    EXPECT_EQ(SioDrainRx(0), kDone);
    EXPECT_EQ(SioRxQue(0), 0);
    EXPECT_EQ(SioGetc(0), kNothingWaiting);
    EXPECT_EQ(SioTxQue(0), 0);
}

TEST_F(SlotTest, WritesReachTheDeviceAndAnEmptyPutSendsNothing) {
    PeerOnPort<ListeningPeer> peer(0);
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);
    EXPECT_EQ(SioPutBytes(0, kBytes, 0), kDone);
    EXPECT_EQ(SioWrite(0, kBytes, 0), 0);
    EXPECT_EQ(SioPutBytes(0, kBytes, 3), kDone);
    EXPECT_EQ(SioWrite(0, kBytes, 2), 2);
    EXPECT_EQ(SioPutc(0, 0x1FF), kDone);  // low byte only
    ASSERT_TRUE(peer->wait_received(6, 1s));
    std::this_thread::sleep_for(10ms);
    EXPECT_EQ(peer->received(), (std::vector<std::uint8_t>{0x68, 0x6A, 0xF1, 0x68, 0x6A, 0xFF}));
}

TEST_F(SlotTest, OutputLinesKeepTheirShadowAndReachTheSeam) {
    PeerOnPort<ListeningPeer> peer(0);
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);  // defaults: both lines off
    EXPECT_EQ(SioDTR(0, 'R'), 0);
    EXPECT_EQ(SioDTR(0, 'S'), 1);
    EXPECT_EQ(SioRTS(0, 'S' | 0x100), 1);  // compared on the low byte
    EXPECT_EQ(SioDTR(0, 'R'), 1);
    EXPECT_EQ(SioRTS(0, 'R'), 2);
    EXPECT_EQ(SioRTS(0, 'C'), 1);
    EXPECT_EQ(SioRTS(0, 'R'), 0);
    EXPECT_EQ(SioDTR(0, 'X'), kBadArgument);
    EXPECT_EQ(SioBreak(0, 'A'), 1);
    EXPECT_EQ(SioBreak(0, 'C'), 1);
    EXPECT_EQ(SioBreak(0, 'D'), 0);
    EXPECT_EQ(SioBreak(0, 'Z'), kBadArgument);

    std::vector<std::pair<OutputLine, bool>> seen;
    for (const LineChange& c : peer->lines().changes()) seen.emplace_back(c.line, c.on);
    const std::vector<std::pair<OutputLine, bool>> expected{
        {OutputLine::Dtr, false}, {OutputLine::Rts, false},  {OutputLine::Dtr, true},   {OutputLine::Rts, true},
        {OutputLine::Rts, false}, {OutputLine::Break, true}, {OutputLine::Break, false}};
    EXPECT_EQ(seen, expected);
}

TEST_F(SlotTest, InputLinesOfAPtyAreAssertedUnlessTheSeamSaysOtherwise) {
    PeerOnPort<ListeningPeer> peer(0);
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);
    EXPECT_EQ(SioCTS(0), 0x10);
    EXPECT_EQ(SioDSR(0), 0x20);
    EXPECT_EQ(SioDCD(0), 0x80);
    EXPECT_EQ(SioRI(0), 0);
    peer->lines().set_input(InputLine::Dcd, false);
    peer->lines().set_input(InputLine::Ri, true);
    EXPECT_EQ(SioDCD(0), 0);
    EXPECT_EQ(SioRI(0), 0x40);
    EXPECT_EQ(SioError(0, 0xFF), 0);  // a pty counts no line errors
}

TEST_F(SlotTest, WaitEventSeesInputAndRefusesAnUnknownMask) {
    PeerOnPort<ListeningPeer> peer(0);
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);
    unsigned mask = 0x8000;
    EXPECT_EQ(SioWaitEvent(0, &mask), kSystemCallFailed);
    EXPECT_EQ(SioWaitEvent(0, nullptr), kBadArgument);

    std::thread sender([&] {
        std::this_thread::sleep_for(10ms);
        peer->send({0x42});
    });
    mask = kEventRxChar | kEventCarrier;
    EXPECT_EQ(SioWaitEvent(0, &mask), 1);
    EXPECT_EQ(mask, kEventRxChar);
    sender.join();

    mask = kEventCarrier;
    std::thread carrier([&] {
        std::this_thread::sleep_for(10ms);
        peer->lines().set_input(InputLine::Dcd, false);
    });
    EXPECT_EQ(SioWaitEvent(0, &mask), 1);
    EXPECT_EQ(mask, kEventCarrier);
    carrier.join();
}

struct Mailbox {
    std::atomic<int> message{0};
    std::atomic<int> wparam{0};
    static void post(void* target, int message, int wparam, int) {
        auto* box = static_cast<Mailbox*>(target);
        box->wparam = wparam;
        box->message = message;
    }
};

TEST_F(SlotTest, EventThreadPostsItsMessageOnceTheEventComes) {
    PeerOnPort<ListeningPeer> peer(0);
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);
    EXPECT_EQ(SioSetEvent(0, {}, 0x464, kEventRxChar), 1);  // window 0: nothing started

    Mailbox box;
    EXPECT_EQ(SioSetEvent(0, {&Mailbox::post, &box}, 0x464, kEventRxChar), kDone);
    std::this_thread::sleep_for(10ms);
    EXPECT_EQ(box.message.load(), 0);
    peer->send({0x01});
    for (int i = 0; i < 500 && box.message == 0; ++i) std::this_thread::sleep_for(1ms);
    EXPECT_EQ(box.message.load(), 0x464);
    EXPECT_EQ(box.wparam.load(), 1);
}

TEST_F(SlotTest, ClosingStopsAWaitingEventThread) {
    PeerOnPort<ListeningPeer> peer(0);
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);
    Mailbox box;
    EXPECT_EQ(SioSetEvent(0, {&Mailbox::post, &box}, 7, kEventBreak), kDone);
    EXPECT_NE(SioClose(0), 0);  // returns: the thread was stopped and joined
    EXPECT_EQ(box.message.load(), 0);
}

}  // namespace
}  // namespace korv::korvio
