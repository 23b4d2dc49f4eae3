// One-off line faults as a program sees them, and the lockstep clock that
// lets the program and a device keep exact time on a loaded machine.
#include "sim/core/line_glitch.h"

#include "platform/core/clock.h"
#include "platform/serial/input_wait.h"
#include "platform/serial/tty.h"
#include "sim/core/cable0_box.h"
#include "sim/core/lockstep.h"
#include "sim/core/scripted_peer.h"
#include "sim/tests/peer_test_support.h"

#include <gtest/gtest.h>

#include <thread>

namespace korv::sim {
namespace {

using testing::Bytes;

TEST(LineGlitchText, TypedLinesArmTheirGlitch) {
    struct Case {
        const char* line;
        Glitch kind;
        std::int64_t duration_us;
        std::uint8_t stray;
        int after;
    } cases[] = {
        {"stall 1500", Glitch::Stall, 1'500'000, LineGlitch::kDefaultStray, 0},
        {"  late 150\r\n", Glitch::Late, 150'000, LineGlitch::kDefaultStray, 0},
        {"drop after 12", Glitch::Drop, 0, LineGlitch::kDefaultStray, 12},
        {"stray-mid", Glitch::StrayMid, 0, LineGlitch::kDefaultStray, 0},
        {"stray-between a5 after 3", Glitch::StrayBetween, 0, 0xA5, 3},
    };
    for (const Case& c : cases) {
        const auto glitch = parse_glitch(c.line);
        ASSERT_TRUE(glitch) << c.line;
        EXPECT_EQ(glitch->kind, c.kind) << c.line;
        EXPECT_EQ(glitch->duration_us, c.duration_us) << c.line;
        EXPECT_EQ(glitch->stray, c.stray) << c.line;
        EXPECT_EQ(glitch->after_answers, c.after) << c.line;
        EXPECT_EQ(parse_glitch(describe(*glitch))->kind, c.kind) << "described as it is typed";
    }
    for (const char* refused : {"", "stall", "stall -5", "stall 1.5", "late x", "drop 3", "stray-mid 1FF",
                                "stray-mid 3C 4", "after 3", "drop after", "drop after -1", "hiccup"})
        EXPECT_FALSE(parse_glitch(refused)) << refused;
}

// Answers each byte with itself and the next two up.
ScriptedPeer::ByteHandler answer_three() {
    return [](ScriptedPeer& peer, std::uint8_t byte) {
        peer.reply({byte, static_cast<std::uint8_t>(byte + 1), static_cast<std::uint8_t>(byte + 2)});
    };
}

struct Glitched : ::testing::Test {
    platform::TestClock clock;
    platform::ScopedClock scoped{clock};
    ScriptedPeer device{PeerOptions{9600}, answer_three()};
    std::unique_ptr<platform::serial::Tty> tty;

    void SetUp() override {
        device.start();
        tty = testing::open_at(device.slave_path(), 9600);
        ASSERT_TRUE(tty);
    }
    Bytes ask(std::uint8_t byte, std::size_t count) {
        return testing::write_and_read(*tty, {byte}, count, std::chrono::milliseconds(2000), &clock);
    }
};

TEST_F(Glitched, EachGlitchSpoilsOneAnswerOnly) {
    struct Case {
        LineGlitch glitch;
        Bytes spoilt;
    } cases[] = {
        {{Glitch::Drop}, {0x10, 0x12}},
        {{Glitch::StrayMid, 0, 0x3C}, {0x10, 0x3C, 0x11, 0x12}},
        {{Glitch::StrayBetween, 0, 0x77}, {0x77, 0x10, 0x11, 0x12}},
        {{Glitch::Late, 20'000}, {0x10, 0x11, 0x12}},
    };
    for (const Case& c : cases) {
        device.inject(c.glitch);
        EXPECT_EQ(ask(0x10, c.spoilt.size()), c.spoilt) << describe(c.glitch);
        EXPECT_EQ(ask(0x20, 3), (Bytes{0x20, 0x21, 0x22})) << describe(c.glitch) << ": the next answer is whole";
        EXPECT_EQ(device.glitches_pending(), 0);
    }
}

TEST_F(Glitched, AGlitchCanWaitForLaterAnswers) {
    device.inject({Glitch::Drop, 0, 0, 2});
    EXPECT_EQ(ask(0x10, 3), (Bytes{0x10, 0x11, 0x12}));
    EXPECT_EQ(ask(0x20, 3), (Bytes{0x20, 0x21, 0x22}));
    EXPECT_EQ(device.glitches_pending(), 1);
    EXPECT_EQ(ask(0x30, 2), (Bytes{0x30, 0x32}));
}

// The program's side of one exchange, timed on the clock: the request
// goes out, then each byte is stamped as it is read; a wait gives up
// after 200 ms without a byte.
struct Stamped {
    Bytes bytes;
    std::vector<std::int64_t> at_us;
};

Stamped exchange(platform::serial::Tty& tty, std::uint8_t request, std::size_t count) {
    Stamped got;
    EXPECT_EQ(tty.write(&request, 1), 1);
    auto& clock = platform::clock();
    std::int64_t deadline = clock.now_us() + 200'000;
    while (got.bytes.size() < count && clock.now_us() < deadline) {
        std::uint8_t byte;
        if (tty.read(&byte, 1) == 1) {
            got.bytes.push_back(byte);
            got.at_us.push_back(clock.now_us());
            deadline = clock.now_us() + 200'000;
            continue;
        }
        platform::serial::wait_step(tty.fd(), false, deadline);
    }
    return got;
}

TEST(Lockstep, ADeviceOnTheWireKeepsExactTimeHoweverSlowItsThreadRuns) {
    platform::TestClock clock(1'000'000);
    platform::ScopedClock scoped(clock);
    // The device's thread dawdles in real time before each answer: a
    // starved thread on a loaded machine.
    ScriptedPeer device(PeerOptions{9600, Pacing::Wire}, [](ScriptedPeer& peer, std::uint8_t byte) {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        peer.reply({byte, static_cast<std::uint8_t>(byte + 1), static_cast<std::uint8_t>(byte + 2)});
    });
    device.start();
    auto tty = testing::open_at(device.slave_path(), 9600);
    ASSERT_TRUE(tty);
    device.inject({Glitch::Stall, 150'000});

    Lockstep lockstep(clock, {&device});
    const Stamped stalled = lockstep.run([&] { return exchange(*tty, 0x40, 3); });
    const Stamped whole = lockstep.run([&] { return exchange(*tty, 0x50, 3); });

    // 10 bits a byte at 9600 baud: 1041 us each, counted on the clock alone.
    constexpr std::int64_t kByteUs = 10'000'000 / 9600;
    ASSERT_EQ(stalled.bytes, (Bytes{0x40, 0x41, 0x42}));
    EXPECT_EQ(stalled.at_us[0], 1'000'000 + kByteUs);
    EXPECT_EQ(device.line_back_at_us(), stalled.at_us[0] + 150'000);
    EXPECT_EQ(stalled.at_us[1], device.line_back_at_us() + kByteUs) << "the rest came as soon as the stall was over";
    EXPECT_EQ(stalled.at_us[2], stalled.at_us[1] + kByteUs);
    ASSERT_EQ(whole.bytes, (Bytes{0x50, 0x51, 0x52}));
    for (std::size_t i = 1; i < 3; ++i) EXPECT_EQ(whole.at_us[i] - whole.at_us[i - 1], kByteUs);
}

TEST(Lockstep, ABoxAnsweringFromAThreadOfItsOwnKeepsExactTimeAnswerAfterAnswer) {
    platform::TestClock clock(1'000'000);
    platform::ScopedClock scoped(clock);
    Cable0Box box(Pacing::Wire);
    box.start();
    auto tty = testing::open_at(box.slave_path(), Cable0Box::kBaud);  // DTR on: the box is powered
    ASSERT_TRUE(tty);
    // The throttle's answer: echo, data, padding.
    const Bytes throttle{0x11, 0x26, 0x00};

    Lockstep lockstep(clock, {&box});
    constexpr std::int64_t kByteUs = 10'000'000 / Cable0Box::kBaud;
    // Request, turn-around, three bytes: the box's thread sends each one
    // only when the clock lets it, and the clock moves only when both wait.
    constexpr std::int64_t kExchangeUs = kByteUs + Cable0Box::kDefaultTurnaroundUs + 3 * kByteUs;
    for (int i = 0; i < 200; ++i) {
        const std::int64_t asked_at = clock.now_us();
        const Stamped answer = lockstep.run([&] { return exchange(*tty, 0x11, 3); });
        ASSERT_EQ(answer.bytes, throttle) << "exchange " << i;
        EXPECT_EQ(answer.at_us.back() - asked_at, kExchangeUs) << "exchange " << i;
    }
}

}  // namespace
}  // namespace korv::sim
