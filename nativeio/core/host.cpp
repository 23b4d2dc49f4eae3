#include "nativeio/core/host.h"

#include "nativeio/core/result_codes.h"

namespace korv::korvio {

const int* stop_flag(const korvio_host& host, StopFlagFamily family) {
    return family == StopFlagFamily::Obd ? host.obd_stop_flag : host.drb_stop_flag;
}

int look_up_engine_host(const korvio_host* host, StopFlagFamily family, bool needs_plot_point) {
    if (!host || !stop_flag(*host, family)) return kStopFlagMissing;
    if (!host->update_status) return kBadArgument;
    if (!host->update_pause) return kBadArgument;
    if (needs_plot_point && !host->plot_point) return kBadArgument;
    return kDone;
}

int look_up_transfer_host(const korvio_host* host) { return host && host->update_pnkorv ? kDone : kBadArgument; }

}  // namespace korv::korvio
