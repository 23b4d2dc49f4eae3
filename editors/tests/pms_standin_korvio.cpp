// A stand-in for libkorvio.so with the same C ABI, for the PMS download
// dialog's tests: getPMS leaves a scripted temp.bcf and result, and can be
// held inside the call until the test lets it go.
#include "nativeio/include/korvio.h"
#include "nativeio/include/korvio_files.h"

#include "testsupport/standin_gate.h"

#include <cstdio>
#include <mutex>
#include <string>

namespace {

korv::testsupport::StandinGate gate;
std::mutex& lock = gate.lock;
int version = KORVIO_VERSION;
int result = 0;
bool write_dump = true;
std::string dump;
int calls = 0;
int last_args[4] = {-1, -1, -1, -1};

}  // namespace

extern "C" {

// The version getver gives, getPMS's result and the dump it leaves
// (dump_len < 0: temp.bcf is not touched).
KORVIO_API void pms_standin_script(int ver, int download_result, const char* bytes, int dump_len) {
    const std::lock_guard<std::mutex> guard(lock);
    version = ver;
    result = download_result;
    write_dump = dump_len >= 0;
    dump.assign(bytes ? bytes : "", dump_len > 0 ? dump_len : 0);
}

// While held, getPMS waits before it returns.
KORVIO_API void pms_standin_hold(int on) { gate.hold(on != 0); }

KORVIO_API int pms_standin_waiting() { return gate.waiting() ? 1 : 0; }

// How often getPMS ran, and its arguments the last time.
KORVIO_API int pms_standin_calls(int* args) {
    const std::lock_guard<std::mutex> guard(lock);
    for (int i = 0; i < 4; ++i) args[i] = last_args[i];
    return calls;
}

KORVIO_API int SioReset(int, int, int, int) { return 0; }
KORVIO_API int SioDone(int) { return 0; }
KORVIO_API int logdata(const korvio_host*, int, int, int, const int*, int, int) { return 0; }
KORVIO_API int getDTC(int, int) { return 0; }
KORVIO_API int clearDTC(int) { return 0; }
KORVIO_API int getver(void) {
    const std::lock_guard<std::mutex> guard(lock);
    return version;
}
KORVIO_API int dodiag(int, int) { return 0; }
KORVIO_API int getPNKORV(const korvio_host*, int) { return 0; }

KORVIO_API int getPMS(int port, int mode, int a, int b) {
    std::unique_lock<std::mutex> guard(lock);
    ++calls;
    last_args[0] = port, last_args[1] = mode, last_args[2] = a, last_args[3] = b;
    if (write_dump) {
        if (std::FILE* out = std::fopen(korv::korvio_files::kPmsDumpName, "wb")) {
            std::fwrite(dump.data(), 1, dump.size(), out);
            std::fclose(out);
        }
    }
    gate.pass(guard);
    return result;
}

}  // extern "C"
