#pragma once
// The caller's stop flag as every logging loop follows it: read once a pass,
// update_pause(value) on each change, and a note when a pause is left.
#include "nativeio/core/host.h"

namespace korv::korvio {

class StopFlagWatch {
public:
    // The host has passed look_up_engine_host for this family.
    StopFlagWatch(const korvio_host& host, StopFlagFamily family) : host_(host), flag_(stop_flag(host, family)) {}

    // The value last read; a run starts as if it had read 1.
    int last() const { return last_; }
    bool paused() const { return last_ == kStopFlagPause; }
    bool stopped() const { return last_ == kStopFlagStop; }

    // Reads the flag and reports a change through update_pause. True when
    // this read left a pause.
    bool read() {
        const int value = read_stop_flag(flag_);
        if (value == last_) return false;
        const bool left_pause = last_ == kStopFlagPause;
        last_ = value;
        host_.update_pause(host_.object, value);
        return left_pause;
    }

    // The flag as it is now, without reporting: for long set-ups that give
    // up once the caller no longer asks to run.
    bool still_running() const { return read_stop_flag(flag_) == kStopFlagRun; }

private:
    const korvio_host& host_;
    const int* flag_;
    int last_ = kStopFlagRun;
};

}  // namespace korv::korvio
