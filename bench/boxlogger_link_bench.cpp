// Poll steps per second of VXMlog's link engine on its idle cycle against
// the simulated data-logger box, paced at 1953 baud. Each step is three
// strictly sequential bytes on the wire (request, echo, data), so the line
// allows 1953 / 30 = 65.1 steps a second. Beside the engine: that limit, and
// a bare write-1/read-2 loop through Tty with the same box in this same run.
// The two take turns, so the machine's slower and quicker moments fall on
// both alike.
#include "bench/bench_support.h"
#include "boxlogger/core/link_engine.h"
#include "boxlogger/core/serial_port.h"
#include "platform/serial/tty.h"
#include "sim/core/com_port_binding.h"
#include "sim/core/vxm_box.h"

#include <benchmark/benchmark.h>
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kSlot = 0;
constexpr int kTurns = 4;
constexpr auto kTurnTime = 1500ms;
constexpr double kWireLimit = korv::boxlogger::CSerialPort::kBaud / 30.0;
constexpr double kTarget = 0.95;
constexpr const char* kRatioCounter = "ratio_to_bare";

// What one side counted over its turns.
struct Tally {
    double count = 0;
    double seconds = 0;
    void add(double n, Clock::time_point start) {
        count += n;
        seconds += std::chrono::duration<double>(Clock::now() - start).count();
    }
    double rate() const { return seconds > 0 ? count / seconds : 0; }
};

std::unique_ptr<korv::sim::VxmBox> make_box() {
    auto box = std::make_unique<korv::sim::VxmBox>(korv::sim::Pacing::Wire);
    box->start();
    return box;
}

// One turn of the engine: false when the port does not open.
bool run_engine(Tally& tally) {
    korv::boxlogger::CSerialPort port;
    port.SetPort(kSlot);
    if (!port.is_open()) return false;
    korv::boxlogger::CLinkEngine engine(port);
    // Settle on the line, then count completed steps over the turn.
    for (int i = 0; i < 10; ++i) engine.PollStep();
    int steps = 0;
    const auto start = Clock::now();
    while (Clock::now() - start < kTurnTime) steps += engine.PollStep();
    tally.add(steps, start);
    return true;
}

// One turn of the bare loop: false when the port does not open or the box stops answering.
bool run_bare(const std::string& path, Tally& tally) {
    korv::platform::serial::LineSettings settings;
    settings.baud = korv::boxlogger::CSerialPort::kBaud;
    std::unique_ptr<korv::platform::serial::Tty> tty;
    if (korv::platform::serial::Tty::open(path, settings, false, false, &tty) != 0) return false;
    const std::uint8_t codes[] = {0xC1, 0x42, 0xB3, 0x54, 0xA5, 0x66, 0x97, 0x78, 0xFE, 0xFF};
    int exchanges = 0;
    const auto start = Clock::now();
    while (Clock::now() - start < kTurnTime) {
        for (std::uint8_t code : codes) {
            tty->write(&code, 1);
            int got = 0;
            const auto give_up = Clock::now() + 1s;
            while (got < 2 && Clock::now() < give_up) {
                std::uint8_t buffer[2];
                const int n = tty->read(buffer, 2 - got);
                if (n > 0) {
                    got += n;
                    continue;
                }
                pollfd p{tty->fd(), POLLIN, 0};
                poll(&p, 1, 1);
            }
            if (got < 2) return false;
            ++exchanges;
        }
    }
    tally.add(exchanges, start);
    return true;
}

void BM_LinkIdleCycle(benchmark::State& state) {
    for (auto _ : state) {
        const auto t0 = Clock::now();
        const auto box = make_box();
        korv::sim::ComPortBinding binding(kSlot, box->slave_path());
        Tally engine_turns, bare_turns;
        bool measured = true;
        for (int turn = 0; turn < kTurns && measured; ++turn)
            measured = run_engine(engine_turns) && run_bare(box->slave_path(), bare_turns);
        box->stop();
        if (!measured) {
            state.SkipWithError("the simulated box did not answer");
            return;
        }
        const double engine = engine_turns.rate(), bare = bare_turns.rate();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - t0).count());

        state.counters["steps_per_s"] = engine;
        state.counters["bare_loop_per_s"] = bare;
        state.counters["wire_limit_per_s"] = kWireLimit;
        state.counters[kRatioCounter] = bare > 0 ? engine / bare : 0;
        std::printf(
            "VXMlog idle cycle %6.2f steps/s | bare Tty loop %6.2f | wire limit %6.2f | engine/bare %.3f "
            "(target %.2f)\n",
            engine, bare, kWireLimit, bare > 0 ? engine / bare : 0, kTarget);
    }
}

BENCHMARK(BM_LinkIdleCycle)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    korv::bench::CounterKeeper reporter(kRatioCounter);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    // A line of its own, after the table's last colour code. Goal: at least 0.95.
    std::printf("\n");
    const auto ratio = korv::bench::figure_of(reporter.figures, "BM_LinkIdleCycle");
    korv::bench::print_figure("vxmlog_poll_over_bare", ratio && *ratio > 0 ? ratio : std::nullopt);
    return 0;
}
