// A scripted stand-in for libkorvio.so with the same C ABI, for the settings
// frame's tests: every call is written to a journal, each result is set by
// the test, getDTC writes the dtc.tmp the test gave it, and a hold makes
// every call wait until released, so a test can look at the window while
// the library is busy. A mode-2 logdata polls its stop flag until 0.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "nativeio/include/korvio.h"
#include "nativeio/include/korvio_files.h"

namespace {

std::mutex mutex;
std::string journal;
std::map<int, int> reset_results;  // by cable (99 = open only); missing: 0
int probe_result = 0;
int dtc_result = 0;
std::vector<unsigned char> dtc_bytes;
bool dtc_written = true;
std::vector<unsigned char> dtc_bytes_after_clear;
bool cleared = false;

std::atomic<bool> holding{false};
std::atomic<int> waiting{0};

void note(const std::string& call) {
    std::lock_guard lock(mutex);
    journal += call + ";";
}

void wait_while_held() {
    if (!holding.load()) return;
    waiting.fetch_add(1);
    while (holding.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    waiting.fetch_sub(1);
}

std::string args(std::initializer_list<int> values) {
    std::string text;
    for (int v : values) text += (text.empty() ? "" : ",") + std::to_string(v);
    return "(" + text + ")";
}

int run_until_stopped(const korvio_host* host, int cable, const int* items, int item_count) {
    if (!host || !host->obd_stop_flag || !host->drb_stop_flag) return -199;
    if (!host->update_status || !host->update_pause) return -101;
    // A dump head of the items and one record, so the save step has
    // something to ask for.
    const bool dsm = cable == 4;
    const char* dump_name = dsm ? korv::korvio_files::kDsmDump.name : korv::korvio_files::kObdDump.name;
    if (std::FILE* dump = std::fopen(dump_name, "wb")) {
        std::vector<unsigned char> head(4, 0);
        std::vector<unsigned char> record;
        for (int i = 0; i < item_count; ++i) {
            if (items[i] < 0) continue;
            ++head[0];
            head.push_back(static_cast<unsigned char>(items[i]));
            record.push_back(static_cast<unsigned char>(items[i]));
            record.insert(record.end(), dsm ? 1 : 2, 0);
        }
        std::fwrite(head.data(), 1, head.size(), dump);
        std::fwrite(record.data(), 1, record.size(), dump);
        std::fclose(dump);
    }
    int* flag = cable == 4 ? host->drb_stop_flag : host->obd_stop_flag;
    int cycles = 0;
    while (__atomic_load_n(flag, __ATOMIC_ACQUIRE) != 0) {
        host->update_status(host->object, ++cycles);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return 0;
}

}  // namespace

extern "C" {

KORVIO_API int SioReset(int cable, int port, int in_queue, int out_queue) {
    note("SioReset" + args({cable, port, in_queue, out_queue}));
    wait_while_held();
    std::lock_guard lock(mutex);
    const auto found = reset_results.find(cable);
    return found == reset_results.end() ? 0 : found->second;
}

KORVIO_API int SioDone(int port) {
    note("SioDone" + args({port}));
    wait_while_held();
    return 1;
}

KORVIO_API int logdata(const korvio_host* host, int port, int mode, int cable, const int* items, int item_count,
                       int chart_flag) {
    std::string list;
    for (int i = 0; i < item_count; ++i) {
        if (items[i] >= 0) list += (list.empty() ? "" : " ") + std::to_string(items[i]);
    }
    note("logdata" + args({port, mode, cable, chart_flag}) + "[" + list + "]");
    wait_while_held();
    if (mode == 2) return run_until_stopped(host, cable, items, item_count);
    std::lock_guard lock(mutex);
    return probe_result;
}

KORVIO_API int getDTC(int port, int cable) {
    note("getDTC" + args({port, cable}));
    wait_while_held();
    std::lock_guard lock(mutex);
    if (dtc_result != 0 || !dtc_written) return dtc_result;
    const std::vector<unsigned char>& bytes = cleared ? dtc_bytes_after_clear : dtc_bytes;
    if (std::FILE* out = std::fopen(korv::korvio_files::kDtcReportName, "wb")) {
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
    }
    return 0;
}

KORVIO_API int clearDTC(int port) {
    note("clearDTC" + args({port}));
    wait_while_held();
    std::lock_guard lock(mutex);
    cleared = true;
    return 0;
}

KORVIO_API int getver(void) { return KORVIO_VERSION; }

KORVIO_API int dodiag(int port, int code) {
    note("dodiag" + args({port, code}));
    wait_while_held();
    return 0;
}

KORVIO_API int getPMS(int, int, int, int) { return 0; }
KORVIO_API int getPNKORV(const korvio_host*, int) { return -101; }

// Steering for the tests.
KORVIO_API void standin_reset(void) {
    std::lock_guard lock(mutex);
    journal.clear();
    reset_results.clear();
    probe_result = 0;
    dtc_result = 0;
    dtc_bytes.clear();
    dtc_written = true;
    dtc_bytes_after_clear.clear();
    cleared = false;
    holding.store(false);
}
KORVIO_API int standin_journal(char* buffer, int size) {
    std::lock_guard lock(mutex);
    if (size <= 0) return static_cast<int>(journal.size());
    const std::size_t n = std::min(journal.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, journal.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}
KORVIO_API void standin_clear_journal(void) {
    std::lock_guard lock(mutex);
    journal.clear();
}
KORVIO_API void standin_set_reset_result(int cable, int result) {
    std::lock_guard lock(mutex);
    reset_results[cable] = result;
}
KORVIO_API void standin_set_probe_result(int result) {
    std::lock_guard lock(mutex);
    probe_result = result;
}
// written 0: getDTC returns result without touching dtc.tmp.
KORVIO_API void standin_set_dtc(int result, int written, const unsigned char* bytes, int length,
                                const unsigned char* after_clear, int after_clear_length) {
    std::lock_guard lock(mutex);
    dtc_result = result;
    dtc_written = written != 0;
    dtc_bytes.assign(bytes, bytes + length);
    dtc_bytes_after_clear.assign(after_clear, after_clear + after_clear_length);
    cleared = false;
}
KORVIO_API void standin_hold(int on) { holding.store(on != 0); }
KORVIO_API int standin_waiting(void) { return waiting.load(); }
}
