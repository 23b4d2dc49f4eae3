#include "sim/core/diag_peer.h"

#include "platform/serial/tty.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

namespace korv::sim {
namespace {

using namespace std::chrono_literals;
using platform::serial::LineSettings;
using platform::serial::Tty;

std::vector<std::uint8_t> exchange(const std::string& path, std::uint8_t command, std::size_t expected) {
    LineSettings settings;
    settings.baud = DiagPeer::kBaud;
    std::unique_ptr<Tty> tty;
    EXPECT_EQ(Tty::open(path, settings, true, true, &tty), 0);
    if (!tty) return {};
    EXPECT_EQ(tty->write(&command, 1), 1);
    std::vector<std::uint8_t> got;
    const auto give_up = std::chrono::steady_clock::now() + 1s;
    while (got.size() < expected && std::chrono::steady_clock::now() < give_up) {
        std::uint8_t b;
        if (tty->read(&b, 1) == 1) got.push_back(b);
        else std::this_thread::sleep_for(1ms);
    }
    return got;
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
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        if (int quiet = open("/dev/null", O_WRONLY); quiet >= 0) dup2(quiet, STDERR_FILENO);
        close(out[0]);
        close(out[1]);
        execl(KORV_SIM_DIAG_PROGRAM, KORV_SIM_DIAG_PROGRAM, "--instant", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    FILE* lines = fdopen(out[0], "r");
    char path[256] = {};
    const bool got_line = std::fgets(path, sizeof path, lines) != nullptr;
    std::string slave(path);
    if (!slave.empty() && slave.back() == '\n') slave.pop_back();
    if (got_line) {
        EXPECT_EQ(exchange(slave, 0xFF, 1), std::vector<std::uint8_t>{0xFF});
    }
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    std::fclose(lines);
    ASSERT_TRUE(got_line);
    EXPECT_EQ(slave.rfind("/dev/pts/", 0), 0u) << slave;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace
} // namespace korv::sim
