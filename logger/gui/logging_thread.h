#pragma once
// One logging run of one interface family (LOGOBDThread1): checks the
// library, runs the engine until the stop flags end it, then saves the
// run's samples. Built and started by Start on the GUI thread; the run
// itself, the library's callbacks and the save step happen on its thread.
#include <QLineEdit>
#include <QString>
#include <memory>
#include <thread>

#include "common/core/korvio_library.h"
#include "common/gui/error_reporter.h"
#include "logger/core/log_family.h"
#include "logger/gui/korvlog_host.h"
#include "logger/gui/logger_parts.h"
#include "logger/gui/serialio.h"

class LOGOBDThread1 {
public:
    // What the run uses, copied from its settings frame when Start is
    // pressed, so later changes in the frame cannot reach a running engine.
    struct RunSettings {
        korv::logger::LogFamily family = korv::logger::LogFamily::obd;
        int selected_port = -1;
        int selected_cable = -1;
        korv::logger::ItemList log_items{};
        int chart_flag = 0;
    };

    // GUI thread.
    LOGOBDThread1(korv::logger::KorvLogHost& korv, korv::logger::LogSettingsFrame* frame, const RunSettings& settings,
                  QLineEdit* status, const korv::KorvioLibrary& library);
    ~LOGOBDThread1();  // waits for the thread
    LOGOBDThread1(const LOGOBDThread1&) = delete;
    LOGOBDThread1& operator=(const LOGOBDThread1&) = delete;

    void start();
    // GUI thread, once the thread has reported its end.
    void join();

    korv::logger::LogFamily family() const { return settings_.family; }
    const RunSettings& settings() const { return settings_; }
    korv::logger::LogSettingsFrame* frame() const { return frame_; }
    serialio& sio() { return sio_; }
    korv::ErrorReporter& reporter() { return reporter_; }
    void error_rtn(const QString& message) { reporter_.error_rtn(message); }

private:
    void run();
    void run_steps();
    int checked_version();

    korv::logger::KorvLogHost& korv_;
    korv::logger::LogSettingsFrame* frame_;
    const RunSettings settings_;
    serialio sio_;
    korv::ErrorReporter reporter_;
    std::thread thread_;
};
