#include "plot3d/gui/picture_button.h"

#include "plot3d/gui/icon_map.h"
#include "plot3d/gui/info_line.h"

#include <QMouseEvent>
#include <QPainter>

namespace korv::plot3d {

PictureButton::PictureButton(const QImage& picture, int x, int y, int width, int height, const QString& info,
                             const QString& text, bool toggles, InfoLine* infoline, QWidget* parent)
    : QWidget(parent),
      picture_(picture),
      x_(x),
      y_(y),
      width_(width),
      height_(height),
      info_(info),
      text_(text),
      toggles_(toggles),
      infoline_(infoline) {
    setFixedSize(width, height);
}

void PictureButton::mousePressEvent(QMouseEvent* e) {
    if (!rect().contains(e->position().toPoint())) return;
    held_ = true;
    if (infoline_ != nullptr) infoline_->setText(info_);
    repaint();
}

void PictureButton::mouseReleaseEvent(QMouseEvent* e) {
    if (!held_) return;
    held_ = false;
    if (toggles_) on_ = !on_;
    if (infoline_ != nullptr) infoline_->clearText();
    repaint();
    if (rect().contains(e->position().toPoint())) clicked();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter g(this);
    const bool down = on_ || held_;
    IconMap(x_ + (down ? width_ : 0), y_, width_, height_).draw(g, picture_, 0, 0);
}

}  // namespace korv::plot3d
