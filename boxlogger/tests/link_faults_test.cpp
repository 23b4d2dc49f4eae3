// The box link through the faults of a real line: a hub or an ECU that
// stops for a while, an answer that comes late, a byte lost or added. The
// poll thread runs against the simulated box on the wire at 1953 baud, on a
// lockstep clock, so every time here is exact however loaded the machine is.
// After each fault the cycle must run in order again at the wire's pace
// within a second of the line going on, idle, in a capture and in the DRB II
// sheet.
#include "boxlogger/core/link_engine.h"
#include "platform/core/clock.h"
#include "sim/core/com_port_binding.h"
#include "sim/core/line_glitch.h"
#include "sim/core/lockstep.h"
#include "sim/core/vxm_box.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace korv::boxlogger {
namespace {

constexpr int kSlot = 7;
constexpr std::int64_t kSecondUs = 1'000'000;
constexpr double kByteUs = 10.0 * kSecondUs / CSerialPort::kBaud;

enum class Screen { CommandScreen, Capture, DrbSheet };

const char* name_of(Screen screen) {
    switch (screen) {
    case Screen::CommandScreen: return "command screen";
    case Screen::Capture: return "capture";
    case Screen::DrbSheet: return "DRB II sheet";
    }
    return "";
}

struct Row {
    Screen screen;
    sim::NamedGlitch fault;
};

void PrintTo(const Row& row, std::ostream* out) { *out << name_of(row.screen) << ", " << row.fault.name; }

std::vector<Row> rows() {
    std::vector<Row> out;
    for (Screen screen : {Screen::CommandScreen, Screen::Capture, Screen::DrbSheet})
        for (const sim::NamedGlitch& fault : sim::fault_table()) out.push_back({screen, fault});
    return out;
}

// What the box heard in a stretch of clock time, judged against the cycle.
struct Stretch {
    int requests = 0;
    bool in_order = true;
    double busy_share = 0;       // of the stretch the wire was carrying this cycle's exchanges
    std::int64_t in_order_from;  // the first request after which the cycle never broke
};

Stretch judge(const std::vector<sim::Peer::HeardByte>& heard, const std::vector<std::uint8_t>& cycle,
              std::int64_t from_us, std::int64_t to_us) {
    Stretch stretch;
    stretch.in_order_from = from_us;
    double wire_us = 0;
    int previous = -1;
    for (const auto& request : heard) {
        const auto at = std::find(cycle.begin(), cycle.end(), request.byte);
        const int index = at == cycle.end() ? -2 : static_cast<int>(at - cycle.begin());
        if (request.at_us >= from_us && request.at_us < to_us) {
            ++stretch.requests;
            wire_us += kByteUs * (1 + reply_length(request.byte));
            if (previous != -1 && index != (previous + 1) % static_cast<int>(cycle.size())) stretch.in_order = false;
        }
        if (previous == -1 || index != (previous + 1) % static_cast<int>(cycle.size()))
            stretch.in_order_from = request.at_us;
        previous = index;
        if (request.at_us >= to_us) break;
    }
    stretch.busy_share = wire_us / static_cast<double>(to_us - from_us);
    return stretch;
}

class LinkThroughFaults : public ::testing::TestWithParam<Row> {
protected:
    platform::TestClock clock{50 * kSecondUs};
    platform::ScopedClock scoped{clock};
    sim::VxmBox box{sim::Pacing::Wire};
    sim::ComPortBinding binding{kSlot, box.slave_path()};
    CSerialPort port;
    CLinkEngine engine{port};

    void SetUp() override {
        box.ecu().set_value(0x21, 100);
        box.start();
        port.SetPort(kSlot);
        ASSERT_TRUE(port.is_open());
    }

    // The request bytes the poll thread cycles on this screen.
    std::vector<std::uint8_t> open_screen(Screen screen) {
        switch (screen) {
        case Screen::CommandScreen: return engine.idle_list().table().codes();
        case Screen::Capture: {
            engine.Hold();
            CSampleRing* ring = engine.hub().CreateRing();
            // Engine speed, the box's own 16-bit engine speed, a switch, coolant.
            for (int channel : {9, 25, 19, 1}) engine.hub().Subscribe(channel, ring);
            ring->Reset();
            break;
        }
        case Screen::DrbSheet:
            engine.Hold();
            // A live-values page: its descriptors sit on the hub without a ring.
            for (int channel : {9, 7, 3, 10, 26}) engine.hub().Acquire(channel);
            break;
        }
        return engine.hub().table().codes();
    }
};

TEST_P(LinkThroughFaults, TheCycleRunsInOrderAtTheWiresPaceWithinASecond) {
    const Row& row = GetParam();
    const std::vector<std::uint8_t> cycle = open_screen(row.screen);
    sim::Lockstep lockstep(clock, {&box}, 1);
    engine.StartPollThread({});

    const std::int64_t start = clock.now_us();
    ASSERT_TRUE(lockstep.drive_to(start + kSecondUs));
    const Stretch before = judge(box.heard(), cycle, start + kSecondUs / 2, start + kSecondUs);
    ASSERT_TRUE(before.in_order);
    ASSERT_GE(before.busy_share, 0.95) << "a working link runs at the wire's pace";

    box.inject(row.fault.glitch);
    ASSERT_TRUE(lockstep.drive_until([&] { return box.glitches_pending() == 0 && box.line_back_at_us() > start; }));
    const std::int64_t back = box.line_back_at_us();
    ASSERT_TRUE(lockstep.drive_to(back + 2 * kSecondUs));
    lockstep.let_go();
    engine.StopPollThread();

    const Stretch after = judge(box.heard(), cycle, back + kSecondUs, back + 2 * kSecondUs);
    EXPECT_TRUE(after.in_order) << "the cycle still breaks a second after the line went on";
    EXPECT_GE(after.busy_share, 0.9) << after.requests << " requests in the second after";
    const Stretch recovery = judge(box.heard(), cycle, back, back + 2 * kSecondUs);
    std::printf("box link, %s, %s: in order again %lld ms after the line went on\n", name_of(row.screen),
                row.fault.name,
                static_cast<long long>(std::max<std::int64_t>(0, recovery.in_order_from - back) / 1000));
}

INSTANTIATE_TEST_SUITE_P(FaultTable, LinkThroughFaults, ::testing::ValuesIn(rows()),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             std::string name = std::string(name_of(info.param.screen)) + "_" + info.param.fault.name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
}  // namespace korv::boxlogger
