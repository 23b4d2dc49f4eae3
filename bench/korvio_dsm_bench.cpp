// Samples per second of the DSM logging engine against the simulated ECU,
// paced at 1953 baud. Each sample is three strictly sequential bytes on the
// wire (the address, its echo, the value), so the wire allows 1953 / 30 =
// 65.1 samples a second. Beside the engine: that limit, and a bare exchange
// loop on the same device measured in this same run.
#include "bench/bench_support.h"
#include "nativeio/include/korvio.h"
#include "nativeio/core/sio.h"
#include "platform/serial/tty.h"
#include "sim/core/com_port_binding.h"
#include "sim/core/dsm_ecu.h"

#include <benchmark/benchmark.h>
#include <poll.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using korv::sim::DsmEcu;

constexpr int kPort = 0;
constexpr int kCable = 4;
constexpr auto kRunTime = 4s;
constexpr double kWireLimit = DsmEcu::kBaud / 30.0;
constexpr double kTarget = 0.95;
constexpr const char* kRatioCounter = "ratio_to_wire";

// Sample times, from plot_point.
struct SampleLog {
    std::mutex mutex;
    std::vector<Clock::time_point> times;
};

void on_plot(void* object, int cable, int, int, int, int) {
    if (cable != kCable) return;  // the announcements
    auto* log = static_cast<SampleLog*>(object);
    std::lock_guard lock(log->mutex);
    log->times.push_back(Clock::now());
}
void ignore_int(void*, int) {}

double rate(const std::vector<Clock::time_point>& times) {
    if (times.size() < 2) return 0;
    return double(times.size() - 1) / std::chrono::duration<double>(times.back() - times.front()).count();
}

// Steady samples per second, counted from the first sample on.
double run_engine(const std::vector<int>& items) {
    SampleLog log;
    int obd = 1, drb = 1, pms = 1;
    korvio_host host{&log, &obd, &drb, &pms, &ignore_int, &ignore_int, &on_plot, &ignore_int};
    int result = 0;
    std::thread run(
        [&] { result = logdata(&host, kPort, 2, kCable, items.data(), static_cast<int>(items.size()), 1); });
    const auto give_up = Clock::now() + 10s;
    for (;;) {
        {
            std::lock_guard lock(log.mutex);
            if (!log.times.empty() || Clock::now() > give_up) break;
        }
        std::this_thread::sleep_for(1ms);
    }
    std::this_thread::sleep_for(kRunTime);
    for (int* flag : {&obd, &drb, &pms}) std::atomic_ref<int>(*flag).store(0, std::memory_order_release);
    run.join();
    if (result != 0) std::fprintf(stderr, "DSM run ended with %d\n", result);
    std::lock_guard lock(log.mutex);
    return rate(log.times);
}

// The same exchanges without the engine: write the address, read echo and value.
double run_bare(const std::string& path, const std::vector<std::uint8_t>& addresses) {
    korv::platform::serial::LineSettings settings;
    settings.baud = DsmEcu::kBaud;
    std::unique_ptr<korv::platform::serial::Tty> tty;
    if (korv::platform::serial::Tty::open(path, settings, true, true, &tty) != 0) return 0;
    std::vector<Clock::time_point> times;
    const auto start = Clock::now();
    while (Clock::now() - start < kRunTime) {
        for (std::uint8_t address : addresses) {
            tty->write(&address, 1);
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
            if (got < 2) return 0;
            times.push_back(Clock::now());
        }
    }
    return rate(times);
}

void BM_DsmEngine(benchmark::State& state) {
    for (auto _ : state) {
        const auto t0 = Clock::now();
        korv::sim::PeerOnPort<DsmEcu> ecu(kPort, korv::sim::Pacing::Wire);
        SioReset(99, kPort, 1024, 1024);
        SioReset(kCable, kPort, 1024, 1024);
        const double engine = run_engine({9, 7, 1});
        SioDone(kPort);
        const double bare = run_bare(ecu->slave_path(), {0x21, 0x17, 0x07});
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - t0).count());

        state.counters["samples_per_s"] = engine;
        state.counters["bare_loop_per_s"] = bare;
        state.counters["wire_limit_per_s"] = kWireLimit;
        state.counters[kRatioCounter] = engine / kWireLimit;
        std::printf(
            "DSM engine %6.2f samples/s | bare loop %6.2f | wire limit %6.2f | engine/wire %.3f "
            "(target %.2f) | engine/bare %.3f\n",
            engine, bare, kWireLimit, engine / kWireLimit, kTarget, bare > 0 ? engine / bare : 0);
    }
}

BENCHMARK(BM_DsmEngine)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    // The engine writes its dump in the working directory.
    char dir[] = "/tmp/korvio-dsm-bench-XXXXXX";
    if (!mkdtemp(dir)) return 1;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    korv::bench::CounterKeeper reporter(kRatioCounter);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(dir);
    // A line of its own, after the table's last colour code. Goal: at least 0.95.
    std::printf("\n");
    const auto ratio = korv::bench::figure_of(reporter.figures, "BM_DsmEngine");
    korv::bench::print_figure("dsm_engine_over_wire", ratio && *ratio > 0 ? ratio : std::nullopt);
    return 0;
}
