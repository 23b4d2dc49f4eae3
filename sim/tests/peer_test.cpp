#include "sim/core/peer.h"

#include "platform/core/clock.h"
#include "platform/serial/tty.h"
#include "sim/core/scripted_peer.h"
#include "sim/tests/peer_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace korv::sim {
namespace {

using namespace std::chrono_literals;
using platform::serial::InputLine;
using platform::serial::InputLines;
using platform::serial::LineChange;
using platform::serial::LineSettings;
using platform::serial::OutputLine;
using platform::serial::Tty;

// Answers every byte with that byte and the next one up.
ScriptedPeer::ByteHandler answer_pair() {
    return [](ScriptedPeer& peer, std::uint8_t byte) { peer.reply({byte, static_cast<std::uint8_t>(byte + 1)}); };
}

// The scripted peer is met with DTR down unless a test raises it.
std::unique_ptr<Tty> open_at(const std::string& path, int baud, bool dtr = false) {
    return testing::open_at(path, baud, dtr, false);
}

using testing::read_bytes;

void write_byte(Tty& tty, std::uint8_t byte) { ASSERT_EQ(tty.write(&byte, 1), 1); }

TEST(Garbling, NeverGivesTheByteBackNorUndoesItself) {
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<std::uint8_t>(b);
        EXPECT_NE(garbled(byte), byte);
        EXPECT_NE(garbled(garbled(byte)), byte);
        EXPECT_NE(wrong_echo(byte), byte);
        EXPECT_NE(wrong_echo(byte), 0);
    }
}

TEST(Peer, AnswersAtItsSpeedAndSurvivesTheProgramClosingThePort) {
    ScriptedPeer peer(PeerOptions{9600}, answer_pair());
    peer.start();
    for (int round = 0; round < 2; ++round) {
        auto tty = open_at(peer.slave_path(), 9600);
        ASSERT_TRUE(tty);
        write_byte(*tty, 0x41);
        EXPECT_EQ(read_bytes(*tty, 2), (std::vector<std::uint8_t>{0x41, 0x42}));
    }
    EXPECT_EQ(peer.received(), (std::vector<std::uint8_t>{0x41, 0x41}));
    EXPECT_EQ(peer.wrong_speed_bytes(), 0);
}

TEST(Peer, WrongSpeedGarblesBothWays) {
    ScriptedPeer peer(PeerOptions{9600}, answer_pair());
    peer.start();
    auto tty = open_at(peer.slave_path(), 19200);
    write_byte(*tty, 0x41);
    const auto heard = garbled(0x41);
    const std::vector<std::uint8_t> expected{garbled(heard), garbled(static_cast<std::uint8_t>(heard + 1))};
    EXPECT_EQ(read_bytes(*tty, 2), expected);
    EXPECT_EQ(peer.received(), std::vector<std::uint8_t>{heard});
    EXPECT_EQ(peer.wrong_speed_bytes(), 3);
}

TEST(Peer, WrongSpeedCanBeIgnoredAndTheSpeedIsReadAtEachByte) {
    ScriptedPeer peer(PeerOptions{9600, Pacing::Instant, WrongSpeed::Ignore}, answer_pair());
    peer.start();
    auto tty = open_at(peer.slave_path(), 10400);  // 8% off
    write_byte(*tty, 0x10);
    // A pty carries no speed with its bytes: the peer takes the one in force
    // when it reads, so the change waits until the first byte is handled.
    ASSERT_TRUE(peer.wait_handled(1, 1s));
    LineSettings right;
    right.baud = 9650;  // within 3%
    ASSERT_EQ(tty->apply(right), 0);
    write_byte(*tty, 0x20);
    EXPECT_EQ(read_bytes(*tty, 2), (std::vector<std::uint8_t>{0x20, 0x21}));
    EXPECT_EQ(peer.received(), std::vector<std::uint8_t>{0x20});
    EXPECT_EQ(peer.wrong_speed_bytes(), 1);
}

TEST(Peer, IdleOnlyOnceEveryByteWrittenIsDealtWith) {
    std::atomic<bool> go_on{false};
    ScriptedPeer peer(PeerOptions{9600}, [&](ScriptedPeer& self, std::uint8_t byte) {
        while (!go_on) std::this_thread::sleep_for(1ms);
        self.reply({byte});
    });
    auto tty = open_at(peer.slave_path(), 9600);
    write_byte(*tty, 0x10);
    EXPECT_FALSE(peer.wait_idle(20ms)) << "the byte is still on the line";
    peer.start();
    ASSERT_TRUE(peer.wait_received(1, 1s));
    EXPECT_FALSE(peer.wait_idle(20ms)) << "the byte is being handled";
    go_on = true;
    EXPECT_TRUE(peer.wait_idle(1s));
    EXPECT_EQ(read_bytes(*tty, 1), std::vector<std::uint8_t>{0x10});
}

TEST(Peer, WirePacingTakesTenBitsAByteOnTheClock) {
    platform::TestClock clock;
    platform::ScopedClock use(clock);
    ScriptedPeer peer(PeerOptions{1953, Pacing::Wire}, answer_pair());
    peer.start();
    auto tty = open_at(peer.slave_path(), 1953);
    write_byte(*tty, 0x01);
    EXPECT_EQ(read_bytes(*tty, 2).size(), 2u);
    peer.stop();
    EXPECT_EQ(clock.now_us(), 2 * (10'000'000 / 1953));
}

TEST(Peer, InstantPacingTakesNoTime) {
    platform::TestClock clock;
    platform::ScopedClock use(clock);
    ScriptedPeer peer(PeerOptions{1953}, answer_pair());
    peer.start();
    auto tty = open_at(peer.slave_path(), 1953);
    write_byte(*tty, 0x01);
    EXPECT_EQ(read_bytes(*tty, 2).size(), 2u);
    peer.stop();
    EXPECT_EQ(clock.now_us(), 0);
}

struct FaultCase {
    Fault fault;
    std::vector<std::uint8_t> answer;
};

class PeerFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(PeerFaults, ShapeTheAnswer) {
    ScriptedPeer peer(PeerOptions{19200}, answer_pair());
    peer.set_fault(GetParam().fault);
    peer.start();
    auto tty = open_at(peer.slave_path(), 19200);
    write_byte(*tty, 0x30);
    ASSERT_TRUE(peer.wait_handled(1, 1s));
    std::this_thread::sleep_for(5ms);  // let the pty pass on what was written
    EXPECT_EQ(read_bytes(*tty, GetParam().answer.size()), GetParam().answer);
    EXPECT_EQ(tty->input_queue(), 0);
}

INSTANTIATE_TEST_SUITE_P(All, PeerFaults,
                         ::testing::Values(FaultCase{Fault::None, {0x30, 0x31}}, FaultCase{Fault::Silent, {}},
                                           FaultCase{Fault::WrongEcho, {0x55, 0x31}}, FaultCase{Fault::Short, {0x30}},
                                           FaultCase{Fault::Garbage, {garbled(0x30), garbled(0x31)}}),
                         [](const ::testing::TestParamInfo<FaultCase>& info) {
                             switch (info.param.fault) {
                             case Fault::None: return "None";
                             case Fault::Silent: return "Silent";
                             case Fault::WrongEcho: return "WrongEcho";
                             case Fault::Short: return "Short";
                             case Fault::Garbage: return "Garbage";
                             case Fault::Late: return "Late";
                             }
                             return "Unknown";
                         });

TEST(Peer, LateAnswerWaitsOnTheClock) {
    platform::TestClock clock;
    platform::ScopedClock use(clock);
    ScriptedPeer peer(PeerOptions{19200}, answer_pair());
    peer.set_fault(Fault::Late, 3'000'000);
    peer.start();
    auto tty = open_at(peer.slave_path(), 19200);
    write_byte(*tty, 0x30);
    EXPECT_EQ(read_bytes(*tty, 2), (std::vector<std::uint8_t>{0x30, 0x31}));
    EXPECT_GE(clock.now_us(), 3'000'000);
}

TEST(Peer, HearsLineChangesOnItsOwnThreadAndDrivesCarrier) {
    // Carrier follows DTR, the way an interface box signals it is ready.
    std::atomic<std::thread::id> line_thread{};
    ScriptedPeer peer(PeerOptions{}, {}, [&](ScriptedPeer& self, const LineChange& change) {
        line_thread = std::this_thread::get_id();
        if (change.line == OutputLine::Dtr) self.lines().set_input(InputLine::Dcd, change.on);
    });
    peer.lines().set_input(InputLine::Dcd, false);
    peer.start();
    auto tty = open_at(peer.slave_path(), 19200, /*dtr=*/false);
    InputLines lines;
    ASSERT_EQ(tty->input_lines(&lines), 0);
    EXPECT_FALSE(lines.dcd);
    ASSERT_EQ(tty->set_dtr(true), 0);
    const auto give_up = std::chrono::steady_clock::now() + 1s;
    while (!lines.dcd && std::chrono::steady_clock::now() < give_up) {
        std::this_thread::sleep_for(1ms);
        ASSERT_EQ(tty->input_lines(&lines), 0);
    }
    EXPECT_TRUE(lines.dcd);
    EXPECT_NE(line_thread.load(), std::this_thread::get_id());
    EXPECT_NE(line_thread.load(), std::thread::id{});
}

TEST(Peer, TestThreadCanPushUnaskedBytes) {
    ScriptedPeer peer;
    peer.start();
    auto tty = open_at(peer.slave_path(), 19200);
    peer.send({0x01, 0x02});
    EXPECT_EQ(read_bytes(*tty, 2), (std::vector<std::uint8_t>{0x01, 0x02}));
}

}  // namespace
}  // namespace korv::sim
