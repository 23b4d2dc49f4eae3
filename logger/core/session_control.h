#pragma once

#include <array>

#include "logger/core/log_family.h"

// Which run buttons of the start window are usable, from the state of the
// logging threads. A run counts as running from Start until its thread has
// ended, its save step included: Start stays disabled meanwhile, so a new
// run can never overwrite a dump that has not been saved, and the window
// refuses to close, so a save is never cut off.
namespace korv::logger {

enum class RunPhase {
    idle,      // no thread of this family alive
    starting,  // thread started, library version not yet checked
    logging,   // the engine runs (run or pause)
    saving,    // the engine has returned; the dump is being saved
};

class SessionControl {
public:
    // Settings frames ask for Start when items are chosen and withdraw it
    // when none are; the last request holds.
    void request_start(bool wanted) { start_requested_ = wanted; }

    void run_started(LogFamily family) { phase_[index_of(family)] = RunPhase::starting; }
    void run_logging(LogFamily family) { phase_[index_of(family)] = RunPhase::logging; }
    void run_saving(LogFamily family) { phase_[index_of(family)] = RunPhase::saving; }
    void run_finished(LogFamily family) { phase_[index_of(family)] = RunPhase::idle; }

    RunPhase phase(LogFamily family) const { return phase_[index_of(family)]; }
    bool any_alive() const;
    bool any_logging() const;

    bool start_enabled() const { return start_requested_ && !any_alive(); }
    bool stop_enabled() const { return any_logging(); }
    bool pause_enabled() const { return any_logging(); }
    bool can_close() const { return !any_alive(); }

private:
    bool start_requested_ = false;
    std::array<RunPhase, 3> phase_{RunPhase::idle, RunPhase::idle, RunPhase::idle};
};

}  // namespace korv::logger
