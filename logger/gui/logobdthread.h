#pragma once
// LOGOBDThread, the settings step of one interface family: on the first
// press of the family's button it checks the library, builds the family's
// settings frame (the DSM frame with its cable locked), shows it and makes
// it the start window's most recently built frame. It only builds windows,
// so it runs on the GUI thread.
#include <QPushButton>
#include <QString>
#include <memory>

#include "common/gui/error_reporter.h"
#include "logger/gui/korvlog_host.h"
#include "logger/gui/logger_parts.h"

class LOGOBDThread1;
class LOGOBDframe;
class serialio;

class LOGOBDThread : public korv::logger::LogSettingsThread {
public:
    // cable_type: the preset cable choice index (0 none, 5 DSM, 6 PMS).
    LOGOBDThread(korv::logger::KorvLogHost& korv, QPushButton* interface_button, const QString& title, int cable_type);
    ~LOGOBDThread() override;

    void start() override { run(); }
    korv::logger::LogSettingsFrame* obd_frame() const override;
    void set_log_handle(LOGOBDThread1* run) override { log_handle_ = run; }

    LOGOBDframe* frame() const { return obd_frame_.get(); }
    LOGOBDThread1* log_handle() const { return log_handle_; }
    serialio* sio() const { return sio_.get(); }
    const QString& title() const { return title_; }
    int cable_type() const { return cable_type_; }
    void error_rtn(const QString& message) { error_diag_.error_rtn(message); }
    korv::ErrorReporter& reporter() { return error_diag_; }

private:
    void run();

    korv::logger::KorvLogHost& korv_handle_;
    QPushButton* interface_button_;
    const QString title_;
    const int cable_type_;
    LOGOBDThread1* log_handle_ = nullptr;
    korv::ErrorReporter error_diag_;
    std::unique_ptr<serialio> sio_;
    // After the binding: the frame's library work ends before it goes.
    std::unique_ptr<LOGOBDframe> obd_frame_;
};
