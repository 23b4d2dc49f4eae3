// The settings frame's trouble-code list ("DTC", "Clear") and its
// "Actuators" button. The library's reads wait for the vehicle, so they run
// on the frame's worker while the frame's controls are disabled.
#include <exception>

#include "logger/core/actuator_tests.h"
#include "logger/core/frame_texts.h"
#include "logger/gui/actuatordialog.h"
#include "logger/gui/logobdframe.h"
#include "logger/gui/serialio.h"
#include "nativeio/include/korvio_files.h"
#include "platform/gui/windows1252_text.h"

void LOGOBDframe::dtcbutton_mouseClicked() {
    if (refused_while_logging()) return;
    read_trouble_codes(false);
}

void LOGOBDframe::cleardtcbutton_mouseClicked() {
    if (refused_while_logging()) return;
    read_trouble_codes(true);
}

void LOGOBDframe::read_trouble_codes(bool clear_first) {
    const QString shown = dtclist->toPlainText();
    const bool clear_offered = !cleardtcbutton->isHidden();
    cleardtcbutton->hide();
    dtclist->setPlainText(korv::logger::kConnectingText);

    struct Outcome {
        int result = -1;  // stays a failure when the library call throws
        korv::logger::DtcReport report;
    };
    auto outcome = std::make_shared<Outcome>();
    const int port = selected_port;
    const int cable = korv::logger::number_of_choice(cable_type->currentIndex());
    serialio* sio = serial_handle;
    const auto refused = worker_.run(
        [sio, port, cable, clear_first, outcome] {
            if (!sio) return;
            // Clearing has no result for the caller; the read that follows
            // shows what is left.
            if (clear_first) sio->clearDTC(port);
            outcome->result = sio->getDTC(port, cable);
            if (outcome->result == 0) {
                outcome->report = korv::logger::read_dtc_report(korv::korvio_files::kDtcReportName);
            }
        },
        [this, outcome] { show_trouble_codes(outcome->result, outcome->report); });
    if (refused) {
        // Nothing was read or cleared: the list stays as it was.
        dtclist->setPlainText(shown);
        cleardtcbutton->setVisible(clear_offered);
        error_rtn(QString::fromStdString(*refused));
    }
}

void LOGOBDframe::show_trouble_codes(int result, const korv::logger::DtcReport& report) {
    using Status = korv::logger::DtcReport::Status;
    // On a failure the list keeps "Connecting, please wait".
    if (result != 0 || report.status == Status::no_data) {
        error_rtn(korv::logger::kNoDtcData);
        return;
    }
    if (report.status == Status::no_file) {
        error_rtn(korv::logger::kNoDtcFile);
        return;
    }
    const std::string text = korv::logger::dtc_list_text(report.lines);
    dtclist->setPlainText(korv::platform::qstring_from_windows1252(text));
    // The DSM link has no clear command.
    if (report.count > 0 && selected_cable != korv::logger::kDsmCableNumber) cleardtcbutton->show();
}

void LOGOBDframe::actuatortests_mouseClicked() {
    if (refused_while_logging()) return;
    try {
        delete actuator_dialog_;
        actuator_dialog_ = new actuatordialog(this, serial_handle, selected_port);
        // However the dialog is left, every test is stopped.
        connect(actuator_dialog_, &QDialog::finished, this, &LOGOBDframe::send_stop_all);
        actuator_dialog_->setModal(true);
        actuator_dialog_->show();
    } catch (const std::exception&) {
        // The tests are a convenience; a dialog that cannot be shown is ignored.
    }
}

void LOGOBDframe::send_stop_all() {
    serialio* sio = serial_handle;
    const int port = selected_port;
    const auto refused = worker_.run(
        [sio, port] {
            if (sio) sio->dodiag(port, korv::logger::kStopAllTests);
        },
        nullptr);
    // A test left running must not go unnoticed.
    if (refused) error_rtn(QString::fromStdString(*refused));
}
