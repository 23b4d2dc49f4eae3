#include "player/gui/loading_diag.h"

#include <QPalette>
#include <QPlainTextEdit>

loading_diag::loading_diag(QWidget* owner) : QDialog(owner) {
    setObjectName("loading_diag");
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);  // closing disposes of it
    setFixedSize(400, 73);
    const QColor grey(204, 204, 204);
    QPalette background = palette();
    background.setColor(QPalette::Window, grey);
    setPalette(background);
    setAutoFillBackground(true);

    text = new QPlainTextEdit(this);
    text->setObjectName("text");
    text->setReadOnly(true);
    text->setPlainText(QStringLiteral("Configuration loading....please wait"));
    text->setGeometry(12, 12, 376, 49);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette pane = text->palette();
    pane.setColor(QPalette::Base, grey);
    text->setPalette(pane);
}
