#include "sim/core/handheld_peer.h"

#include "platform/serial/tty.h"
#include "sim/tests/peer_test_support.h"

#include <gtest/gtest.h>

#include <chrono>

namespace korv::sim {
namespace {

using namespace std::chrono_literals;
using platform::serial::Tty;
using testing::Bytes;
using testing::read_bytes;
using testing::RunningProgram;

// The handheld talks at 19200 with the modem lines left alone.
std::unique_ptr<Tty> open_at(const std::string& path) { return testing::open_at(path, 19200, false, false); }

Bytes answer(Tty& tty, std::uint8_t byte, std::size_t expected, std::chrono::milliseconds timeout = 1s) {
    return testing::write_and_read(tty, {byte}, expected, timeout);
}

HandheldLog two_channels() {
    HandheldLog log;
    log.width = 2;
    log.ids = {9, 7};
    log.records = {{9, 0x1F, 0x40}, {7, 0x80, 0x00}};
    return log;
}

TEST(Handheld, LeadsTheTransfer) {
    HandheldPeer handheld(two_channels());
    handheld.start();
    auto tty = open_at(handheld.slave_path());
    ASSERT_TRUE(tty);
    EXPECT_TRUE(read_bytes(*tty, 1, 30ms).empty());  // quiet until the button is pressed

    handheld.press_button();
    EXPECT_EQ(read_bytes(*tty, 1), Bytes{0xFF});
    EXPECT_EQ(answer(*tty, 0x00, 3), (Bytes{2, 2, 9}));
    EXPECT_EQ(answer(*tty, 9, 1), Bytes{7});
    EXPECT_EQ(answer(*tty, 7, 3), (Bytes{9, 0x1F, 0x40}));
    EXPECT_EQ(answer(*tty, 9, 3), (Bytes{7, 0x80, 0x00}));
    EXPECT_FALSE(handheld.finished());
    EXPECT_TRUE(answer(*tty, 7, 1, 30ms).empty());
    EXPECT_TRUE(handheld.finished());
}

TEST(Handheld, GivesUpOnAWrongAnswerAndStartsAgainOnTheButton) {
    HandheldPeer handheld(two_channels());
    handheld.start();
    auto tty = open_at(handheld.slave_path());
    ASSERT_TRUE(tty);
    handheld.press_button();
    ASSERT_EQ(read_bytes(*tty, 1), Bytes{0xFF});
    ASSERT_EQ(answer(*tty, 0x00, 3), (Bytes{2, 2, 9}));
    EXPECT_TRUE(answer(*tty, 8, 1, 30ms).empty());  // not the id it sent
    EXPECT_TRUE(answer(*tty, 9, 1, 30ms).empty());
    handheld.press_button();
    EXPECT_EQ(read_bytes(*tty, 1), Bytes{0xFF});
}

TEST(Handheld, CanStopPartWayThroughItsIds) {
    HandheldPeer handheld(two_channels());
    handheld.stop_after_ids(1);
    handheld.set_start_byte(0xFF);
    handheld.start();
    auto tty = open_at(handheld.slave_path());
    ASSERT_TRUE(tty);
    handheld.press_button();
    ASSERT_EQ(read_bytes(*tty, 1), Bytes{0xFF});
    EXPECT_EQ(answer(*tty, 0x00, 3), (Bytes{2, 2, 9}));
    EXPECT_TRUE(answer(*tty, 9, 1, 30ms).empty());
}

// A line typed to the program presses the button.
TEST(HandheldProgram, PressesTheButtonOnALineOfInput) {
    RunningProgram program({KORV_SIM_HANDHELD_PROGRAM, "--instant", "--width", "2"}, /*with_input=*/true);
    Bytes start, announcement;
    if (program.got_line()) {
        if (auto tty = open_at(program.slave_path())) {
            program.write_input("\n");
            start = read_bytes(*tty, 1);
            announcement = answer(*tty, 0x00, 2);
        }
    }
    const int status = program.stop();
    ASSERT_TRUE(program.got_line());
    EXPECT_EQ(start, Bytes{0xFF});
    EXPECT_EQ(announcement, (Bytes{2, 4}));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(HandheldProgram, ArmsALineFaultTypedBeforeThePress) {
    RunningProgram program({KORV_SIM_HANDHELD_PROGRAM, "--instant", "--width", "2"}, /*with_input=*/true);
    Bytes start, announcement;
    if (program.got_line()) {
        if (auto tty = open_at(program.slave_path())) {
            program.write_input("stray-between a5\n\n");
            start = read_bytes(*tty, 1);
            announcement = answer(*tty, 0x00, 3);
        }
    }
    program.stop();
    EXPECT_EQ(start, Bytes{0xFF});
    EXPECT_EQ(announcement, (Bytes{0xA5, 2, 4})) << "the stray byte comes before the announcement";
}

}  // namespace
}  // namespace korv::sim
