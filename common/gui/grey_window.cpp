#include "common/gui/grey_window.h"

#include <QPalette>
#include <QWidget>

namespace korv {

QColor window_grey() { return QColor(204, 204, 204); }

void paint_window_grey(QWidget& window) {
    QPalette grey = window.palette();
    grey.setColor(QPalette::Window, window_grey());
    window.setPalette(grey);
    window.setAutoFillBackground(true);
}

}  // namespace korv
