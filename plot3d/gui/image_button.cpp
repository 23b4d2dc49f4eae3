#include "plot3d/gui/image_button.h"

#include "plot3d/gui/icon_map.h"
#include "plot3d/gui/info_line.h"
#include "plot3d/gui/widget_clients.h"

#include <QMouseEvent>
#include <QPainter>

namespace korv::plot3d {

ImageButton::ImageButton(const QImage& picture, int x, int y, int width, int height, const QString& info,
                         const QString& text, ButtonClient* client, InfoLine* infoline, QWidget* parent)
    : QWidget(parent),
      picture_(picture),
      x_(x),
      y_(y),
      width_(width),
      height_(height),
      info_(info),
      text_(text),
      client_(client),
      infoline_(infoline) {
    setFixedSize(width, height);
}

void ImageButton::mousePressEvent(QMouseEvent* e) {
    if (!rect().contains(e->position().toPoint())) return;
    pressed_ = true;
    if (infoline_ != nullptr) infoline_->setText(info_);
    repaint();
}

void ImageButton::mouseReleaseEvent(QMouseEvent* e) {
    if (!pressed_) return;
    pressed_ = false;
    if (infoline_ != nullptr) infoline_->clearText();
    repaint();
    if (rect().contains(e->position().toPoint()) && client_ != nullptr) client_->onButtonClick(*this);
}

void ImageButton::paintEvent(QPaintEvent*) {
    QPainter g(this);
    IconMap(x_ + (pressed_ ? width_ : 0), y_, width_, height_).draw(g, picture_, 0, 0);
}

}  // namespace korv::plot3d
