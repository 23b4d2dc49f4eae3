#include "editors/gui/pms_dialog.h"

#include "common/gui/port_dialog.h"
#include "editors/core/pms_eeprom_dump.h"
#include "editors/gui/pms_frame.h"
#include "nativeio/include/korvio_files.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pms = korv::editors::pms;

PMSdialog::PMSdialog(const korv::KorvioLibrary* library) : QDialog(nullptr), library_(library) {
    setObjectName("PMSdialog");
    const korv::PortDialogWidgets widgets = korv::build_port_dialog(
        *this, QStringLiteral("Select COM port for access to the PMS"), "ok_button", "status_line");
    prompt = widgets.prompt;
    port_list = widgets.port_list;
    ok_button = widgets.ok_button;
    cancel_button = widgets.cancel_button;
    status_line = widgets.status_line;
    ok_button->setAutoDefault(false);
    cancel_button->setAutoDefault(false);

    connect(ok_button, &QPushButton::clicked, this, &PMSdialog::ok_button_actionPerformed);
    connect(cancel_button, &QPushButton::clicked, this, &PMSdialog::cancel_button_actionPerformed);
}

PMSdialog::~PMSdialog() = default;

void PMSdialog::setVisible(bool visible) {
    if (status_line) status_line->setText(QString::fromLatin1(idle_status));
    QDialog::setVisible(visible);
}

void PMSdialog::reject() {
    if (!downloading_) QDialog::reject();
}

void PMSdialog::closeEvent(QCloseEvent* event) {
    if (downloading_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void PMSdialog::set_downloading(bool on) {
    downloading_ = on;
    ok_button->setEnabled(!on);
    cancel_button->setEnabled(!on);
    port_list->setEnabled(!on);
}

void PMSdialog::ok_button_actionPerformed() {
    if (downloading_) return;
    const int choice = port_list->currentIndex();
    if (choice <= 0) {
        error_.error_rtn(QStringLiteral("No COM port selected!"));
        return;
    }
    set_downloading(true);
    const korv::KorvioLibrary* library = library_;
    const auto failed = worker_.run(
        [library, port = choice - 1] {
            Outcome outcome;
            try {
                const korv::KorvioLibrary& bound = library ? *library : korv::KorvioLibrary::shared();
                outcome.library = korv::check_library(bound);
                if (outcome.library == korv::LibraryCheck::ready) outcome.result = bound.getPMS(port, 1, 0, 0);
            } catch (const korv::KorvioUnavailable&) {
                outcome.library = korv::LibraryCheck::missing;
            }
            return outcome;
        },
        [this](const Outcome& outcome) { download_ended(outcome); });
    if (failed) {
        set_downloading(false);
        error_.error_rtn(QString::fromLocal8Bit(failed->c_str()));
    }
}

void PMSdialog::download_ended(const Outcome& outcome) {
    set_downloading(false);
    switch (outcome.library) {
    case korv::LibraryCheck::missing: error_.error_rtn(QString::fromLatin1(korv::kKorvioMissingMessage)); return;
    case korv::LibraryCheck::wrong_version:
        error_.error_rtn(QString::fromLatin1(korv::kKorvioWrongVersionMessage));
        return;
    case korv::LibraryCheck::ready: break;
    }
    if (outcome.result != 0) {
        error_.error_rtn(QStringLiteral("PMS access error: ") + QString::number(outcome.result));
        return;
    }
    const std::string failed = pms::convert_eeprom_dump(korv::korvio_files::kPmsDumpName, pms::kDownloadImageName);
    if (!failed.empty()) {
        error_.error_rtn(QString::fromStdString(failed));
        return;
    }
    if (pms_frame) {
        pms_frame->set_config(QString::fromLatin1(pms::kDownloadImageName), QDir::currentPath() + QLatin1Char('/'));
        pms_frame->recall_data();
        pms_frame->display_pgm();
    }
    hide();
}

void PMSdialog::cancel_button_actionPerformed() {
    if (!downloading_) hide();
}
