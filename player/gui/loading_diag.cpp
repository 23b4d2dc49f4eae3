#include "player/gui/loading_diag.h"

#include "common/gui/grey_window.h"
#include "common/gui/window_style.h"

#include <QPalette>
#include <QPlainTextEdit>

loading_diag::loading_diag(QWidget* owner) : QDialog(owner) {
    setObjectName("loading_diag");
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);  // closing disposes of it
    setFixedSize(400, 73);
    korv::paint_window_grey(*this);
    korv::use_window_style(*this);

    text = new QPlainTextEdit(this);
    text->setObjectName("text");
    text->setReadOnly(true);
    text->setPlainText(QStringLiteral("Configuration loading....please wait"));
    text->setGeometry(12, 12, 376, 49);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette pane = text->palette();
    pane.setColor(QPalette::Base, korv::window_grey());
    text->setPalette(pane);
}
