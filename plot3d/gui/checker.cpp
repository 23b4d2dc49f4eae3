#include "plot3d/gui/checker.h"

#include "plot3d/gui/icon_map.h"
#include "plot3d/gui/info_line.h"
#include "plot3d/gui/widget_clients.h"

#include <QMouseEvent>
#include <QPainter>

namespace korv::plot3d {

Checker::Checker(const QImage& picture, int x, int y, int cwidth, int cheight, const QString& info, const QString& text,
                 CheckerClient* client, InfoLine* infoline, QWidget* parent)
    : QWidget(parent),
      picture_(picture),
      x_(x),
      y_(y),
      cwidth_(cwidth),
      cheight_(cheight),
      info_(info),
      text_(text),
      client_(client),
      infoline_(infoline) {
    setFixedSize(cwidth, cheight);
}

void Checker::mousePressEvent(QMouseEvent* e) {
    if (!rect().contains(e->position().toPoint())) return;
    mousedown_ = true;
    if (infoline_ != nullptr) infoline_->setText(info_);
    repaint();
}

void Checker::mouseReleaseEvent(QMouseEvent* e) {
    if (!mousedown_) return;
    mousedown_ = false;
    pressed_ = !pressed_;
    if (infoline_ != nullptr) infoline_->clearText();
    repaint();
    if (rect().contains(e->position().toPoint()) && client_ != nullptr) client_->onCheckerClick(*this, pressed_);
}

void Checker::paintEvent(QPaintEvent*) {
    QPainter g(this);
    const bool down = pressed_ || mousedown_;
    IconMap(x_ + (down ? cwidth_ : 0), y_, cwidth_, cheight_).draw(g, picture_, 0, 0);
}

}  // namespace korv::plot3d
