#include "logger/gui/logobdthread.h"

#include "common/core/korvio_library.h"
#include "common/gui/window_place.h"
#include "logger/core/interface_settings.h"
#include "logger/core/logger_texts.h"
#include "logger/gui/chartcontrol.h"
#include "logger/gui/logobdframe.h"
#include "logger/gui/serialio.h"

LOGOBDThread::LOGOBDThread(korv::logger::KorvLogHost& korv, QPushButton* interface_button, const QString& title,
                           int cable_type)
    : korv_handle_(korv), interface_button_(interface_button), title_(title), cable_type_(cable_type) {}

LOGOBDThread::~LOGOBDThread() = default;

korv::logger::LogSettingsFrame* LOGOBDThread::obd_frame() const { return obd_frame_.get(); }

void LOGOBDThread::run() {
    if (!sio_) {
        sio_ = std::make_unique<serialio>(korv_handle_.library());
        int version = -1;
        try {
            version = sio_->getver();
        } catch (const korv::KorvioUnavailable&) {
            // Reported below, like a wrong version.
        }
        if (version != korv::kRequiredKorvioVersion) {
            error_rtn(QString::fromStdString(korv::logger::kLibraryMessage));
            return;
        }
    }
    if (!obd_frame_) obd_frame_ = std::make_unique<LOGOBDframe>();
    LOGOBDframe& frame = *obd_frame_;

    // The DSM and PMS frames keep their preset cable.
    if (cable_type_ >= korv::logger::kFirstLockedCableChoice) {
        frame.cable_type->setCurrentIndex(cable_type_);
        frame.cable_type->setEnabled(false);
        frame.obd_link = false;
    } else {
        frame.obd_link = true;
    }
    frame.set_controls();
    frame.setWindowTitle(title_);
    korv::place_for_first_show(frame, korv_handle_.start_window());
    frame.show();

    frame.serial_handle = sio_.get();
    frame.thread_handle = this;
    frame.korv_handle = &korv_handle_;
    frame.interface_button = interface_button_;
    korv_handle_.set_obd_frame(&frame);
    sio_->set_korv_handle(&korv_handle_);
    frame.chartcontrol_frame = chartcontrol_of(korv_handle_);
    if (frame.chartcontrol_frame) frame.chartcontrol_frame->set_pf(&frame);
}
