#include "player/gui/pnkorv_dialog.h"

#include "common/gui/port_dialog.h"

#include "player/core/palm_transfer_texts.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

PNKORVdialog::PNKORVdialog() : QDialog(nullptr) {
    setObjectName("PNKORVdialog");
    setWindowTitle(QString());
    setModal(false);
    const korv::PortDialogWidgets widgets = korv::build_port_dialog(
        *this, QStringLiteral("Select COM port for access to the Palm Pilot"), "start_log", "eeprom_status");
    prompt = widgets.prompt;
    port_list = widgets.port_list;
    start_log = widgets.ok_button;
    cancel_button = widgets.cancel_button;
    eeprom_status = widgets.status_line;

    connect(start_log, &QPushButton::clicked, this, &PNKORVdialog::start_log_actionPerformed);
    connect(cancel_button, &QPushButton::clicked, this, &PNKORVdialog::cancel_button_actionPerformed);
}

void PNKORVdialog::set_controls_visible(bool visible) {
    start_log->setVisible(visible);
    cancel_button->setVisible(visible);
    port_list->setVisible(visible);
}

void PNKORVdialog::start_log_actionPerformed() {
    const int choice = port_list->currentIndex();
    if (choice <= 0) {
        error_rtn(QString::fromLatin1(korv::player::kNoComPortSelected));
        return;
    }
    if (start_transfer) start_transfer(choice - 1);
    set_controls_visible(false);
}

void PNKORVdialog::cancel_button_actionPerformed() {
    port_list->setCurrentIndex(1);
    hide();
}

void PNKORVdialog::hideEvent(QHideEvent* event) {
    eeprom_status->setText(QString::fromLatin1(idle_status));
    QDialog::hideEvent(event);
}
