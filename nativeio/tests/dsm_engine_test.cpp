// The DSM logging engine end to end against the simulated ECU at 1953 baud.
#include "nativeio/core/dsm_engine.h"
#include "nativeio/core/result_codes.h"
#include "nativeio/core/sio.h"
#include "nativeio/tests/obd_run_fixture.h"
#include "sim/core/dsm_ecu.h"
#include "sim/core/lockstep.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <future>
#include <memory>
#include <optional>
#include <thread>

namespace korv::korvio {
namespace {

using sim::DsmEcu;
using sim::PeerOnPort;
using sim::ScriptedPeer;
using testing::dump_bytes;
using testing::HostEvent;
using testing::pause;
using testing::plot;
using testing::RecordingHost;
using testing::repeated;
using testing::status;
using testsupport::read_bytes;
using Bytes = std::vector<std::uint8_t>;
using Samples = std::vector<Bytes>;

constexpr int kDsmCable = 4;

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Samples taken so far: plot_point calls of the engine itself.
bool is_sample(const HostEvent& e) { return e.kind == HostEvent::Plot && e.args[0] == kDsmCable; }

class DsmEngine : public testing::ObdRunTest {
protected:
    // Opened the way the logger does, then the DSM link's settings.
    void bring_up(int port = 0) {
        ASSERT_EQ(SioReset(99, port, 1024, 1024), 0);
        ASSERT_EQ(SioReset(kDsmCable, port, 1024, 1024), 0);
    }
    int log(RecordingHost& h, const std::vector<int>& items, int chart_flag = 1, int port = 0) {
        return logdata(&h.host, port, 2, kDsmCable, items.data(), static_cast<int>(items.size()), chart_flag);
    }
    int probe(const std::vector<int>& items, int port = 0) {
        return logdata(nullptr, port, 1, kDsmCable, items.data(), static_cast<int>(items.size()), 0);
    }
    // Stops the run once n samples were kept. A value is kept when the
    // exchange after it shows its answer whole, so the cycle under way then
    // still ends, and its last value is kept on the way out.
    static void stop_after_samples(RecordingHost& h, int n) {
        auto taken = std::make_shared<int>(0);
        h.on_plot = [taken, n](RecordingHost& host, const HostEvent& e) {
            if (is_sample(e) && ++*taken == n) host.set_flag(0);
        };
    }
};

TEST_F(DsmEngine, LogsTheRowsInListOrderWithAnnouncementsAndCharts) {
    PeerOnPort<DsmEcu> ecu(0);
    ecu->set_value(0x21, 0x30);
    ecu->set_value(0x17, 0x40);
    bring_up();
    RecordingHost h;
    stop_after_samples(h, 3);
    // 999 has no address: announced, but no row and no id in the head.
    EXPECT_EQ(log(h, {9, 999, 7}), 0);

    EXPECT_EQ(ecu->received(), (Bytes{0x0D, 0x21, 0x17, 0x21, 0x17}));
    EXPECT_EQ(h.events(), (std::vector<HostEvent>{plot(-1, 0, 0, 0, 9), plot(-1, 0, 0, 0, 999), plot(-1, 0, 0, 0, 7),
                                                  plot(4, 0, 0, 0x30, 9), plot(4, 0, 0, 0x40, 7),
                                                  plot(4, 0, 0, 0x30, 9), plot(4, 0, 0, 0x40, 7), pause(0)}));
    EXPECT_EQ(read_bytes("kvt2.tmp"), dump_bytes({9, 7}, repeated<Bytes>({{9, 0x30}, {7, 0x40}}, 2)));
}

TEST_F(DsmEngine, EveryAddressOfTheTableIsAskedAndNothingChartedWithoutCharts) {
    PeerOnPort<DsmEcu> ecu(0);
    bring_up();
    RecordingHost h;
    const std::vector<int> items{0, 1, 3, 7, 9, 10, 11, 49, 12, 13, 17, 18, 48};
    const Bytes pass{0x06, 0x07, 0x13, 0x17, 0x21, 0x29, 0x3A, 0x3A, 0x0C, 0x0D, 0x26, 0x1A, 0x0E};
    // No callback comes per sample: stopped once the ECU heard a pass.
    std::thread stopper([&] {
        ecu->wait_received(1 + pass.size(), std::chrono::seconds(5));
        h.set_flag(0);
    });
    EXPECT_EQ(log(h, items, 0), 0);
    stopper.join();

    const Bytes heard = ecu->received();
    ASSERT_EQ((heard.size() - 1) % pass.size(), 0u);
    const auto passes = static_cast<int>((heard.size() - 1) / pass.size());
    EXPECT_EQ(heard, (Bytes{0x0D}) + repeated(pass, passes));
    EXPECT_EQ(h.events(), (std::vector<HostEvent>{pause(0)}));
    Samples samples;
    for (std::size_t i = 0; i < items.size(); ++i)
        samples.push_back({static_cast<std::uint8_t>(items[i]), ecu->value(pass[i])});
    EXPECT_EQ(read_bytes("kvt2.tmp"), dump_bytes(items, repeated(samples, passes)));
}

TEST_F(DsmEngine, RpmTurnsToAddressD0AfterItsFirstFailure) {
    PeerOnPort<DsmEcu> ecu(0);
    ecu->set_answer(0x21, {0x00, 0x00});  // never an echo of 21
    ecu->set_value(0xD0, 0x2B);
    bring_up();
    RecordingHost h;
    stop_after_samples(h, 2);
    EXPECT_EQ(log(h, {9}), 0);
    EXPECT_EQ(ecu->received(), (Bytes{0x0D, 0x21, 0xD0, 0xD0, 0xD0}));
    // The retried cycle is whole, so it is kept.
    EXPECT_EQ(read_bytes("kvt2.tmp"), dump_bytes({9}, repeated<Bytes>({{9, 0x2B}}, 3)));
}

TEST_F(DsmEngine, SilentEcuEndsTheRunWithItsTimeOutAndNoUnreadSamples) {
    PeerOnPort<DsmEcu> ecu(0);
    ecu->set_answer(0x17, {});
    bring_up();
    RecordingHost h;
    const auto start = clock_.now_us();
    // In lockstep: each time-out runs its whole 5 s on the clock however
    // slowly either thread runs.
    sim::Lockstep lockstep(clock_, {&ecu.peer()});
    EXPECT_EQ(lockstep.run([&] { return log(h, {7}); }), 3999);
    // Ten 5-s time-outs on the row cut the cycle, and with it the run.
    EXPECT_GE(clock_.now_us() - start, 10 * 5'000'000);
    EXPECT_EQ(ecu->received(), (Bytes{0x0D, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17}));
    // 50 s without a sample: one rate report of 0.
    EXPECT_EQ(h.events(), (std::vector<HostEvent>{plot(-1, 0, 0, 0, 7), status(0)}));
    EXPECT_EQ(read_bytes("kvt2.tmp"), dump_bytes({7}, {}));
}

TEST_F(DsmEngine, FailuresLeftOverAtTheEndOfPassesEndTheRunWithTheLastFailure) {
    // Throttle answers twice with no echo, then once rightly, again and
    // again: each pass leaves one failure more than it had.
    std::atomic<int> asked{0};
    PeerOnPort<ScriptedPeer> ecu(0, sim::PeerOptions{DsmEcu::kBaud}, [&](ScriptedPeer& p, std::uint8_t byte) {
        if (byte == 0x0D) p.reply({0x0D, 0x00});
        if (byte == 0x17) p.reply(asked++ % 3 == 2 ? Bytes{0x17, 0x44} : Bytes{0x00, 0x00});
    });
    bring_up();
    RecordingHost h;
    // Three passes: 2, then 3, then 4 failures, less one success each.
    EXPECT_EQ(log(h, {7}), kReplyRanOut);
    EXPECT_EQ(asked.load(), 9);
    EXPECT_EQ(read_bytes("kvt2.tmp"), dump_bytes({7}, repeated<Bytes>({{7, 0x44}}, 3)));
}

TEST_F(DsmEngine, AnAnswerWithAByteBehindItsValueIsAskedAgainAndNeverStored) {
    // Throttle's second answer comes with a stray byte between echo and
    // value; from the fourth on every answer has a byte behind its value.
    std::atomic<int> asked{0};
    PeerOnPort<ScriptedPeer> ecu(0, sim::PeerOptions{DsmEcu::kBaud}, [&](ScriptedPeer& p, std::uint8_t byte) {
        if (byte == 0x0D) p.reply({0x0D, 0x00});
        if (byte != 0x17) return;
        const int n = ++asked;
        p.reply(n == 2 ? Bytes{0x17, 0x3C, 0x44} : n >= 4 ? Bytes{0x17, 0x44, 0x3C} : Bytes{0x17, 0x44});
    });
    bring_up();
    RecordingHost h;
    stop_after_samples(h, 10);  // should a spoilt answer pass
    // The first answer is kept: nothing of it comes ahead of the second's
    // echo. The second's value (3C) is not: its rest (44) comes ahead of
    // the third's echo, so it is asked again, the third after it. From the
    // fourth on the rest of every answer shows in the exchange after it:
    // each is asked again, and ten such failures in the cycle end the run
    // with the code of a reply not told.
    // In lockstep: the bytes behind a value count by their time on the line,
    // not by how soon the ECU's thread runs.
    sim::Lockstep lockstep(clock_, {&ecu.peer()});
    EXPECT_EQ(lockstep.run([&] { return log(h, {7}); }), kReplyRanOut);
    EXPECT_EQ(asked.load(), 2 + 2 * 10 - 1);
    EXPECT_EQ(read_bytes("kvt2.tmp"), dump_bytes({7}, {{7, 0x44}}));
}

TEST_F(DsmEngine, ReportsSamplesPerWholeSecondOnceMoreThanFiveSecondsPassed) {
    PeerOnPort<DsmEcu> ecu(0);
    bring_up();
    RecordingHost h;
    // Each pass of the four rows takes 1.3 s: the clock is set at every
    // sample, so the time the exchanges themselves take on the test clock
    // does not count.
    const std::int64_t start = clock_.now_us();
    auto passes = std::make_shared<int>(0);
    h.on_plot = [this, start, passes](RecordingHost& host, const HostEvent& e) {
        if (!is_sample(e)) return;
        if (e.args[4] == 7) ++*passes;
        clock_.set_us(start + *passes * 1'300'000);
        if (*passes == 8) host.set_flag(0);
    };
    EXPECT_EQ(log(h, {0, 1, 3, 7}), 0);

    std::vector<HostEvent> reports;
    std::vector<int> passes_before;
    int seen = 0;
    for (const HostEvent& e : h.events()) {
        if (is_sample(e) && e.args[4] == 7) ++seen;
        if (e.kind == HostEvent::Status) {
            reports.push_back(e);
            passes_before.push_back(seen);
        }
    }
    // 16 samples in 5.2 s: 16 / 5, not 16 / 5.2 nor 16000 / 5200.
    EXPECT_EQ(reports, (std::vector<HostEvent>{status(3), status(3)}));
    EXPECT_EQ(passes_before, (std::vector<int>{4, 8}));
}

TEST_F(DsmEngine, PauseSendsNothingAndLeavingItSendsTheStartByte) {
    PeerOnPort<DsmEcu> ecu(0);
    ecu->set_answer(0x07, {});  // the start byte's answer would only be drained
    bring_up();
    RecordingHost h;
    h.on_plot = [](RecordingHost& host, const HostEvent& e) {
        if (!is_sample(e)) return;
        host.set_flag(host.events_of(HostEvent::Pause).empty() ? 2 : 0);
    };
    // The rate report of a pause comes after 5 s of idle passes.
    h.on_status = [](RecordingHost& host, int) { host.set_flag(1); };
    const auto sleeps = clock_.sleep_count();
    EXPECT_EQ(log(h, {7}), 0);

    // The first value is kept, and the pause asked for, when the second
    // answer shows it whole; that cycle ends, and its value is judged
    // before the pause begins. So also after the pause.
    const Bytes throttle{0x0D, 0x17, 0x17, 0x07, 0x17, 0x17};
    EXPECT_EQ(ecu->received(), throttle);
    const std::uint8_t value = ecu->value(0x17);
    const HostEvent sample = plot(4, 0, 0, value, 7);
    EXPECT_EQ(h.events(), (std::vector<HostEvent>{plot(-1, 0, 0, 0, 7), sample, sample, pause(2), status(0), pause(1),
                                                  sample, sample, pause(0)}));
    // About 500 passes of 10 ms while paused, each a wait rather than a spin.
    EXPECT_GE(clock_.sleep_count() - sleeps, 400);
    EXPECT_EQ(read_bytes("kvt2.tmp"), dump_bytes({7}, repeated<Bytes>({{7, value}}, 4)));
}

TEST_F(DsmEngine, AnEcuThatGoesAwayMidRunEndsItAtOnceInsteadOfSpinningInItsWait) {
    auto ecu = std::make_unique<DsmEcu>();
    const sim::ComPortBinding binding(0, ecu->slave_path());
    ecu->start();
    bring_up();
    RecordingHost h;
    // The first sample is kept when the second answer came whole; the third
    // request then goes unanswered: the engine waits.
    auto taken = std::make_shared<int>(0);
    h.on_plot = [&ecu, taken](RecordingHost&, const HostEvent& e) {
        if (is_sample(e) && ++*taken == 1) ecu->set_answer(0x17, {});
    };
    std::optional<sim::Lockstep> lockstep(std::in_place, clock_, std::vector<const sim::Peer*>{ecu.get()});
    auto run = std::async(std::launch::async, [&] { return log(h, {7}); });
    // Held until the engine sleeps in the wait for the third answer.
    ASSERT_TRUE(lockstep->drive_until(
        [&] { return ecu->received().size() == 4 && !clock_.held_sleepers().empty() && ecu->settled(); }));
    const std::int64_t gone_at = clock_.now_us();
    const std::int64_t sleeps = clock_.sleep_count();
    // The device goes away (its end of the line closes); the engine wakes on
    // a clock that moves only when somebody sleeps on it. A wait that keeps
    // looking at the dead line without sleeping never ends.
    ecu.reset();
    lockstep.reset();
    const bool ended = run.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    if (!ended) clock_.advance_us(3'600'000'000);  // lets a spinning wait reach its deadline
    ASSERT_TRUE(ended) << "the wait spins on the line that went away";

    // The wait fails with the line's error, and so does each try after it
    // in its first step (after a failure: the wait for a quiet line), at once.
    EXPECT_EQ(run.get(), kSystemCallFailed + 2000);
    EXPECT_EQ(clock_.now_us(), gone_at);
    EXPECT_EQ(clock_.sleep_count(), sleeps);
    // The samples taken before are kept.
    const std::uint8_t value = sim::DsmEcuData().value(0x17);
    EXPECT_EQ(read_bytes("kvt2.tmp"), dump_bytes({7}, {{7, value}, {7, value}}));
}

TEST_F(DsmEngine, DemonstrationPortGivesFFSamplesWithoutADevice) {
    RecordingHost h;
    stop_after_samples(h, 3);
    EXPECT_EQ(log(h, {9, 7}, 1, kDemoPort), 0);
    EXPECT_EQ(h.events_of(HostEvent::Plot),
              (std::vector<HostEvent>{plot(-1, 0, 0, 0, 9), plot(-1, 0, 0, 0, 7), plot(4, 4, 0, 255, 9),
                                      plot(4, 4, 0, 255, 7), plot(4, 4, 0, 255, 9), plot(4, 4, 0, 255, 7)}));
    EXPECT_EQ(read_bytes("kvt2.tmp"), dump_bytes({9, 7}, repeated<Bytes>({{9, 0xFF}, {7, 0xFF}}, 2)));
    EXPECT_EQ(probe({9}, kDemoPort), 0);
}

TEST_F(DsmEngine, ProbeIsTheHandshakeAlone) {
    PeerOnPort<DsmEcu> ecu(0);
    bring_up();
    EXPECT_EQ(probe({9, 7}), 0);
    // Any other mode runs it too.
    EXPECT_EQ(logdata(nullptr, 0, 3, kDsmCable, nullptr, 0, 0), 0);
    EXPECT_EQ(ecu->received(), (Bytes{0x0D, 0x0D}));
    EXPECT_FALSE(std::filesystem::exists("kvt2.tmp"));
}

TEST_F(DsmEngine, HandshakeStepsCarryTheirOffsets) {
    EXPECT_EQ(probe({9}, 5), kPortClosed + 7000);

    PeerOnPort<DsmEcu> ecu(0);
    ecu->set_answer(0x0D, {});
    bring_up();
    const auto start = clock_.now_us();
    EXPECT_EQ(probe({9}), 7199);
    EXPECT_GE(clock_.now_us() - start, 2'000'000);
    EXPECT_LT(clock_.now_us() - start, 3'000'000);
}

TEST_F(DsmEngine, HandshakeGivesUpAfterTwoSecondsOfWrongBytes) {
    // The ECU answers the carriage return with a stream of other bytes, and
    // the clock moves on as they come.
    std::atomic<bool> done{false};
    std::atomic<int> streamed{0};
    constexpr int kStream = 50'000;  // what an engine without a deadline would wait out
    PeerOnPort<ScriptedPeer> ecu(0, sim::PeerOptions{DsmEcu::kBaud}, [&](ScriptedPeer& p, std::uint8_t byte) {
        if (byte != 0x0D) return;
        while (!done && streamed < kStream) {
            p.reply({0x55});
            ++streamed;
            clock_.advance_us(10'000);
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    });
    bring_up();
    RecordingHost h;
    EXPECT_EQ(log(h, {9}), 7199);
    done = true;
    EXPECT_LT(streamed.load(), kStream);
    // The dump was made before the handshake and is closed with its head.
    EXPECT_EQ(read_bytes("kvt2.tmp"), dump_bytes({9}, {}));
    EXPECT_TRUE(h.events_of(HostEvent::Status).empty());
}

TEST_F(DsmEngine, LookUpsAndTheDumpComeBeforeAnyRequest) {
    PeerOnPort<DsmEcu> ecu(0);
    bring_up();
    RecordingHost h;
    h.host.plot_point = nullptr;  // needed even without charts
    EXPECT_EQ(log(h, {9}, 0), kBadArgument);
    h.host.drb_stop_flag = nullptr;
    EXPECT_EQ(log(h, {9}, 0), kStopFlagMissing);
    EXPECT_FALSE(std::filesystem::exists("kvt2.tmp"));

    RecordingHost ok;
    std::filesystem::create_directory("kvt2.tmp");  // a name that cannot be opened as a file
    EXPECT_EQ(log(ok, {9}), -100);
    EXPECT_TRUE(ok.events().empty());
    EXPECT_TRUE(ecu->received().empty());
}

}  // namespace
}  // namespace korv::korvio
