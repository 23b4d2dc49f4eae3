#include "player/gui/pnkorv_dialog.h"

#include "common/gui/grey_window.h"
#include "common/gui/window_style.h"

#include "player/core/palm_transfer_texts.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

PNKORVdialog::PNKORVdialog() : QDialog(nullptr) {
    setObjectName("PNKORVdialog");
    setWindowTitle(QString());
    setModal(false);
    setFixedSize(content_width, content_height);
    korv::paint_window_grey(*this);
    // Its disabled prompt: grey, but readable on the grey window.
    korv::use_window_style(*this);

    prompt = new QLabel(QStringLiteral("Select COM port for access to the Palm Pilot"), this);
    prompt->setObjectName("prompt");
    prompt->setAlignment(Qt::AlignCenter);
    prompt->setEnabled(false);
    prompt->setGeometry(12, 10, 311, 24);

    port_list = new QComboBox(this);
    port_list->setObjectName("port_list");
    port_list->addItems({QStringLiteral("Choose port"), QStringLiteral("COM 1"), QStringLiteral("COM 2"),
                         QStringLiteral("COM 3"), QStringLiteral("COM 4")});
    port_list->setCurrentIndex(0);
    port_list->setGeometry(107, 44, 120, 26);

    start_log = new QPushButton(QStringLiteral("Ok"), this);
    start_log->setObjectName("start_log");
    start_log->setGeometry(72, 82, 84, 28);

    cancel_button = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_button->setObjectName("cancel_button");
    cancel_button->setGeometry(180, 82, 84, 28);

    eeprom_status = new QLineEdit(QString::fromLatin1(idle_status), this);
    eeprom_status->setObjectName("eeprom_status");
    eeprom_status->setReadOnly(true);
    eeprom_status->setGeometry(12, 124, 311, 26);

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
