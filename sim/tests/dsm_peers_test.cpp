// The DSM ECU and the cable-1 box's trouble-code answers, seen from a raw
// serial port.
#include "platform/core/clock.h"
#include "platform/serial/tty.h"
#include "sim/core/cable1_box.h"
#include "sim/core/dsm_ecu.h"
#include "sim/tests/peer_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace korv::sim {
namespace {

using namespace std::chrono_literals;
using platform::serial::Tty;
using testing::Bytes;
using testing::open_at;
using testing::RunningProgram;

// With a test clock each empty look moves it on by a millisecond.
Bytes exchange(Tty& tty, const Bytes& request, std::size_t count, std::chrono::milliseconds real = 500ms,
               platform::TestClock* clock = nullptr) {
    return testing::write_and_read(tty, request, count, real, clock, 1000);
}

class DsmEcuLink : public ::testing::Test {
protected:
    void SetUp() override {
        ecu_.start();
        tty_ = open_at(ecu_.slave_path(), DsmEcu::kBaud);
    }
    DsmEcu ecu_;
    std::unique_ptr<Tty> tty_;
};

TEST_F(DsmEcuLink, AddressesGetEchoAndValueCommandsTheEchoAlone) {
    ecu_.set_value(0x21, 0x40);
    EXPECT_EQ(exchange(*tty_, {0x21}, 3, 100ms), (Bytes{0x21, 0x40}));
    EXPECT_EQ(exchange(*tty_, {0xF6}, 2, 100ms), (Bytes{0xF6}));
    EXPECT_EQ(exchange(*tty_, {0xFE}, 2, 100ms), (Bytes{0xFE}));
    ecu_.set_trouble_codes(0x8421);
    EXPECT_EQ(exchange(*tty_, {0x3B}, 2), (Bytes{0x3B, 0x84}));
    EXPECT_EQ(exchange(*tty_, {0x3C}, 2), (Bytes{0x3C, 0x21}));
}

TEST_F(DsmEcuLink, AnswersOfItsOwnUntilCleared) {
    ecu_.set_answer(0x21, {});
    EXPECT_TRUE(exchange(*tty_, {0x21}, 1, 100ms).empty());
    ecu_.set_answer(0x21, {0x00, 0x00, 0x21});
    EXPECT_EQ(exchange(*tty_, {0x21}, 3), (Bytes{0x00, 0x00, 0x21}));
    ecu_.clear_answer(0x21);
    EXPECT_EQ(exchange(*tty_, {0x21}, 2), (Bytes{0x21, ecu_.value(0x21)}));
}

TEST_F(DsmEcuLink, AnotherSpeedGarblesBothWays) {
    tty_.reset();
    auto fast = open_at(ecu_.slave_path(), 9600);
    // Both reply bytes are read, so the peer has sent (and counted) them.
    const Bytes got = exchange(*fast, {0xF6}, 2);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_NE(got[0], 0xF6);
    // Heard garbled, F6 reads as an address: echo and value go back garbled.
    EXPECT_EQ(ecu_.wrong_speed_bytes(), 3);
}

TEST(DsmEcuPacing, AnExchangeTakesThreeBytesOnTheWire) {
    platform::TestClock clock(1'000'000);
    platform::ScopedClock use(clock);
    DsmEcu ecu(Pacing::Wire);
    ecu.start();
    auto tty = open_at(ecu.slave_path(), DsmEcu::kBaud);
    const auto start = clock.now_us();
    EXPECT_EQ(exchange(*tty, {0x07}, 2, 2000ms, &clock), (Bytes{0x07, ecu.value(0x07)}));
    EXPECT_GE(clock.now_us() - start, 3 * 10'000'000 / DsmEcu::kBaud);
    ecu.stop();
}

TEST(Cable1BoxTroubleCodes, ListsThreeCodesAFrameAndClearsOnRequest) {
    Cable1Box box;
    box.car().set(0x01, {0x84, 0x07, 0x65, 0x00});
    box.trouble_codes().set({0x0143, 0x0301, 0x0420, 0xD123});
    box.start();
    auto tty = open_at(box.slave_path(), 19200, true, false);
    std::this_thread::sleep_for(std::chrono::microseconds(Cable1Box::kBootUs + 50'000));
    // Mode 01 PID 01 with link byte 01 brings the K-line up; then mode 03.
    EXPECT_EQ(exchange(*tty, {0x25, 0x01, 0x05, 0x68, 0x6A, 0xF1, 0x01, 0x01, 0, 0, 0, 0, 0, 0, 0xCB}, 14),
              (Bytes{0x25, 0x81, 0x48, 0x6B, 0x10, 0x41, 0x01, 0x84, 0x07, 0x65, 0x00, 0, 0, 0x76}));
    EXPECT_EQ(exchange(*tty, {0x25, 0x10, 0x05, 0x68, 0x6A, 0xF1, 0x03, 0x00, 0, 0, 0, 0, 0, 0, 0xDB}, 28),
              (Bytes{0x25, 0x81, 0x48, 0x6B, 0x10, 0x43, 0x01, 0x43, 0x03, 0x01, 0x04, 0x20, 0x00, 0xF3,
                     0x25, 0x81, 0x48, 0x6B, 0x10, 0x43, 0xD1, 0x23, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7B}));

    const Bytes clear{0x25, 0x01, 0x05, 0x68, 0x6A, 0xF1, 0x04, 0x00, 0, 0, 0, 0, 0, 0, 0xCD};
    box.trouble_codes().refuse_clear(true);
    EXPECT_EQ(exchange(*tty, clear, 14), (Bytes{0x25, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}));
    box.trouble_codes().refuse_clear(false);
    EXPECT_EQ(exchange(*tty, clear, 14), (Bytes{0x25, 0x81, 0x48, 0x6B, 0x10, 0x44, 0, 0, 0, 0, 0, 0, 0, 0x88}));
    EXPECT_TRUE(box.trouble_codes().codes().empty());
    // The light and the count went out with the codes.
    EXPECT_EQ(box.car().data(0x01), (Bytes{0x00, 0x07, 0x65, 0x00}));
}

TEST(DsmEcuProgram, PrintsItsSlavePathAndHasCodesStored) {
    RunningProgram program({KORV_SIM_DSM_PROGRAM, "--instant"});
    if (program.got_line()) {
        auto tty = open_at(program.slave_path(), DsmEcu::kBaud);
        EXPECT_EQ(exchange(*tty, {0x3C}, 2), (Bytes{0x3C, 0x21}));
    }
    const int status = program.stop();
    ASSERT_TRUE(program.got_line());
    EXPECT_EQ(program.slave_path().rfind("/dev/pts/", 0), 0u) << program.slave_path();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace korv::sim
