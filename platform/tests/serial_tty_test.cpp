#include "platform/serial/tty.h"

#include "platform/core/clock.h"
#include "platform/serial/input_wait.h"
#include "platform/tests/pty_pair.h"

#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

#include <cerrno>

#ifndef TIOCGEXCL
#define TIOCGEXCL _IOR('T', 0x40, int)
#endif

namespace korv::platform::serial {
namespace {

using testing::PtyPair;

std::unique_ptr<Tty> open_ok(const std::string& path, LineSettings settings = {}, bool dtr = true, bool rts = true) {
    std::unique_ptr<Tty> tty;
    EXPECT_EQ(Tty::open(path, settings, dtr, rts, &tty), 0);
    return tty;
}

TEST(SpeedCheck, ThreePercentEitherWayIsTheLimit) {
    EXPECT_TRUE(speed_close_enough(10400, 10400));
    EXPECT_TRUE(speed_close_enough(10000, 10300));
    EXPECT_TRUE(speed_close_enough(10000, 9700));
    EXPECT_FALSE(speed_close_enough(10000, 10301));
    EXPECT_FALSE(speed_close_enough(10000, 9699));
    // A 16550 at 1953 baud really runs at 1952.5 rounded either way.
    EXPECT_TRUE(speed_close_enough(1953, 1952));
    EXPECT_FALSE(speed_close_enough(5, 0));
    EXPECT_FALSE(speed_close_enough(0, 0));
}

TEST(Tty, SetsEveryWantedSpeedAndTheMasterSeesIt) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    auto tty = open_ok(pty.slave_path);
    ASSERT_TRUE(tty);
    for (int baud : {5, 1953, 9600, 10400, 19200}) {
        LineSettings s;
        s.baud = baud;
        EXPECT_EQ(tty->apply(s), 0) << baud;
        long seen = 0;
        ASSERT_EQ(read_speed(pty.master, &seen), 0);
        EXPECT_EQ(seen, baud);
    }
}

TEST(Tty, RefusesSettingsWithoutMeaningAndKeepsTheOldSpeed) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    auto tty = open_ok(pty.slave_path);
    ASSERT_TRUE(tty);
    LineSettings s;
    s.baud = 0;
    EXPECT_EQ(tty->apply(s), EINVAL);
    s = {};
    s.byte_size = 9;
    EXPECT_EQ(tty->apply(s), EINVAL);
    s = {};
    s.stop_bits = 1;  // one and a half needs 5-bit bytes
    EXPECT_EQ(tty->apply(s), EINVAL);
    s.byte_size = 5;
    EXPECT_EQ(tty->apply(s), 0);
    long seen = 0;
    ASSERT_EQ(read_speed(pty.master, &seen), 0);
    EXPECT_EQ(seen, 19200);
}

TEST(Tty, SecondOpenIsRefusedEvenForRoot) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    auto first = open_ok(pty.slave_path);
    std::unique_ptr<Tty> second;
    EXPECT_EQ(Tty::open(pty.slave_path, {}, true, true, &second), EBUSY);
    EXPECT_FALSE(second);
    first.reset();
    EXPECT_EQ(Tty::open(pty.slave_path, {}, true, true, &second), 0);
}

TEST(Tty, MissingDeviceGivesItsError) {
    std::unique_ptr<Tty> tty;
    EXPECT_EQ(Tty::open("/nonexistent/ttyKORV", {}, true, true, &tty), ENOENT);
}

TEST(Tty, BytesPassRawBothWays) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    auto tty = open_ok(pty.slave_path);
    const std::uint8_t out[] = {0x0D, 0x0A, 0x03, 0xFF, 0x00, 0x11};
    ASSERT_EQ(tty->write(out, 6), 6);
    std::uint8_t got[16] = {};
    usleep(20000);
    ASSERT_EQ(::read(pty.master, got, sizeof got), 6);
    EXPECT_EQ(0, memcmp(got, out, 6));

    ASSERT_EQ(::write(pty.master, out, 6), 6);
    usleep(20000);
    EXPECT_EQ(tty->input_queue(), 6);
    EXPECT_EQ(tty->read(got, 16), 6);
    EXPECT_EQ(0, memcmp(got, out, 6));
    EXPECT_EQ(tty->read(got, 16), 0);  // nothing waits: at once, no block
}

TEST(Tty, PtyWithoutModemLinesReportsThemAssertedUnlessTheSeamSaysOtherwise) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    ScopedLineSeam seam(pty.slave_path);
    auto tty = open_ok(pty.slave_path, {}, false, true);
    InputLines lines;
    ASSERT_EQ(tty->input_lines(&lines), 0);
    EXPECT_TRUE(lines.cts && lines.dsr && lines.dcd);
    EXPECT_FALSE(lines.ri);

    seam->set_input(InputLine::Dcd, false);
    seam->set_input(InputLine::Ri, true);
    ASSERT_EQ(tty->input_lines(&lines), 0);
    EXPECT_FALSE(lines.dcd);
    EXPECT_TRUE(lines.ri);
}

TEST(Tty, SeamRecordsOpenLevelsThenOnlyRealChanges) {
    TestClock test_clock(1000);
    ScopedClock use(test_clock);
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    ScopedLineSeam seam(pty.slave_path);
    auto tty = open_ok(pty.slave_path, {}, false, true);
    test_clock.advance_us(500);
    EXPECT_EQ(tty->set_dtr(true), 0);
    EXPECT_EQ(tty->set_dtr(true), 0);  // already up: no change
    EXPECT_EQ(tty->set_break(true), 0);
    EXPECT_EQ(tty->set_break(false), 0);
    const std::vector<LineChange> expected{{OutputLine::Dtr, false, 1000},
                                           {OutputLine::Rts, true, 1000},
                                           {OutputLine::Dtr, true, 1500},
                                           {OutputLine::Break, true, 1500},
                                           {OutputLine::Break, false, 1500}};
    EXPECT_EQ(seam->changes(), expected);
}

TEST(Tty, CloseLeavesNoExclusiveModeOnADeviceOthersHold) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    open_ok(pty.slave_path).reset();
    // With TIOCEXCL left behind a plain user could no longer open it; as root
    // the flag is still visible through TIOCGEXCL.
    int excl = 1;
    ASSERT_EQ(ioctl(pty.held_slave, TIOCGEXCL, &excl), 0);
    EXPECT_EQ(excl, 0);
}

TEST(InputWait, StoppedClockIsMovedOnSoALongWaitEndsAtOnce) {
    TestClock test_clock;
    ScopedClock use(test_clock);
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    const std::int64_t deadline = 5'000'000;
    int steps = 0;
    while (test_clock.now_us() < deadline) {
        wait_step(pty.held_slave, false, deadline);
        ++steps;
    }
    EXPECT_EQ(test_clock.now_us(), deadline);  // never past it
    EXPECT_EQ(steps, 5'000'000 / kStepStoppedClockUs);
}

// A clock that runs by itself, a little at each look.
class RunningClock final : public Clock {
public:
    std::int64_t now_us() const override { return now_.fetch_add(100) + 100; }
    void sleep_us(std::int64_t) override { ++sleeps_; }
    int sleeps() const { return sleeps_.load(); }

private:
    mutable std::atomic<std::int64_t> now_{0};
    std::atomic<int> sleeps_{0};
};

TEST(InputWait, RunningClockIsNotMovedOnTop) {
    RunningClock running;
    ScopedClock use(running);
    wait_step(-1, false, 1'000'000'000);
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    wait_step(pty.held_slave, false, 1'000'000'000);
    EXPECT_EQ(running.sleeps(), 0);
}

}  // namespace
}  // namespace korv::platform::serial
