#pragma once
// What the logger's other windows call on the start window (KorvLog): the
// settings threads and frames, the chart control and charts, the logging
// runs and the library's callbacks hold the start window as this, not as
// its class. The start window owns all of them, so it outlives each one.
#include <QString>

#include "logger/core/log_family.h"
#include "logger/core/port_use.h"
#include "logger/gui/logger_parts.h"

namespace korv {
class KorvioLibrary;
}

namespace korv::logger {

class KorvLogHost {
public:
    virtual ~KorvLogHost() = default;

    // The library every frame and run of this window uses.
    virtual const KorvioLibrary& library() const = 0;
    // Shows the message in the start window's error dialog; any thread.
    virtual void error_rtn(const QString& message) = 0;

    // For the settings threads and frames; GUI thread.
    // The settings frame built most recently, whatever its family.
    virtual LogSettingsFrame* obd_frame() const = 0;
    virtual void set_obd_frame(LogSettingsFrame* frame) = 0;
    // Which port numbers a settings frame holds open.
    virtual PortUsed& port_table() = 0;
    // The start window, whose controls the settings frames leave clear when
    // they first show; null when there is none to keep clear.
    virtual const QWidget* start_window() const { return nullptr; }
    // Start is wanted while a frame has items.
    virtual void request_start(bool wanted) = 0;
    // A run is logging (Stop and Pause are usable).
    virtual bool logging_active() const = 0;
    // Any logging thread alive, its save step included.
    virtual bool run_alive() const = 0;

    // For the charts and the live callbacks; GUI thread.
    // "Enable Charts" is ticked.
    virtual bool charts_ticked() const = 0;
    virtual ChartControl* chartcontrol_frame() const = 0;
    // The one data-value panel shared by every run; null until made.
    virtual DataValuePanel* datavalue_handle() const = 0;
    virtual DataValuePanel* create_datavalues() = 0;
    // The engine saw its stop flag change.
    virtual void show_pause_state(int flag) = 0;

    // For the logging runs; any thread.
    virtual void post_run_logging(LogFamily family) = 0;
    virtual void post_run_saving(LogFamily family) = 0;
    virtual void post_run_finished(LogFamily family) = 0;
    // The save step of a run; type is a LogType's number.
    virtual void save_log_file(int type) = 0;
};

}  // namespace korv::logger
