#include "sim/core/handheld_peer.h"

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
using Bytes = std::vector<std::uint8_t>;

std::unique_ptr<Tty> open_at(const std::string& path, int baud = 19200) {
    LineSettings settings;
    settings.baud = baud;
    std::unique_ptr<Tty> tty;
    EXPECT_EQ(Tty::open(path, settings, false, false, &tty), 0);
    return tty;
}

Bytes read_bytes(Tty& tty, std::size_t count, std::chrono::milliseconds timeout = 1s) {
    Bytes got;
    const auto give_up = std::chrono::steady_clock::now() + timeout;
    while (got.size() < count && std::chrono::steady_clock::now() < give_up) {
        std::uint8_t buffer[64];
        const int n = tty.read(buffer, static_cast<int>(std::min<std::size_t>(sizeof buffer, count - got.size())));
        if (n > 0) got.insert(got.end(), buffer, buffer + n);
        else std::this_thread::sleep_for(1ms);
    }
    return got;
}

Bytes answer(Tty& tty, std::uint8_t byte, std::size_t expected, std::chrono::milliseconds timeout = 1s) {
    EXPECT_EQ(tty.write(&byte, 1), 1);
    return read_bytes(tty, expected, timeout);
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
    int out[2], in[2];
    ASSERT_EQ(pipe(out), 0);
    ASSERT_EQ(pipe(in), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(in[0], STDIN_FILENO);
        if (int quiet = open("/dev/null", O_WRONLY); quiet >= 0) dup2(quiet, STDERR_FILENO);
        close(out[0]);
        close(out[1]);
        close(in[0]);
        close(in[1]);
        execl(KORV_SIM_HANDHELD_PROGRAM, KORV_SIM_HANDHELD_PROGRAM, "--instant", "--width", "2",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    close(in[0]);
    FILE* lines = fdopen(out[0], "r");
    char path[256] = {};
    const bool got_line = std::fgets(path, sizeof path, lines) != nullptr;
    std::string slave(path);
    if (!slave.empty() && slave.back() == '\n') slave.pop_back();
    Bytes start, announcement;
    if (got_line) {
        if (auto tty = open_at(slave)) {
            [[maybe_unused]] ssize_t n = write(in[1], "\n", 1);
            start = read_bytes(*tty, 1);
            announcement = answer(*tty, 0x00, 2);
        }
    }
    close(in[1]);
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    std::fclose(lines);
    ASSERT_TRUE(got_line);
    EXPECT_EQ(start, Bytes{0xFF});
    EXPECT_EQ(announcement, (Bytes{2, 4}));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace
} // namespace korv::sim
