#include "common/gui/error_dialog.h"

#include "common/gui/grey_window.h"
#include "common/gui/window_style.h"

#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>

error_dialog::error_dialog() : QDialog(nullptr) {
    setObjectName("error_dialog");
    setWindowTitle(QString());
    setModal(false);
    // Qt sizes the client area, so the content keeps its size without the
    // one-off growth by the frame insets.
    setFixedSize(content_width, content_height);
    korv::use_window_style(*this);

    error_field = new QPlainTextEdit(this);
    error_field->setObjectName("error_field");
    error_field->setReadOnly(true);
    error_field->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    error_field->setGeometry(12, 12, 298, 106);
    QPalette pane = error_field->palette();
    pane.setColor(QPalette::Base, korv::window_grey());
    error_field->setPalette(pane);
    error_field->setAutoFillBackground(true);

    ok_button = new QPushButton("&Ok", this);
    ok_button->setObjectName("ok_button");
    ok_button->setGeometry(125, 128, 72, 26);
    ok_button->setDefault(true);
    // clicked() covers the mouse and the keyboard alike.
    connect(ok_button, &QPushButton::clicked, this, &error_dialog::ok_button_actionPerformed);
}

error_dialog::error_dialog(const QString& title) : error_dialog() { setWindowTitle(title); }

void error_dialog::set_message(const QString& message) { error_field->setPlainText(message); }

QString error_dialog::message() const { return error_field->toPlainText(); }

void error_dialog::ok_button_actionPerformed() { hide(); }
