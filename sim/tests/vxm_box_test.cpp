// The data-logger box seen from a raw serial port at 1953 baud.
#include "platform/core/clock.h"
#include "platform/serial/tty.h"
#include "sim/core/vxm_box.h"
#include "sim/tests/peer_test_support.h"

#include <gtest/gtest.h>

#include <chrono>

namespace korv::sim {
namespace {

using namespace std::chrono_literals;
using platform::serial::Tty;
using testing::Bytes;
using testing::open_at;
using testing::RunningProgram;

Bytes exchange(Tty& tty, const Bytes& request, std::size_t count, std::chrono::milliseconds real = 500ms) {
    return testing::write_and_read(tty, request, count, real);
}

class VxmBoxLink : public ::testing::Test {
protected:
    void SetUp() override {
        box_.start();
        tty_ = open_at(box_.slave_path(), VxmBox::kBaud);
    }
    // The answer of the expected length, and whatever follows at once, so
    // that a longer answer shows.
    Bytes ask(std::uint8_t byte, std::size_t expected) {
        Bytes got = exchange(*tty_, {byte}, expected, 1000ms);
        const Bytes more = testing::read_bytes(*tty_, 1, expected == 0 ? 100ms : 30ms);
        got.insert(got.end(), more.begin(), more.end());
        return got;
    }

    VxmBox box_;
    std::unique_ptr<Tty> tty_;
};

TEST_F(VxmBoxLink, ProbeByteTellsThePowerAndTheEcu) {
    box_.set_state(BoxState::Silent);
    EXPECT_EQ(ask(0xFF, 0), Bytes{});
    box_.set_state(BoxState::EchoOnly);
    EXPECT_EQ(ask(0xFF, 1), (Bytes{0xFF}));
    box_.set_state(BoxState::Working);
    EXPECT_EQ(ask(0xFF, 2), (Bytes{0xFF, 0x22}));
}

TEST_F(VxmBoxLink, RequestsGetOneDataByteAndD0ToDfTwo) {
    box_.ecu().set_value(0x21, 0x40);
    box_.ecu().set_trouble_codes(0x8001);
    box_.set_wide_value(0xD0, 0x0312);
    EXPECT_EQ(ask(0x21, 2), (Bytes{0x21, 0x40}));
    EXPECT_EQ(ask(0x3B, 2), (Bytes{0x3B, 0x80}));
    EXPECT_EQ(ask(0x3C, 2), (Bytes{0x3C, 0x01}));
    EXPECT_EQ(ask(0xFE, 2), (Bytes{0xFE, 0xE0}));
    EXPECT_EQ(ask(0xC1, 2), (Bytes{0xC1, 0x00}));
    EXPECT_EQ(ask(0xD0, 3), (Bytes{0xD0, 0x03, 0x12}));
    EXPECT_EQ(ask(0xDF, 3), (Bytes{0xDF, 0x00, 0x00}));
    EXPECT_EQ(ask(0x55, 2), (Bytes{0x55, 0x80}));
    // Without an ECU the box still answers for itself.
    box_.set_state(BoxState::EchoOnly);
    EXPECT_EQ(ask(0x21, 1), (Bytes{0x21}));
    EXPECT_EQ(ask(0xD0, 3), (Bytes{0xD0, 0x03, 0x12}));
}

TEST_F(VxmBoxLink, FramedWritesSetRegistersWhateverTheBytes) {
    // On the test clock a slow machine cannot open a gap inside a frame.
    platform::TestClock clock(1'000'000);
    platform::ScopedClock use(clock);
    struct Case {
        std::uint8_t a, b;
    };
    // b = E0 and b in D0-DF are answered like any frame byte; a that is no
    // register is taken and changes nothing.
    for (const Case& c : {Case{0x5A, 0xF6}, Case{0x55, 0xE0}, Case{0x5F, 0xD3}, Case{0x21, 0x01}, Case{0xE0, 0xE0}}) {
        for (std::uint8_t byte : {std::uint8_t{0xE0}, c.a, c.b, std::uint8_t{0xE1}})
            EXPECT_EQ(ask(byte, 2), (Bytes{byte, byte})) << int(c.a) << " " << int(c.b);
    }
    EXPECT_EQ(box_.frames_written(), 5);
    EXPECT_EQ(box_.register_value(0x5A), 0xF6);
    EXPECT_EQ(box_.register_value(0x55), 0xE0);
    EXPECT_EQ(box_.register_value(0x5F), 0xD3);
    EXPECT_EQ(box_.ecu().value(0x21), 0x1A);
    EXPECT_EQ(ask(0x5A, 2), (Bytes{0x5A, 0xF6}));
}

TEST_F(VxmBoxLink, BrokenOrAbandonedFrameStartsOver) {
    platform::TestClock clock(1'000'000);
    platform::ScopedClock use(clock);
    // No E1 where it belongs: that byte is a request of its own.
    for (std::uint8_t byte : {0xE0, 0x56, 0x10}) ask(byte, 2);
    EXPECT_EQ(ask(0x57, 2), (Bytes{0x57, 0x80}));
    EXPECT_EQ(box_.register_value(0x56), 0x80);
    // The PC gave up after E0 and a: the next E0 opens a new frame.
    ask(0xE0, 2);
    ask(0x56, 2);
    clock.advance_us(VxmBox::kFrameGapUs + 1);
    for (std::uint8_t byte : {0xE0, 0x57, 0x10, 0xE1}) EXPECT_EQ(ask(byte, 2), (Bytes{byte, byte}));
    EXPECT_EQ(box_.register_value(0x57), 0x10);
    EXPECT_EQ(box_.register_value(0x56), 0x80);
    box_.stop();  // before the test clock goes
}

TEST_F(VxmBoxLink, ActuatorCommandsRunThreeSecondsOrAreRefused) {
    platform::TestClock clock(1'000'000);
    platform::ScopedClock use(clock);
    EXPECT_EQ(ask(0xF6, 1), (Bytes{0xF6}));
    clock.advance_us(VxmBox::kCommandRunUs - 1);
    EXPECT_EQ(ask(0xF6, 1), (Bytes{0xF6}));
    clock.advance_us(1);
    EXPECT_EQ(ask(0xF6, 2), (Bytes{0xF6, VxmBox::kCommandDone}));
    // Clearing the codes clears the ECU's code word once done.
    box_.ecu().set_trouble_codes(0x0021);
    EXPECT_EQ(ask(0xCA, 1), (Bytes{0xCA}));
    clock.advance_us(VxmBox::kCommandRunUs);
    EXPECT_EQ(ask(0xCA, 2), (Bytes{0xCA, VxmBox::kCommandDone}));
    EXPECT_EQ(box_.ecu().trouble_codes(), 0);
    // Refused: a full answer at once. Without an ECU: the echo for ever.
    box_.refuse_commands(true);
    EXPECT_EQ(ask(0xF7, 2), (Bytes{0xF7, VxmBox::kCommandRefused}));
    box_.refuse_commands(false);
    box_.set_state(BoxState::EchoOnly);
    ask(0xF7, 1);
    clock.advance_us(10 * VxmBox::kCommandRunUs);
    EXPECT_EQ(ask(0xF7, 1), (Bytes{0xF7}));
    box_.stop();  // before the test clock goes
}

TEST(VxmBoxPacing, ExchangesTakeTheirBytesTimeOnTheWire) {
    platform::TestClock clock(1'000'000);
    platform::ScopedClock use(clock);
    VxmBox box(Pacing::Wire);
    box.start();
    auto tty = open_at(box.slave_path(), VxmBox::kBaud);
    constexpr std::int64_t kByteUs = 10'000'000 / VxmBox::kBaud;
    auto start = clock.now_us();
    EXPECT_EQ(testing::write_and_read(*tty, {0x07}, 2, 2000ms, &clock, 1000), (Bytes{0x07, 0x50}));
    EXPECT_GE(clock.now_us() - start, 3 * kByteUs);
    start = clock.now_us();
    EXPECT_EQ(testing::write_and_read(*tty, {0xD0}, 3, 2000ms, &clock, 1000).size(), 3u);
    EXPECT_GE(clock.now_us() - start, 4 * kByteUs);
    box.stop();
}

TEST(VxmBoxProgram, PrintsItsSlavePathAndAnswersTheProbe) {
    RunningProgram program({KORV_SIM_VXMBOX_PROGRAM, "--instant"});
    if (program.got_line()) {
        auto tty = open_at(program.slave_path(), VxmBox::kBaud);
        EXPECT_EQ(exchange(*tty, {0xFF}, 2), (Bytes{0xFF, 0x22}));
        EXPECT_EQ(exchange(*tty, {0x3C}, 2), (Bytes{0x3C, 0x21}));
    }
    const int status = program.stop();
    ASSERT_TRUE(program.got_line());
    EXPECT_EQ(program.slave_path().rfind("/dev/pts/", 0), 0u) << program.slave_path();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace korv::sim
