#pragma once
// What the engines need from their caller: a stop flag and callbacks. They
// are looked up before the first request of a run and before its dump exists.
#include "nativeio/include/korvio.h"

namespace korv::korvio {

enum class StopFlagFamily { Obd, Drb };

// Stop flag values the caller sets.
inline constexpr int kStopFlagStop = 0;
inline constexpr int kStopFlagRun = 1;
inline constexpr int kStopFlagPause = 2;

// Look-ups of a logging run, in order: the family's stop flag (-199 when it
// or the host is missing), update_status, update_pause and, where the engine
// charts, plot_point (-101 each). 0 when everything is there.
int look_up_engine_host(const korvio_host* host, StopFlagFamily family, bool needs_plot_point);

// The handheld transfer's only look-up: update_pnkorv (-101).
int look_up_transfer_host(const korvio_host* host);

// The family's flag of a host that passed its look-up.
const int* stop_flag(const korvio_host& host, StopFlagFamily family);

// Read once per polling cycle; the caller writes it from another thread.
inline int read_stop_flag(const int* flag) { return __atomic_load_n(flag, __ATOMIC_ACQUIRE); }

}  // namespace korv::korvio
