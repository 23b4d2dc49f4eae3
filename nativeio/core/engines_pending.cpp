// Engines this build does not carry yet. They make the look-ups a run makes
// before its first request, so callers see the host rules already, and then
// answer -101.
#include "nativeio/core/engines.h"
#include "nativeio/core/host.h"
#include "nativeio/core/result_codes.h"

namespace korv::korvio {

int run_obd_engine(const LoggingRun& run) {
    // Cables 2 and 3 bring their link up before the look-ups.
    if (run.cable == 2 || run.cable == 3) return kNotAvailable;
    if (run.mode == kModeRun)
        if (int r = look_up_engine_host(run.host, StopFlagFamily::Obd, run.cable == 1); r != kDone) return r;
    return kNotAvailable;
}

int run_dsm_engine(const LoggingRun& run) {
    if (run.mode == kModeRun)
        if (int r = look_up_engine_host(run.host, StopFlagFamily::Drb, true); r != kDone) return r;
    return kNotAvailable;
}

int read_trouble_codes(int, int) { return kNotAvailable; }
int clear_trouble_codes(int) { return kNotAvailable; }
int run_pms_session(int, int) { return kNotAvailable; }

int run_handheld_transfer(const korvio_host* host, int) {
    if (int r = look_up_transfer_host(host); r != kDone) return r;
    return kNotAvailable;
}

} // namespace korv::korvio
