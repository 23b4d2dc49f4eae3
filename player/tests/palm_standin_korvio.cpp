// A stand-in for libkorvio.so with the same C ABI, for the handheld front
// end's tests: getPNKORV reports progress like the real transfer and leaves
// a scripted dump in kvt1.tmp. Extra entry points let a test steer it,
// including holding the transfer open until the test lets it go.
#include "nativeio/include/korvio.h"
#include "nativeio/include/korvio_files.h"

#include "testsupport/standin_gate.h"

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <vector>

namespace {

korv::testsupport::StandinGate gate;
std::mutex& lock = gate.lock;
int version = KORVIO_VERSION;
int result = 0;
bool write_dump = true;
std::vector<std::uint8_t> dump;
int last_port = -1;

void progress(const korvio_host* host, int n) { host->update_pnkorv(host->object, n); }

}  // namespace

extern "C" {

// The version getver gives, getPNKORV's result, and the dump it leaves
// (dump_len < 0: kvt1.tmp is not touched).
KORVIO_API void palm_standin_script(int ver, int transfer_result, const std::uint8_t* bytes, int dump_len) {
    const std::lock_guard<std::mutex> guard(lock);
    version = ver;
    result = transfer_result;
    write_dump = dump_len >= 0;
    dump.assign(bytes, bytes + (dump_len > 0 ? dump_len : 0));
}

// While held, getPNKORV waits after its first progress call.
KORVIO_API void palm_standin_hold(int on) { gate.hold(on != 0); }

KORVIO_API int palm_standin_waiting() { return gate.waiting() ? 1 : 0; }

KORVIO_API int palm_standin_last_port() {
    const std::lock_guard<std::mutex> guard(lock);
    return last_port;
}

KORVIO_API int SioReset(int, int, int, int) { return 0; }
KORVIO_API int SioDone(int) { return 0; }
KORVIO_API int logdata(const korvio_host*, int, int, int cable, const int*, int, int) { return cable; }
KORVIO_API int getDTC(int, int) { return 0; }
KORVIO_API int clearDTC(int) { return 0; }
KORVIO_API int dodiag(int, int) { return 0; }
KORVIO_API int getPMS(int, int, int, int) { return 0; }

KORVIO_API int getver(void) {
    const std::lock_guard<std::mutex> guard(lock);
    return version;
}

KORVIO_API int getPNKORV(const korvio_host* host, int port) {
    if (!host || !host->update_pnkorv) return -101;
    {
        const std::lock_guard<std::mutex> guard(lock);
        last_port = port;
    }
    progress(host, 1);  // waiting for the button
    {
        std::unique_lock<std::mutex> held(lock);
        gate.pass(held);
    }
    progress(host, 1);
    progress(host, 1);

    std::vector<std::uint8_t> bytes;
    bool write = false;
    int answer = 0;
    {
        const std::lock_guard<std::mutex> guard(lock);
        bytes = dump;
        write = write_dump;
        answer = result;
    }
    if (write) {
        std::FILE* out = std::fopen(korv::korvio_files::kHandheldDumpName, "wb");
        if (!out) return -100;
        const bool whole = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
        if (std::fclose(out) != 0 || !whole) return -100;
        // One call per byte after the handshake, as W per record would add up.
        for (std::size_t i = 0; i < bytes.size(); ++i) progress(host, 1);
    }
    return answer;
}

}  // extern "C"
