#include "sim/core/pms_peer.h"

#include "platform/serial/tty.h"
#include "sim/tests/peer_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <numeric>

namespace korv::sim {
namespace {

using namespace std::chrono_literals;
using platform::serial::Tty;
using testing::Bytes;
using testing::read_bytes;
using testing::RunningProgram;

// The unit wants both modem lines up.
std::unique_ptr<Tty> open_at(const std::string& path, int baud) { return testing::open_at(path, baud, true, true); }

// Frames built by hand: SOH, length, payload, check byte, CR.
Bytes command(const std::string& payload) {
    Bytes bytes{0x01, static_cast<std::uint8_t>(payload.size())};
    for (char c : payload) bytes.push_back(static_cast<std::uint8_t>(c));
    const unsigned sum = std::accumulate(bytes.begin(), bytes.end(), 0u);
    bytes.push_back(static_cast<std::uint8_t>((0x100 - sum % 0x100) % 0x100));
    bytes.push_back(0x0D);
    return bytes;
}

Bytes ask(Tty& tty, const Bytes& bytes, std::size_t expected, std::chrono::milliseconds timeout = 1s) {
    return testing::write_and_read(tty, bytes, expected, timeout);
}

class PmsUnit : public ::testing::Test {
protected:
    void SetUp() override {
        unit_.start();
        tty_ = open_at(unit_.slave_path(), 9600);
        ASSERT_TRUE(tty_);
    }
    PmsPeer unit_;
    std::unique_ptr<Tty> tty_;
};

TEST_F(PmsUnit, AnswersTheOpeningWithTheAwaitedLengths) {
    EXPECT_EQ(ask(*tty_, {0x0D}, 5).size(), 5u);
    const std::pair<std::string, std::size_t> exchanges[] = {
        {"IO", 15}, {"KORVIO-PMS", 7}, {"Q", 27}, {"DA7E0A7EF", 43}, {"DA7F0A7FF", 43}, {"DBFF2BFFD", 35}, {"L1", 7},
    };
    for (const auto& [payload, size] : exchanges) {
        const Bytes reply = ask(*tty_, command(payload), size);
        EXPECT_EQ(reply.size(), size) << payload;
        EXPECT_TRUE(read_bytes(*tty_, 1, 20ms).empty()) << payload << ": too long";
        if (reply.size() < 4) continue;
        // A frame of its own kind, then LF and the prompt.
        EXPECT_EQ(reply[0], 0x01) << payload;
        EXPECT_EQ(reply[1], size - 6) << payload;
        EXPECT_EQ(std::accumulate(reply.begin(), reply.end() - 3, 0u) % 256, 0u) << payload;
        EXPECT_EQ(Bytes(reply.end() - 3, reply.end()), (Bytes{0x0D, 0x0A, '>'})) << payload;
    }
    EXPECT_EQ(unit_.commands().size(), 7u);
}

TEST_F(PmsUnit, MemoryReadCarriesAddressAndHexBytes) {
    auto memory = PmsPeer::sample_memory();
    memory[0x10] = 0xAB;
    memory[0x1F] = 0x05;
    unit_.set_memory(memory);
    const Bytes reply = ask(*tty_, command("DA010A01F"), 43);
    ASSERT_EQ(reply.size(), 43u);
    const std::string text(reply.begin() + 3, reply.begin() + 39);
    EXPECT_EQ(text.substr(0, 6), "A010AB");
    EXPECT_EQ(text.substr(34), "05");
    EXPECT_EQ(std::accumulate(reply.begin(), reply.begin() + 40, 0u) % 256, 0u);
}

TEST_F(PmsUnit, SpoiltCommandFramesGetNoAnswer) {
    Bytes spoilt = command("DA000A00F");
    ++spoilt[11];
    EXPECT_TRUE(ask(*tty_, spoilt, 1, 100ms).empty());
    EXPECT_TRUE(unit_.commands().empty());
    // Noise between frames is passed over; the next frame is heard.
    EXPECT_EQ(ask(*tty_, Bytes{0x55, 0xAA}, 1, 50ms).size(), 0u);
    EXPECT_EQ(ask(*tty_, command("DA000A00F"), 43).size(), 43u);
}

TEST_F(PmsUnit, ReadFaultsLastTheirCount) {
    unit_.fail_reads(0xA000, PmsPeer::ReadFault::BadSum, 1);
    unit_.fail_reads(0xA010, PmsPeer::ReadFault::AllZero, 1);
    unit_.fail_reads(0xA020, PmsPeer::ReadFault::PreviousBlock, 1);
    unit_.fail_reads(0xA030, PmsPeer::ReadFault::Silent, PmsPeer::kForever);
    auto sum40 = [](const Bytes& r) { return std::accumulate(r.begin(), r.begin() + 40, 0u); };

    Bytes r = ask(*tty_, command("DA000A00F"), 43);
    ASSERT_EQ(r.size(), 43u);
    EXPECT_NE(sum40(r) % 256, 0u);
    r = ask(*tty_, command("DA000A00F"), 43);
    ASSERT_EQ(r.size(), 43u);
    EXPECT_EQ(sum40(r) % 256, 0u);

    r = ask(*tty_, command("DA010A01F"), 43);
    EXPECT_EQ(r, Bytes(43, 0x00));

    r = ask(*tty_, command("DA020A02F"), 43);
    ASSERT_EQ(r.size(), 43u);
    EXPECT_EQ(std::string(r.begin() + 3, r.begin() + 7), "A010");
    EXPECT_EQ(sum40(r) % 256, 0u);

    for (int i = 0; i < 3; ++i) EXPECT_TRUE(ask(*tty_, command("DA030A03F"), 1, 50ms).empty());
}

TEST(PmsUnitSpeed, GarblesTalkAtAnotherSpeed) {
    PmsPeer unit;
    unit.start();
    auto tty = open_at(unit.slave_path(), 19200);
    ASSERT_TRUE(tty);
    const Bytes frame = command("IO");
    ASSERT_EQ(tty->write(frame.data(), static_cast<int>(frame.size())), 6);
    ASSERT_TRUE(unit.wait_handled(6, 1s));
    EXPECT_TRUE(unit.commands().empty());
    EXPECT_EQ(unit.wrong_speed_bytes(), 6);
}

// The program prints its slave path and serves until it is told to stop.
TEST(PmsUnitProgram, PrintsItsSlavePathAndAnswersThere) {
    RunningProgram program({KORV_SIM_PMS_PROGRAM, "--instant"});
    Bytes reply;
    if (program.got_line())
        if (auto tty = open_at(program.slave_path(), 9600)) reply = ask(*tty, command("DA000A00F"), 43);
    const int status = program.stop();
    ASSERT_TRUE(program.got_line());
    EXPECT_EQ(reply.size(), 43u);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace korv::sim
