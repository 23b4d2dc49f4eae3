// The exported entry points: argument checks and dispatch to the engines.
#include "nativeio/include/korvio.h"
#include "nativeio/include/korvio_files.h"

#include "nativeio/core/cable_reset.h"
#include "nativeio/core/dodiag.h"
#include "nativeio/core/engines.h"
#include "nativeio/core/item_list.h"
#include "nativeio/core/logger_dump.h"
#include "nativeio/core/port_table.h"

using namespace korv::korvio;

extern "C" {

KORVIO_API int SioReset(int cable, int port, int, int) { return reset_cable(cable, port); }

KORVIO_API int SioDone(int port) {
    if (port == kDemoPort) return kDone;  // nothing was opened for it
    return SioClose(port);
}

KORVIO_API int logdata(const korvio_host* host, int port, int mode, int cable, const int* items, int item_count,
                       int chart_flag) {
    if (cable < 0 || cable > 4) return cable;
    // The caller takes the dump after a run for that run's own: an earlier
    // one goes before anything here can fail. A probe writes no dump.
    if (mode == kModeRun) {
        const char* dump = (cable == 4 ? korv::korvio_files::kDsmDump : korv::korvio_files::kObdDump).name;
        if (int r = remove_logger_dump(dump); r != kDone) return r;
    }
    LoggingRun run{host, port, mode, cable, {}, chart_flag};
    if (int r = read_item_list(items, item_count, &run.items); r != kDone) return r;
    return cable == 4 ? run_dsm_engine(run) : run_obd_engine(run);
}

KORVIO_API int getDTC(int port, int cable) { return read_trouble_codes(port, cable); }

KORVIO_API int clearDTC(int port) { return clear_trouble_codes(port); }

KORVIO_API int getver(void) { return kVersion; }

KORVIO_API int dodiag(int port, int code) { return run_actuator_test(port, code); }

KORVIO_API int getPMS(int port, int mode, int, int) { return run_pms_session(port, mode); }

KORVIO_API int getPNKORV(const korvio_host* host, int port) { return run_handheld_transfer(host, port); }

}  // extern "C"
