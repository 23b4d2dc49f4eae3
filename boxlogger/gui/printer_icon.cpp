#include "boxlogger/gui/printer_icon.h"

#include <QPainter>
#include <QPixmap>

namespace korv::boxlogger {
namespace {

// A sheet of paper in the printer's top, the body with its paper slot and
// a lamp, the printed sheet coming out in front; drawn on a 16-unit grid.
QPixmap drawn_printer(int side) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.scale(side / 16.0, side / 16.0);
    const QColor outline(64, 64, 64);
    p.setPen(QPen(outline, 0));
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 8, 5);  // paper waiting
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(1, 6, 14, 6);  // body
    p.setBrush(QColor(128, 128, 128));
    p.drawRect(3, 10, 10, 1);                                  // slot
    p.fillRect(QRectF(12, 7.5, 1.5, 1.5), QColor(0, 160, 0));  // lamp
    p.setBrush(Qt::white);
    p.drawRect(4, 11, 8, 4);  // printed sheet
    p.setPen(QPen(QColor(96, 96, 96), 0));
    p.drawLine(5, 13, 11, 13);
    return pixmap;
}

}  // namespace

QIcon printer_icon() {
    QIcon drawn;
    for (int side : {16, 24, 32, 48}) drawn.addPixmap(drawn_printer(side));
    return QIcon::fromTheme("document-print", drawn);
}

}  // namespace korv::boxlogger
