// The cable-2 engine end to end against the simulated K-line ECU.
#include "nativeio/core/result_codes.h"
#include "nativeio/core/sio.h"
#include "nativeio/tests/obd_run_fixture.h"
#include "sim/core/iso9141_ecu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <optional>
#include <thread>

namespace korv::korvio {
namespace {

using sim::Iso9141Ecu;
using sim::PeerOnPort;
using testing::dump_bytes;
using testing::HostEvent;
using testing::pause;
using testing::RecordingHost;
using testing::repeated;
using testing::status;
using testsupport::read_bytes;
using Frames = std::vector<std::vector<std::uint8_t>>;

// 68 6A F1 01 PID and the sum of the five (worked out by hand).
const std::vector<std::uint8_t> kRpm{0x68, 0x6A, 0xF1, 0x01, 0x0C, 0xD0};
const std::vector<std::uint8_t> kThrottle{0x68, 0x6A, 0xF1, 0x01, 0x11, 0xD5};

// Real time after which an engine that never waits on the clock counts as stuck.
constexpr std::chrono::seconds kStuck{10};
constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();

class Cable2Engine : public testing::ObdRunTest {
protected:
    int log(RecordingHost& h, const std::vector<int>& items, int port = 0) {
        return logdata(&h.host, port, 2, 2, items.data(), static_cast<int>(items.size()), 1);
    }
};

TEST_F(Cable2Engine, InitialisesTheLinkThenLogsThroughTheEcho) {
    PeerOnPort<Iso9141Ecu> ecu(0);
    RecordingHost h;
    h.stop_after_status(3);
    EXPECT_EQ(log(h, {9, 7}), 0);
    EXPECT_EQ(ecu->addresses_heard(), 1);
    EXPECT_EQ(ecu->inits_completed(), 1);
    // Every request was answered: none came before the ECU's minimum pause.
    EXPECT_EQ(ecu->requests(), repeated(Frames{kRpm, kThrottle}, 3));
    EXPECT_EQ(ecu->answers(), 6);
    EXPECT_EQ(h.events(), (std::vector<HostEvent>{status(2), status(4), status(6), pause(0)}));
    EXPECT_EQ(read_bytes("kvt1.tmp"),
              dump_bytes({9, 7}, repeated<std::vector<std::uint8_t>>({{9, 0x0C, 0x80}, {7, 0x00, 0x26}}, 3)));
}

TEST_F(Cable2Engine, WaitsForTheSecondKeyByteAndForTheSecondEcuToFinish) {
    // The key bytes W3 = 20 ms apart; a second ECU answers 40 ms after the first.
    PeerOnPort<Iso9141Ecu> ecu(0, sim::Pacing::Instant, sim::KLineTiming{.w3_us = 20'000}, sim::SecondEcu{});
    RecordingHost h;
    h.stop_after_status(3);
    EXPECT_EQ(log(h, {9, 7}), 0);
    EXPECT_EQ(ecu->inverted_keys_refused(), 0);
    EXPECT_EQ(ecu->inits_completed(), 1);
    // No request went out inside P3 of the second ECU's answer.
    EXPECT_EQ(ecu->requests(), repeated(Frames{kRpm, kThrottle}, 3));
    EXPECT_EQ(ecu->answers(), 6);
    EXPECT_EQ(ecu->second_answers(), 6);
    EXPECT_EQ(h.events(), (std::vector<HostEvent>{status(2), status(4), status(6), pause(0)}));
    EXPECT_EQ(read_bytes("kvt1.tmp"),
              dump_bytes({9, 7}, repeated<std::vector<std::uint8_t>>({{9, 0x0C, 0x80}, {7, 0x00, 0x26}}, 3)));
}

// In these two the engine's sleeps on the clock are held: time moves only
// when the test moves it, and only while the engine waits, so bytes land on
// the line at known times however slowly either thread runs.
TEST_F(Cable2Engine, AddressWaitsUntilTheLineIsQuietFor300Ms) {
    PeerOnPort<Iso9141Ecu> ecu(0);
    RecordingHost h;
    h.stop_after_status(1);
    clock_.hold_sleeps();
    int result = 99;
    std::thread run([&] { result = log(h, {1}); });
    // Somebody still talking: a byte every 100 ms for 400 ms.
    const std::int64_t last_chatter = clock_.now_us() + 400'000;
    std::int64_t next_byte_at = clock_.now_us();
    std::int64_t last_byte_at = 0;
    while (ecu->addresses_heard() == 0) {
        const std::optional<std::int64_t> wake_at = clock_.wait_for_sleeper(kStuck);
        if (!wake_at) break;
        if (clock_.now_us() >= next_byte_at) {
            ecu->put_on_line({0x00});
            last_byte_at = clock_.now_us();
            next_byte_at = next_byte_at < last_chatter ? next_byte_at + 100'000 : kNever;
        }
        clock_.set_us(std::min(*wake_at, next_byte_at));
    }
    clock_.release_sleeps();
    run.join();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ecu->addresses_heard(), 1);
    EXPECT_EQ(next_byte_at, kNever);
    EXPECT_GE(ecu->address_heard_at_us(), last_byte_at + 300'000);
}

TEST_F(Cable2Engine, LineThatNeverFallsQuietFailsTheExchange) {
    // The link outlasts the chatter, so the request after it is answered.
    // The ECU answers at once: the clock stands still while it does.
    PeerOnPort<Iso9141Ecu> ecu(0, sim::Pacing::Instant, sim::KLineTiming{.p2_us = 0, .p3_max_us = 60'000'000});
    RecordingHost h;
    h.stop_after_status(3);
    clock_.hold_sleeps();
    int result = 99;
    std::thread run([&] { result = log(h, {1}); });
    // Up to the first answer the clock moves as the engine's own sleeps
    // would move it, but never while the ECU has a request to answer.
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    std::optional<std::int64_t> wake_at;
    while ((wake_at = clock_.wait_for_sleeper(kStuck)) && ecu->answers() == 0 &&
           std::chrono::steady_clock::now() < give_up) {
        if (ecu->requests().empty())
            clock_.set_us(*wake_at);
        else
            std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    // A byte every 20 ms after the answer, through the 5 s the engine
    // listens for a quiet line, then on in steps until the engine asks again.
    const auto chatter_from = clock_.now_us();
    std::int64_t next_byte_at = chatter_from;
    while (wake_at && ecu->requests().size() < 2 && std::chrono::steady_clock::now() < give_up) {
        if (clock_.now_us() >= next_byte_at && next_byte_at < chatter_from + 5'000'000) {
            ecu->put_on_line({0x00});
            next_byte_at += 20'000;
        }
        clock_.advance_ms(20);
        wake_at = clock_.wait_for_sleeper(kStuck);
    }
    const auto asked_again_at = clock_.now_us();
    clock_.release_sleeps();
    run.join();
    EXPECT_EQ(result, 0);
    EXPECT_GE(asked_again_at - chatter_from, 4'900'000);
    // The exchange inside the chatter failed and was asked again; its sample was not kept.
    EXPECT_EQ(ecu->requests().size(), 4u);
    EXPECT_EQ(read_bytes("kvt1.tmp"), dump_bytes({1}, {{1, 0, 0x7B}, {1, 0, 0x7B}, {1, 0, 0x7B}}));
}

TEST_F(Cable2Engine, LeavingAPauseLongerThanTheLinkLastsInitialisesAgain) {
    PeerOnPort<Iso9141Ecu> ecu(0);
    RecordingHost h;
    h.on_status = [](RecordingHost& host, int calls) {
        if (calls == 1) host.set_flag(2);
        if (calls == 3) host.set_flag(0);
    };
    h.on_pause = [this](RecordingHost& host, int flag) {
        if (flag != 2) return;
        clock_.advance_ms(6000);  // the ECU drops the link after 5 s
        host.set_flag(1);
    };
    EXPECT_EQ(log(h, {1}), 0);
    EXPECT_EQ(ecu->inits_completed(), 2);
    EXPECT_EQ(ecu->answers(), 3);
    EXPECT_EQ(h.events(), (std::vector<HostEvent>{status(1), pause(2), pause(1), status(2), status(3), pause(0)}));
    EXPECT_EQ(read_bytes("kvt1.tmp"), dump_bytes({1}, {{1, 0, 0x7B}, {1, 0, 0x7B}, {1, 0, 0x7B}}));
}

TEST_F(Cable2Engine, StopDuringTheNewInitialisationEndsTheRun) {
    PeerOnPort<Iso9141Ecu> ecu(0);
    RecordingHost h;
    h.on_status = [](RecordingHost& host, int calls) {
        if (calls == 1) host.set_flag(2);
    };
    h.on_pause = [&](RecordingHost& host, int flag) {
        if (flag != 2) return;
        ecu->set_fault(sim::Fault::Silent);  // the link will not come back
        host.set_flag(1);
    };
    int result = 99;
    std::thread run([&] { result = log(h, {1}); });
    // Stop once the ECU has heard the address of the second initialisation.
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (ecu->addresses_heard() < 2 && std::chrono::steady_clock::now() < give_up)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    h.set_flag(0);
    run.join();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ecu->addresses_heard(), 2);  // no attempt after the stop
    EXPECT_EQ(h.events(), (std::vector<HostEvent>{status(1), pause(2), pause(1), pause(0)}));
    EXPECT_EQ(read_bytes("kvt1.tmp"), dump_bytes({1}, {{1, 0, 0x7B}}));
}

TEST_F(Cable2Engine, SilentEcuEndsTheRunWithATimeOut) {
    PeerOnPort<Iso9141Ecu> ecu(0);
    RecordingHost h;
    h.on_status = [&](RecordingHost&, int calls) {
        if (calls == 1) ecu->set_fault(sim::Fault::Silent);
    };
    EXPECT_EQ(log(h, {9}), kTimeOut);
    // One answered, then asked in vain until the cycle gives up (the ECU
    // may drop the link between the 5-s waits and stop counting).
    EXPECT_GE(ecu->requests().size(), 2u);
    EXPECT_EQ(read_bytes("kvt1.tmp"), dump_bytes({9}, {{9, 0x0C, 0x80}}));
}

TEST_F(Cable2Engine, LinkComesUpBeforeTheLookUpsAndTheProbeOnlyNeedsThePort) {
    PeerOnPort<Iso9141Ecu> ecu(0);
    const int items[] = {9};
    EXPECT_EQ(logdata(nullptr, 0, 2, 2, items, 1, 0), kStopFlagMissing);
    EXPECT_EQ(ecu->inits_completed(), 1);
    EXPECT_FALSE(std::filesystem::exists("kvt1.tmp"));
    RecordingHost h;
    h.host.update_pause = nullptr;
    EXPECT_EQ(log(h, {9}), kBadArgument);
    EXPECT_EQ(ecu->inits_completed(), 2);
    EXPECT_TRUE(ecu->requests().empty());

    EXPECT_EQ(logdata(nullptr, 0, 1, 2, items, 1, 0), 0);  // the port is open at 10400 baud
    EXPECT_EQ(logdata(nullptr, 6, 1, 2, items, 1, 0), kPortClosed);
}

TEST_F(Cable2Engine, FailedInitialisationEndsTheRunBeforeItsDump) {
    sim::ComPortBinding com(0, "/nonexistent/ttyKORV");
    RecordingHost h;
    EXPECT_EQ(log(h, {9}), kTimeOut);
    EXPECT_TRUE(h.events().empty());
    EXPECT_FALSE(std::filesystem::exists("kvt1.tmp"));
}

TEST_F(Cable2Engine, DemonstrationPortNeedsNoInitialisation) {
    RecordingHost h;
    h.stop_after_status(2);
    EXPECT_EQ(log(h, {9}, kDemoPort), 0);
    EXPECT_EQ(read_bytes("kvt1.tmp"), dump_bytes({9}, {{9, 0x00, 0x50}, {9, 0x00, 0x50}}));
}

}  // namespace
}  // namespace korv::korvio
