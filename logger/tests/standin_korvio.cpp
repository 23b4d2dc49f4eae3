// A stand-in for libkorvio.so with the same C ABI, for the logger's tests:
// logdata runs a pretend engine that polls the caller's stop flag, calls
// back like the real engines and writes a sample dump in the working
// directory. A few extra entry points let a test steer it.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <thread>
#include <vector>

#include "nativeio/include/korvio.h"
#include "nativeio/include/korvio_files.h"

namespace {

namespace files = korv::korvio_files;

std::atomic<int> version{KORVIO_VERSION};
std::atomic<int> failing_cable{-1};  // the cable whose runs end by themselves
std::atomic<int> ending_result{0};
std::atomic<int> cycles_until_end{-1};
std::atomic<int> sio_done_calls{0};
std::atomic<int> runs_begun{0};
// A failing run ends only once this many runs have stored a cycle, so the
// runs it ends have something to save however late their threads start.
std::atomic<int> runs_to_store{0};
std::atomic<int> runs_stored{0};

// The fixed sample values: OBD-II 0x1F40 (8000), DSM 0x40.
constexpr int kObdHi = 0x1F;
constexpr int kObdLo = 0x40;
constexpr int kDsmValue = 0x40;

int run_engine(const korvio_host* host, int port, int cable, const int* items, int item_count, int chart_flag) {
    const bool dsm = cable == 4;
    const bool charts = chart_flag == 1 && (cable == 1 || dsm);
    if (!host) return -199;
    int* flag = dsm ? host->drb_stop_flag : host->obd_stop_flag;
    if (!flag) return -199;
    if (!host->update_status || !host->update_pause) return -101;
    if ((cable == 1 || dsm) && !host->plot_point) return -101;

    std::vector<int> ids;
    for (int i = 0; i < item_count; ++i) {
        if (items[i] >= 0) ids.push_back(items[i]);
    }
    std::FILE* dump = std::fopen(dsm ? files::kDsmDump.name : files::kObdDump.name, "wb");
    if (!dump) return -100;
    const auto count = static_cast<std::uint32_t>(ids.size());
    const unsigned char head[4] = {static_cast<unsigned char>(count), static_cast<unsigned char>(count >> 8),
                                   static_cast<unsigned char>(count >> 16), static_cast<unsigned char>(count >> 24)};
    std::fwrite(head, 1, 4, dump);
    for (int id : ids) std::fputc(id & 0xFF, dump);
    runs_begun.fetch_add(1);

    if (charts) {
        for (int id : ids) host->plot_point(host->object, dsm ? -1 : -2, 0, 0, 0, id);
    }
    int last_seen = 1;
    int cycles = 0;
    int result = 0;
    for (;;) {
        const int now = __atomic_load_n(flag, __ATOMIC_ACQUIRE);
        if (now != last_seen) {
            host->update_pause(host->object, now);
            last_seen = now;
        }
        if (now == 0) break;
        if (now == 1) {
            for (int id : ids) {
                std::fputc(id & 0xFF, dump);
                if (dsm) {
                    std::fputc(kDsmValue, dump);
                } else {
                    std::fputc(kObdHi, dump);
                    std::fputc(kObdLo, dump);
                }
                if (charts) host->plot_point(host->object, cable, port, dsm ? 0 : kObdHi, dsm ? kDsmValue : kObdLo, id);
            }
            std::fflush(dump);
            ++cycles;
            if (cycles == 1) runs_stored.fetch_add(1);
            host->update_status(host->object, cycles * static_cast<int>(ids.size()));
            if (cable == failing_cable.load() && cycles >= cycles_until_end.load()) {
                const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
                while (runs_stored.load() < runs_to_store.load() && std::chrono::steady_clock::now() < give_up) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
                result = ending_result.load();
                break;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::fclose(dump);
    return result;
}

}  // namespace

extern "C" {

KORVIO_API int SioReset(int, int, int, int) { return 0; }
KORVIO_API int SioDone(int) {
    sio_done_calls.fetch_add(1);
    return 1;
}
KORVIO_API int logdata(const korvio_host* host, int port, int mode, int cable, const int* items, int item_count,
                       int chart_flag) {
    if (cable < 0 || cable > 4) return cable;
    if (mode != 2) return 0;
    return run_engine(host, port, cable, items, item_count, chart_flag);
}
KORVIO_API int getDTC(int, int) { return 0; }
KORVIO_API int clearDTC(int) { return 0; }
KORVIO_API int getver(void) { return version.load(); }
KORVIO_API int dodiag(int, int) { return 0; }
KORVIO_API int getPMS(int, int, int, int) { return 0; }
KORVIO_API int getPNKORV(const korvio_host*, int) { return -101; }

// Steering for the tests.
// Runs of failing_run_cable end by themselves with result after that many
// cycles; every other run logs until its flag says stop.
KORVIO_API void standin_configure(int reported_version, int failing_run_cable, int result, int cycles) {
    version.store(reported_version);
    failing_cable.store(failing_run_cable);
    ending_result.store(result);
    cycles_until_end.store(cycles);
}
KORVIO_API int standin_sio_done_calls(void) { return sio_done_calls.load(); }
KORVIO_API int standin_runs_begun(void) { return runs_begun.load(); }
KORVIO_API void standin_reset_counts(void) {
    sio_done_calls.store(0);
    runs_begun.store(0);
    runs_stored.store(0);
    runs_to_store.store(0);
}
KORVIO_API void standin_failing_run_waits_for(int runs) { runs_to_store.store(runs); }
}
