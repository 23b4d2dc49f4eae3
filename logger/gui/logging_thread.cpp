#include "logger/gui/logging_thread.h"

#include <exception>

#include "logger/core/logger_texts.h"
#include "logger/core/stop_flags.h"

using korv::logger::KorvLogHost;
using korv::logger::LogFamily;

LOGOBDThread1::LOGOBDThread1(KorvLogHost& korv, korv::logger::LogSettingsFrame* frame, const RunSettings& settings,
                             QLineEdit* status, const korv::KorvioLibrary& library)
    : korv_(korv), frame_(frame), settings_(settings), sio_(library) {
    sio_.set_korv_handle(&korv);
    sio_.set_status(status);
    // Each run's samples go to its own frame's charts, also when two runs
    // of two families chart at once.
    sio_.set_settings_frame(frame);
}

LOGOBDThread1::~LOGOBDThread1() { join(); }

void LOGOBDThread1::start() {
    thread_ = std::thread([this] { run(); });
}

void LOGOBDThread1::join() {
    if (thread_.joinable()) thread_.join();
}

int LOGOBDThread1::checked_version() {
    try {
        return sio_.getver();
    } catch (const korv::KorvioUnavailable&) {
        return -1;
    }
}

void LOGOBDThread1::run() {
    // Whatever happens below, the window hears of the end, so it can
    // always be closed again.
    struct Finished {
        KorvLogHost& korv;
        LogFamily family;
        ~Finished() { korv.post_run_finished(family); }
    } finished{korv_, settings_.family};
    try {
        run_steps();
    } catch (const std::exception& failure) {
        error_rtn(QString::fromLocal8Bit(failure.what()));
        serialio::set_all_stop_flags(korv::logger::kFlagStop);
    }
}

void LOGOBDThread1::run_steps() {
    const LogFamily family = settings_.family;
    if (checked_version() != korv::kRequiredKorvioVersion) {
        error_rtn(QString::fromStdString(korv::logger::kLibraryMessage));
        // The other runs end too, as after any run.
        serialio::set_all_stop_flags(korv::logger::kFlagStop);
        return;
    }
    korv_.post_run_logging(family);

    int result = 0;
    try {
        result = sio_.logdata(settings_.selected_port, 2, settings_.selected_cable, settings_.log_items,
                              settings_.chart_flag);
    } catch (const korv::KorvioUnavailable&) {
        result = -1;
    }
    if (result != 0) error_rtn(QString::fromStdString(korv::logger::data_logging_error(result)));

    // Every run ends with this one; the flags are 0 before the save so the
    // other engines do not go on logging while the user names a file.
    serialio::set_all_stop_flags(korv::logger::kFlagStop);
    korv_.post_run_saving(family);
    try {
        korv_.save_log_file(static_cast<int>(korv::logger::traits_of(family).type));
    } catch (const std::exception& failure) {
        korv_.error_rtn(QString("Error saving log data: ") + QString::fromLocal8Bit(failure.what()));
    }
}
