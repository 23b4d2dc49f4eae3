#pragma once
// Korvlog's binding to the korvio library: its entry points, the three
// stop flags the logging engines poll, and the engines' callbacks.
//
// The callbacks arrive on the logging thread that called logdata; they copy
// their arguments and hand them to the GUI thread, which alone touches the
// status field, the Pause button, the data-value panel and the charts.
#include <QLineEdit>
#include <QPointer>
#include <memory>

#include "common/core/korvio_library.h"
#include "logger/core/log_family.h"
#include "logger/gui/korvlog_host.h"
#include "logger/gui/logger_parts.h"

class serialio {
public:
    // Construct on the GUI thread. The library is the process-wide one
    // unless a test hands in another.
    explicit serialio(const korv::KorvioLibrary& library = korv::KorvioLibrary::shared());
    ~serialio();
    serialio(const serialio&) = delete;
    serialio& operator=(const serialio&) = delete;

    // The stop flags: 1 run, 2 pause, 0 stop; all 1 at program start.
    static int stop_flag(korv::logger::LogFamily family);
    static void set_stop_flag(korv::logger::LogFamily family, int value);
    static void set_all_stop_flags(int value);
    // Run <-> pause in one atomic step, leaving a stop (0) alone. Returns
    // the value written, 0 when the flag was stopped.
    static int toggle_pause(korv::logger::LogFamily family);

    // GUI thread, before the first call into the library.
    void set_korv_handle(korv::logger::KorvLogHost* korv);
    korv::logger::KorvLogHost* korv_handle() const { return korv_handle_; }
    void set_status(QLineEdit* status) { status_ = status; }
    // The settings frame whose charts this object's samples go to; without
    // one they go to the start window's most recently built frame.
    void set_settings_frame(korv::logger::LogSettingsFrame* frame) { settings_frame_ = frame; }
    korv::logger::DataValuePanel* datavalue_handle() const { return datavalue_handle_; }

    // The library's entry points (KorvioUnavailable when it is not bound).
    int SioReset(int cable, int port, int in_queue, int out_queue);
    int SioDone(int port);
    int logdata(int port, int mode, int cable, const korv::logger::ItemList& items, int chart_flag);
    int getDTC(int port, int cable);
    void clearDTC(int port);
    int getver();
    int dodiag(int port, int code);

    // The callbacks; any thread.
    void update_status(int n);
    void update_pause(int flag);
    void plot_point(int cable, int port, int hi, int lo, int code);

private:
    static int& flag_of(korv::logger::LogFamily family);
    template <class Work>
    void on_gui_thread(Work&& work);
    void plot_on_gui_thread(int cable, int port, int hi, int lo, int code);
    void chart_sample(int cable, int port, int hi, int lo, int code);

    // Read by the engines through the host's pointers; only ever accessed
    // here through std::atomic_ref.
    static inline int obd_stop_flag = 1;
    static inline int drb_stop_flag = 1;
    static inline int pms_stop_flag = 1;

    const korv::KorvioLibrary& library_;
    korv::logger::KorvLogHost* korv_handle_ = nullptr;
    QPointer<QLineEdit> status_;
    korv::logger::LogSettingsFrame* settings_frame_ = nullptr;
    korv::logger::DataValuePanel* datavalue_handle_ = nullptr;
    // Posted callbacks run in this object's context and die with it.
    std::unique_ptr<QObject> context_;
};
