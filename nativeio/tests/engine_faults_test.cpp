// Every logging engine through the faults of a real line: a hub or an ECU
// that stops for a while, an answer that comes late, a byte lost or added.
// Each run goes through the entry points against its simulated device, every
// byte paced on the wire, on a lockstep clock, so the times here are exact
// however loaded the machine is. After each fault the engine must log again
// at the pace it had before within a second of the line going on (whole
// cycles at 0.9 or more of the rate it had before the fault), and no sample
// it stored may differ from what the car holds where the protocol can tell
// (cable 0's answer carries no check byte, and looking for a byte behind
// every answer would cost a quarter of its samples: a stray byte inside one
// answer spoils that one sample). One fault a link cannot outlive: a K-line
// ECU drops its link after 5 s without a request, and the run then ends with
// a failure, its samples up to the fault kept.
#include "nativeio/core/dsm_engine.h"
#include "nativeio/core/obd_channels.h"
#include "nativeio/core/obd_protocol.h"
#include "nativeio/tests/obd_run_fixture.h"
#include "sim/core/cable0_box.h"
#include "sim/core/cable1_box.h"
#include "sim/core/cable3_box.h"
#include "sim/core/dsm_ecu.h"
#include "sim/core/iso9141_ecu.h"
#include "sim/core/line_glitch.h"
#include "sim/core/lockstep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <ostream>

namespace korv::korvio {
namespace {

using testing::dump_bytes;
using testing::HostEvent;
using testing::RecordingHost;
using testsupport::read_bytes;
using Bytes = std::vector<std::uint8_t>;

constexpr std::int64_t kSecondUs = 1'000'000;
constexpr int kDsmCable = 4;
// Logging before the fault (its pace is taken from the last 1.5 s), and
// watched after the line went on.
constexpr std::int64_t kHealthyUs = 2 * kSecondUs;
constexpr std::int64_t kWatchedUs = 3 * kSecondUs;
// The goal: back within a second, at this share of the rate before.
constexpr std::int64_t kRecoveryGoalUs = kSecondUs;
constexpr double kRateShare = 0.9;
// A link that cannot go on says so within three replies' waits.
constexpr std::int64_t kFailureWithinUs = 3 * 5 * kSecondUs;

struct Engine {
    const char* name;
    int cable;
    std::vector<int> items;
    std::int64_t link_dropped_after_us = 0;  // by the far end, without a request; 0: never
    bool tells_a_stray_inside_an_answer = true;
};

// The DSM rows leave out rpm: its row turns to another address after any
// failure, by design, which would hide what the fault itself did.
const Engine kEngines[] = {
    {"DSM", kDsmCable, {7, 1, 3}},    {"ISO 9141", 2, {9, 7}, sim::KLineTiming{}.p3_max_us},
    {"cable 0", 0, {9, 7}, 0, false}, {"cable 1", 1, {9, 7}},
    {"cable 3", 3, {9, 7}},
};

std::unique_ptr<sim::Peer> make_device(int cable) {
    switch (cable) {
    case 0: return std::make_unique<sim::Cable0Box>(sim::Pacing::Wire);
    case 1: return std::make_unique<sim::Cable1Box>(sim::Pacing::Wire);
    case 2: return std::make_unique<sim::Iso9141Ecu>(sim::Pacing::Wire);
    case 3: return std::make_unique<sim::Cable3Box>(sim::Pacing::Wire);
    default: return std::make_unique<sim::DsmEcu>(sim::Pacing::Wire);
    }
}

// What the car holds for a channel, as the engine stores it.
Bytes expected_sample(int cable, int id) {
    if (cable == kDsmCable) return {static_cast<std::uint8_t>(id), sim::DsmEcuData().value(*dsm_address(id))};
    const Bytes data = *sim::ObdCar().data(obd_parameter(id)->pid);
    if (is_two_byte_channel(id)) return {static_cast<std::uint8_t>(id), data[0], data[1]};
    return {static_cast<std::uint8_t>(id), 0x00, data[0]};
}

struct Row {
    const Engine* engine;
    sim::NamedGlitch fault;

    int wrong_samples_allowed() const {
        return fault.glitch.kind == sim::Glitch::StrayMid && !engine->tells_a_stray_inside_an_answer ? 1 : 0;
    }
    bool link_survives() const {
        return engine->link_dropped_after_us == 0 || fault.glitch.kind != sim::Glitch::Stall ||
               fault.glitch.duration_us < engine->link_dropped_after_us;
    }
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.engine->name << ", " << row.fault.name; }

std::vector<Row> rows() {
    std::vector<Row> out;
    for (const Engine& engine : kEngines)
        for (const sim::NamedGlitch& fault : sim::fault_table()) out.push_back({&engine, fault});
    return out;
}

std::int64_t median(std::vector<std::int64_t> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// How logging went on after the line did, judged by when each whole cycle
// was done.
struct Recovery {
    std::int64_t after_us = -1;  // the first cycle from which the pace held; -1: never
    double rate_share = 0;       // in the watched seconds after the first one
};

Recovery judge(const std::vector<std::int64_t>& cycle_ends, std::int64_t healthy_period_us, std::int64_t back_us) {
    Recovery recovery;
    const auto first = std::lower_bound(cycle_ends.begin(), cycle_ends.end(), back_us);
    // A cycle may take half as long again as a healthy one and still count
    // as keeping the pace; the rate below is the stricter measure.
    const std::int64_t slack = healthy_period_us * 3 / 2;
    auto held_from = cycle_ends.end();
    for (auto it = cycle_ends.end(); it != first; --it) {
        const auto cycle = it - 1;
        if (cycle == first || *cycle - *(cycle - 1) > slack) {
            held_from = cycle;
            break;
        }
    }
    if (held_from == cycle_ends.end()) return recovery;
    recovery.after_us = *held_from - back_us;
    const auto from = std::lower_bound(first, cycle_ends.end(), back_us + kSecondUs);
    if (cycle_ends.end() - from >= 2) {
        const double period = static_cast<double>(cycle_ends.back() - *from) / double(cycle_ends.end() - from - 1);
        recovery.rate_share = static_cast<double>(healthy_period_us) / period;
    }
    return recovery;
}

class EngineThroughFaults : public testing::ObdRunTest, public ::testing::WithParamInterface<Row> {
protected:
    const Engine& engine = *GetParam().engine;
    std::unique_ptr<sim::Peer> device = make_device(engine.cable);
    sim::ComPortBinding binding{0, device->slave_path()};

    void SetUp() override {
        reset_obd_protocol_state();
        device->start();
    }
    void TearDown() override {
        device->stop();
        testing::ObdRunTest::TearDown();
    }

    const char* dump_name() const { return engine.cable == kDsmCable ? "kvt2.tmp" : "kvt1.tmp"; }

    struct Kept {
        int cycles = 0;
        int wrong = -1;  // samples other than the car's; -1: the dump is not whole cycles under its head
    };
    // What the dump holds, sample by sample against the car.
    Kept kept() {
        std::vector<Bytes> cycle;
        std::size_t cycle_bytes = 0;
        for (int id : engine.items) {
            cycle.push_back(expected_sample(engine.cable, id));
            cycle_bytes += cycle.back().size();
        }
        const Bytes dump = read_bytes(dump_name());
        const Bytes head = dump_bytes(engine.items, {});
        Kept kept;
        if (dump.size() < head.size() || !std::equal(head.begin(), head.end(), dump.begin()) ||
            (dump.size() - head.size()) % cycle_bytes != 0)
            return kept;
        kept.cycles = static_cast<int>((dump.size() - head.size()) / cycle_bytes);
        kept.wrong = 0;
        auto at = dump.begin() + static_cast<std::ptrdiff_t>(head.size());
        for (int c = 0; c < kept.cycles; ++c)
            for (const Bytes& sample : cycle) {
                if (!std::equal(sample.begin(), sample.end(), at)) ++kept.wrong;
                at += static_cast<std::ptrdiff_t>(sample.size());
            }
        return kept;
    }
};

TEST_P(EngineThroughFaults, LogsAtItsPaceAgainWithinASecondOrEndsWithAFailureAndStoresNothingWrong) {
    const Row& row = GetParam();
    const sim::LineGlitch glitch = row.fault.glitch;
    RecordingHost h;
    std::vector<std::int64_t> cycle_ends;
    std::int64_t logging_since = -1;
    std::int64_t injected_at = -1;
    // Runs on the engine's thread at the end of each whole cycle: the fault
    // is armed, and the run stopped, at a known point of the run.
    auto cycle_done = [&](RecordingHost& host) {
        const std::int64_t now = clock_.now_us();
        cycle_ends.push_back(now);
        if (logging_since < 0) logging_since = now;
        if (injected_at < 0 && now >= logging_since + kHealthyUs) {
            device->inject(glitch);
            injected_at = now;
        }
        const std::int64_t back = device->line_back_at_us();
        if (injected_at >= 0 && back >= injected_at && now >= back + kWatchedUs) host.set_flag(0);
    };
    const int last_id = engine.items.back();
    h.on_plot = [&](RecordingHost& host, const HostEvent& e) {
        if (e.args[0] == engine.cable && e.args[4] == last_id) cycle_done(host);
    };
    // Cables 0, 2 and 3 report the samples kept, cable 0 on every pass.
    int reported = 0;
    h.on_status = [&](RecordingHost& host, int) {
        if (engine.cable == 1 || engine.cable == kDsmCable) return;
        const int n = host.events().back().args[0];
        if (n == reported) return;
        reported = n;
        cycle_done(host);
    };

    sim::Lockstep lockstep(clock_, {device.get()});
    const int result = lockstep.run([&] {
        SioReset(99, 0, 1024, 1024);
        SioReset(engine.cable, 0, 1024, 1024);
        return logdata(&h.host, 0, 2, engine.cable, engine.items.data(), static_cast<int>(engine.items.size()), 1);
    });
    const std::int64_t ended_at = clock_.now_us();
    lockstep.let_go();

    ASSERT_GE(injected_at, 0) << "the engine never logged for " << kHealthyUs / 1000 << " ms";
    std::vector<std::int64_t> healthy;
    for (std::size_t i = 1; i < cycle_ends.size() && cycle_ends[i] <= injected_at; ++i)
        if (cycle_ends[i - 1] >= logging_since + kSecondUs / 2) healthy.push_back(cycle_ends[i] - cycle_ends[i - 1]);
    const std::int64_t healthy_period = median(healthy);
    const std::int64_t back = device->line_back_at_us();
    const Recovery recovery = judge(cycle_ends, healthy_period, back);
    const Kept dump = kept();

    std::printf("%s, %s: ", engine.name, row.fault.name);
    if (result != 0)
        std::printf("run ends with %d %lld ms after the line went on", result,
                    static_cast<long long>((ended_at - back) / 1000));
    else if (recovery.after_us < 0)
        std::printf("never back at its pace");
    else
        std::printf("back at %.2f of the rate %lld ms after the line went on", recovery.rate_share,
                    static_cast<long long>(recovery.after_us / 1000));
    if (dump.wrong < 0)
        std::printf("; the dump is not whole cycles\n");
    else if (dump.wrong == 0)
        std::printf("; %d whole cycles kept, none wrong\n", dump.cycles);
    else
        std::printf("; %d whole cycles kept, %d sample%s wrong\n", dump.cycles, dump.wrong, dump.wrong == 1 ? "" : "s");

    EXPECT_GE(dump.wrong, 0) << "the dump is not whole cycles";
    EXPECT_LE(dump.wrong, row.wrong_samples_allowed()) << "stored samples differ from the car's";
    if (!row.link_survives()) {
        EXPECT_NE(result, 0) << "the link is gone: the run must say so";
        EXPECT_LE(ended_at - back, kFailureWithinUs);
        return;
    }
    EXPECT_EQ(result, 0);
    EXPECT_GE(recovery.after_us, 0);
    EXPECT_LE(recovery.after_us, kRecoveryGoalUs);
    EXPECT_GE(recovery.rate_share, kRateShare);
}

INSTANTIATE_TEST_SUITE_P(FaultTable, EngineThroughFaults, ::testing::ValuesIn(rows()),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             std::string name = std::string(info.param.engine->name) + "_" + info.param.fault.name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
}  // namespace korv::korvio
