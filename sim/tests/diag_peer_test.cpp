#include "sim/core/diag_peer.h"

#include "sim/tests/peer_test_support.h"

#include <gtest/gtest.h>

namespace korv::sim {
namespace {

using testing::open_at;
using testing::RunningProgram;

std::vector<std::uint8_t> exchange(const std::string& path, std::uint8_t command, std::size_t expected) {
    auto tty = open_at(path, DiagPeer::kBaud, true, true);
    if (!tty) return {};
    return testing::write_and_read(*tty, {command}, expected);
}

TEST(DiagPeer, KnowsExactlyTheActuatorCommands) {
    int commands = 0;
    for (int b = 0; b < 256; ++b) commands += DiagPeer::is_command(static_cast<std::uint8_t>(b));
    EXPECT_EQ(commands, 12);
    EXPECT_FALSE(DiagPeer::is_command(0xF2));
    EXPECT_TRUE(DiagPeer::is_command(0xFF));
}

TEST(DiagPeer, EchoesCommandsAfterItsZeros) {
    DiagPeer peer;
    peer.set_leading_zeros(2);
    peer.start();
    EXPECT_EQ(exchange(peer.slave_path(), 0xF6, 3), (std::vector<std::uint8_t>{0x00, 0x00, 0xF6}));
}

// The program prints its slave path and serves until it is told to stop.
TEST(DiagPeerProgram, PrintsItsSlavePathAndAnswersThere) {
    RunningProgram program({KORV_SIM_DIAG_PROGRAM, "--instant"});
    if (program.got_line()) {
        EXPECT_EQ(exchange(program.slave_path(), 0xFF, 1), std::vector<std::uint8_t>{0xFF});
    }
    const int status = program.stop();
    ASSERT_TRUE(program.got_line());
    EXPECT_EQ(program.slave_path().rfind("/dev/pts/", 0), 0u) << program.slave_path();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace korv::sim
