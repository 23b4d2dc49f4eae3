// The OBD-II peers seen from a raw serial port: what they answer, when,
// and what they ignore.
#include "platform/core/clock.h"
#include "platform/serial/tty.h"
#include "sim/core/cable0_box.h"
#include "sim/core/cable1_box.h"
#include "sim/core/cable3_box.h"
#include "sim/core/iso9141_ecu.h"
#include "sim/tests/peer_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <thread>

namespace korv::sim {
namespace {

using namespace std::chrono_literals;
using platform::serial::InputLines;
using platform::serial::LineSettings;
using platform::serial::Tty;
using testing::Bytes;
using testing::open_at;
using testing::read_bytes;
using testing::RunningProgram;

void write(Tty& tty, const Bytes& bytes) {
    ASSERT_EQ(tty.write(bytes.data(), static_cast<int>(bytes.size())), static_cast<int>(bytes.size()));
}

bool dcd(Tty& tty) {
    InputLines lines;
    EXPECT_EQ(tty.input_lines(&lines), 0);
    return lines.dcd;
}

// Waits for the box to raise carrier, which it does on its own thread; the
// bound only keeps a broken box from hanging the test.
bool carrier_comes(Tty& tty) {
    const auto give_up = std::chrono::steady_clock::now() + 20s;
    while (!dcd(tty) && std::chrono::steady_clock::now() < give_up) std::this_thread::sleep_for(1ms);
    return dcd(tty);
}

TEST(Garbling, UngarbledUndoesIt) {
    for (int b = 0; b < 256; ++b) EXPECT_EQ(ungarbled(garbled(static_cast<std::uint8_t>(b))), b);
}

TEST(ObdCar, KLineAnswerEndsWithTheSumOfItsBytes) {
    ObdCar car;
    EXPECT_EQ(car.kline_answer(0x0C), (Bytes{0x48, 0x6B, 0x10, 0x41, 0x0C, 0x0C, 0x80, 0x9C}));
    car.remove(0x0C);
    EXPECT_FALSE(car.kline_answer(0x0C).has_value());
}

TEST(Cable0Box, RunsOnDtrAndAnswersTheLastOfTwoQuickRequests) {
    // The box's turn-around passes on a test clock that stands still until
    // the test moves it: the two requests are quick however the threads run.
    platform::TestClock clock{1'000'000'000};
    platform::ScopedClock use_clock{clock};
    Cable0Box box;
    box.start();
    auto off = open_at(box.slave_path(), 19200, /*dtr=*/false);
    write(*off, {0x0C});
    ASSERT_TRUE(box.wait_handled(1, 20s));
    EXPECT_TRUE(read_bytes(*off, 1, 100ms, &clock).empty());
    EXPECT_FALSE(dcd(*off));
    ASSERT_EQ(off->set_dtr(true), 0);
    EXPECT_TRUE(carrier_comes(*off));
    write(*off, {0x05});
    write(*off, {0x0C});
    ASSERT_TRUE(box.wait_handled(3, 20s));
    EXPECT_EQ(read_bytes(*off, 4, 200ms, &clock), (Bytes{0x0C, 0x0C, 0x80}));
    EXPECT_EQ(box.answers(), 1);
}

TEST(Cable1Box, TellsItsKeywordAndWantsTheKLineBroughtUpFirst) {
    Cable1Box box;
    box.start();
    auto tty = open_at(box.slave_path(), 19200, true, false);
    std::this_thread::sleep_for(std::chrono::microseconds(Cable1Box::kBootUs + 50'000));
    // Link byte 10 while the K-line is down: no data.
    write(*tty, {0x25, 0x10, 0x05, 0x68, 0x6A, 0xF1, 0x01, 0x0C, 0, 0, 0, 0, 0, 0, 0xE5});
    EXPECT_EQ(read_bytes(*tty, 14), (Bytes{0x25, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}));
    // A wrong check: the keyword of the K-line.
    write(*tty, {0x25, 0x01, 0x05, 0x68, 0x6A, 0xF1, 0x01, 0x0C, 0, 0, 0, 0, 0, 0, 0x00});
    EXPECT_EQ(read_bytes(*tty, 14), (Bytes{0x25, 0x80, 0x08, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x88}));
    // Link byte 01 brings it up: reply id, the ECU's answer, zeros, check.
    write(*tty, {0x25, 0x01, 0x05, 0x68, 0x6A, 0xF1, 0x01, 0x0C, 0, 0, 0, 0, 0, 0, 0xD6});
    EXPECT_EQ(read_bytes(*tty, 14), (Bytes{0x25, 0x81, 0x48, 0x6B, 0x10, 0x41, 0x0C, 0x0C, 0x80, 0, 0, 0, 0, 0x1D}));
    EXPECT_EQ(box.kline_inits(), 1);
}

TEST(Cable1Box, SendsStrayBytesAheadOfItsCodesAndChattersUntilTheNextFrame) {
    platform::TestClock clock{1'000'000'000};
    platform::ScopedClock use_clock{clock};
    Cable1Box box;
    box.trouble_codes().set({0x0143});
    box.send_before_codes({0xFF, 0x00});
    box.chatter(100'000, 5);
    box.start();
    auto tty = open_at(box.slave_path(), 19200, true, false);
    clock.advance_us(Cable1Box::kBootUs);
    const Bytes codes{0x25, 0x81, 0x48, 0x6B, 0x10, 0x43, 0x01, 0x43, 0, 0, 0, 0, 0, 0xCB};
    write(*tty, {0x25, 0x01, 0x05, 0x68, 0x6A, 0xF1, 0x03, 0x00, 0, 0, 0, 0, 0, 0, 0xCC});
    Bytes first{0xFF, 0x00};
    first.insert(first.end(), codes.begin(), codes.end());
    EXPECT_EQ(read_bytes(*tty, 16, 1s, &clock), first);
    // The repeats come without the stray bytes, until the box hears a frame.
    EXPECT_EQ(read_bytes(*tty, 14, 1s, &clock), codes);
    write(*tty, {0x25, 0x01, 0x05, 0x68, 0x6A, 0xF1, 0x01, 0x0C, 0, 0, 0, 0, 0, 0, 0x00});
    EXPECT_EQ(read_bytes(*tty, 14, 1s, &clock), (Bytes{0x25, 0x80, 0x08, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x88}));
    EXPECT_TRUE(read_bytes(*tty, 1, 200ms, &clock, 50'000).empty());
}

TEST(Cable3Box, AnswersOnlyOnceSetUpAndAsksForEachCommandByCarrier) {
    Cable3Box box;
    box.start();
    auto tty = open_at(box.slave_path(), 19200, /*dtr=*/false);
    const Bytes rpm{0x06, 0x68, 0x6A, 0xF1, 0x01, 0x0C, 0xD0};
    write(*tty, rpm);
    EXPECT_TRUE(read_bytes(*tty, 1, 100ms).empty());
    for (const auto& command : Cable3Box::kSetUpCommands) {
        ASSERT_EQ(tty->set_dtr(false), 0);
        ASSERT_EQ(tty->set_dtr(true), 0);
        write(*tty, {command[0], command[1]});
        ASSERT_TRUE(carrier_comes(*tty));
        write(*tty, Bytes(command.begin() + 2, command.end()));
    }
    ASSERT_TRUE(box.wait_handled(7 + 27, 20s));
    EXPECT_TRUE(box.set_up());
    write(*tty, rpm);
    EXPECT_EQ(read_bytes(*tty, 9, 20s), (Bytes{0x08, 0x48, 0x6B, 0x10, 0x41, 0x0C, 0x0C, 0x80, 0x9C}));
}

class Iso9141EcuLink : public ::testing::Test {
protected:
    explicit Iso9141EcuLink(KLineTiming timing = {}, std::optional<SecondEcu> second = std::nullopt)
        : ecu_(Pacing::Instant, timing, second) {}

    platform::TestClock clock_{1'000'000'000};
    platform::ScopedClock use_{clock_};
    Iso9141Ecu ecu_;
    std::unique_ptr<Tty> tty_;

    void SetUp() override {
        ecu_.start();
        tty_ = open_at(ecu_.slave_path(), 5, false, false);
    }
    void set_speed(int baud) {
        LineSettings settings;
        settings.baud = baud;
        ASSERT_EQ(tty_->apply(settings), 0);
    }
    Bytes read(std::size_t count) { return read_bytes(*tty_, count, 2000ms, &clock_); }
    // Waits on the clock for anything more to come.
    Bytes silence() { return read_bytes(*tty_, 1, 300ms, &clock_); }

    void initialise() {
        write(*tty_, {0x33});
        ASSERT_EQ(read(1), Bytes{0x33});  // the line's own echo
        set_speed(10400);
        ASSERT_EQ(read(3), (Bytes{0x55, 0x08, 0x08}));
        clock_.advance_ms(30);  // W4
        write(*tty_, {0xF7});
        // The echo off the clock, so the ECU hears the F7 when it was sent.
        ASSERT_EQ(read_bytes(*tty_, 1), Bytes{0xF7});
        ASSERT_EQ(read(1), Bytes{0xCC});
    }
};

// A second ECU on the line, and the key bytes the longest W3 apart.
class TwoEcuLink : public Iso9141EcuLink {
protected:
    TwoEcuLink() : Iso9141EcuLink(KLineTiming{.w3_us = 20'000}, SecondEcu{}) {}
};

TEST_F(TwoEcuLink, SecondEcuAnswersAfterTheFirstAndP3CountsFromItsAnswer) {
    initialise();
    clock_.advance_ms(100);
    const Bytes request{0x68, 0x6A, 0xF1, 0x01, 0x0C, 0xD0};
    write(*tty_, request);
    // The clock moves only here, so the answers come at known times.
    EXPECT_EQ(read_bytes(*tty_, 6), request);
    clock_.advance_us(ecu_.timing().p2_us);
    EXPECT_EQ(read_bytes(*tty_, 8), (Bytes{0x48, 0x6B, 0x10, 0x41, 0x0C, 0x0C, 0x80, 0x9C}));
    const auto first_at = clock_.now_us();
    clock_.advance_ms(24);
    EXPECT_TRUE(read_bytes(*tty_, 1, 50ms).empty());
    clock_.set_us(first_at + 50'000);
    EXPECT_EQ(read_bytes(*tty_, 8), (Bytes{0x48, 0x6B, 0x18, 0x41, 0x0C, 0x0C, 0x80, 0xA4}));

    // 60 ms after the first answer, but inside P3 of the second: ignored by both.
    clock_.set_us(first_at + 60'000);
    write(*tty_, request);
    EXPECT_EQ(read_bytes(*tty_, 6), request);
    EXPECT_TRUE(silence().empty());
    EXPECT_EQ(ecu_.answers(), 1);
    EXPECT_EQ(ecu_.second_answers(), 1);

    clock_.advance_ms(100);
    write(*tty_, request);
    EXPECT_EQ(read(6 + 8 + 8).size(), 22u);
    EXPECT_EQ(ecu_.answers(), 2);
    EXPECT_EQ(ecu_.second_answers(), 2);
}

TEST_F(TwoEcuLink, InvertedKeyOnlyInsideW4AfterTheSecondKeyByte) {
    const auto bring_up_to_first_key = [&] {
        set_speed(5);
        write(*tty_, {0x33});
        ASSERT_EQ(read(1), Bytes{0x33});
        set_speed(10400);
        ASSERT_EQ(read(2), (Bytes{0x55, 0x08}));
    };
    // Before the second key byte: the ECU waits out W3 (20 ms), so the
    // F7 written at once is on the line first.
    bring_up_to_first_key();
    write(*tty_, {0xF7});
    EXPECT_EQ(read(2), (Bytes{0x08, 0xF7}));  // the second key byte, then the F7's echo
    EXPECT_TRUE(read_bytes(*tty_, 1, 300ms).empty());
    EXPECT_EQ(ecu_.inverted_keys_refused(), 1);
    EXPECT_FALSE(ecu_.linked());

    struct Case {
        int after_ms;
        bool answered;
    };
    for (const Case& c : {Case{10, false}, Case{60, false}, Case{30, true}}) {
        SCOPED_TRACE(c.after_ms);
        bring_up_to_first_key();
        ASSERT_EQ(read(1), Bytes{0x08});
        clock_.advance_ms(c.after_ms);
        write(*tty_, {0xF7});
        // Read off the clock, so the ECU hears the F7 when it was sent.
        EXPECT_EQ(read_bytes(*tty_, 1), Bytes{0xF7});
        if (c.answered) {
            EXPECT_EQ(read(1), Bytes{0xCC});
        } else {
            EXPECT_TRUE(read_bytes(*tty_, 1, 300ms).empty());
        }
        EXPECT_EQ(ecu_.linked(), c.answered);
    }
    EXPECT_EQ(ecu_.inverted_keys_refused(), 3);
    EXPECT_EQ(ecu_.inits_completed(), 1);
}

TEST_F(Iso9141EcuLink, InitialisesAtFiveBaudAndAnswersAfterP2) {
    initialise();
    EXPECT_TRUE(ecu_.linked());
    clock_.advance_ms(100);
    const Bytes request{0x68, 0x6A, 0xF1, 0x01, 0x0C, 0xD0};
    write(*tty_, request);
    const auto sent_at = clock_.now_us();
    EXPECT_EQ(read(6), request);  // the echo
    EXPECT_EQ(read(8), (Bytes{0x48, 0x6B, 0x10, 0x41, 0x0C, 0x0C, 0x80, 0x9C}));
    EXPECT_GE(clock_.now_us() - sent_at, ecu_.timing().p2_us);
}

TEST_F(Iso9141EcuLink, IgnoresARequestSoonerThanP3AndDropsTheLinkAfterFiveSeconds) {
    initialise();
    const Bytes request{0x68, 0x6A, 0xF1, 0x01, 0x05, 0xC9};
    write(*tty_, request);  // right after the CC
    EXPECT_EQ(read(6), request);
    EXPECT_TRUE(silence().empty());
    EXPECT_EQ(ecu_.answers(), 0);

    clock_.advance_ms(100);
    write(*tty_, request);
    EXPECT_EQ(read(6 + 7).size(), 13u);
    EXPECT_EQ(ecu_.answers(), 1);

    clock_.advance_ms(5100);
    write(*tty_, request);
    EXPECT_EQ(read(6), request);
    EXPECT_TRUE(silence().empty());
    EXPECT_FALSE(ecu_.linked());
}

TEST_F(Iso9141EcuLink, AddressAtAnotherSpeedIsOnlyEchoed) {
    set_speed(9600);
    write(*tty_, {0x33});
    EXPECT_EQ(read(1), Bytes{0x33});
    EXPECT_TRUE(silence().empty());
    EXPECT_EQ(ecu_.addresses_heard(), 0);
}

// Each program prints its slave path and serves there until told to stop.
class ObdPeerProgram : public ::testing::TestWithParam<const char*> {};

TEST_P(ObdPeerProgram, PrintsItsSlavePathAndServes) {
    RunningProgram program({GetParam(), "--instant"});
    const int status = program.stop();
    ASSERT_TRUE(program.got_line());
    EXPECT_EQ(program.slave_path().rfind("/dev/pts/", 0), 0u) << program.slave_path();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

INSTANTIATE_TEST_SUITE_P(All, ObdPeerProgram,
                         ::testing::Values(KORV_SIM_CABLE0_PROGRAM, KORV_SIM_CABLE1_PROGRAM, KORV_SIM_CABLE3_PROGRAM,
                                           KORV_SIM_ISO9141_PROGRAM));

}  // namespace
}  // namespace korv::sim
