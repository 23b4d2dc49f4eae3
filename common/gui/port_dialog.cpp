#include "common/gui/port_dialog.h"

#include "common/gui/grey_window.h"
#include "common/gui/window_style.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace korv {

PortDialogWidgets build_port_dialog(QDialog& dialog, const QString& prompt, const char* ok_name,
                                    const char* status_name) {
    dialog.setFixedSize(kPortDialogWidth, kPortDialogHeight);
    paint_window_grey(dialog);
    // Its disabled prompt: grey, but readable on the grey window.
    use_window_style(dialog);

    PortDialogWidgets w;
    w.prompt = new QLabel(prompt, &dialog);
    w.prompt->setObjectName("prompt");
    w.prompt->setAlignment(Qt::AlignCenter);
    w.prompt->setEnabled(false);
    w.prompt->setGeometry(12, 10, 311, 24);

    w.port_list = new QComboBox(&dialog);
    w.port_list->setObjectName("port_list");
    w.port_list->addItems({QStringLiteral("Choose port"), QStringLiteral("COM 1"), QStringLiteral("COM 2"),
                           QStringLiteral("COM 3"), QStringLiteral("COM 4")});
    w.port_list->setCurrentIndex(0);
    w.port_list->setGeometry(107, 44, 120, 26);

    w.ok_button = new QPushButton(QStringLiteral("Ok"), &dialog);
    w.ok_button->setObjectName(ok_name);
    w.ok_button->setGeometry(72, 82, 84, 28);

    w.cancel_button = new QPushButton(QStringLiteral("Cancel"), &dialog);
    w.cancel_button->setObjectName("cancel_button");
    w.cancel_button->setGeometry(180, 82, 84, 28);

    w.status_line = new QLineEdit(QString::fromLatin1(kPortDialogIdleStatus), &dialog);
    w.status_line->setObjectName(status_name);
    w.status_line->setReadOnly(true);
    w.status_line->setGeometry(12, 124, 311, 26);
    return w;
}

}  // namespace korv
