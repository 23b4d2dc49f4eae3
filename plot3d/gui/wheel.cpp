#include "plot3d/gui/wheel.h"

#include "common/gui/qt_colour.h"
#include "plot3d/core/plot_colours.h"
#include "plot3d/gui/icon_map.h"
#include "plot3d/gui/widget_clients.h"
#include "plot3d/gui/widget_pictures.h"

#include <QMouseEvent>
#include <QPainter>

namespace korv::plot3d {

namespace {}  // namespace

Wheel::Wheel(int orientation, int size, WheelClient* client, QWidget* parent)
    : QWidget(parent),
      orientation_(orientation == VERTICAL ? WheelOrientation::VERTICAL : WheelOrientation::HORIZONTAL),
      size_(size),
      client_(client) {
    if (orientation_ == WheelOrientation::VERTICAL)
        setFixedSize(20, size);
    else
        setFixedSize(size, 20);
    draw_image();
}

int Wheel::along(const QPoint& p) const { return orientation_ == WheelOrientation::VERTICAL ? p.y() : p.x(); }

void Wheel::mousePressEvent(QMouseEvent* e) {
    const int at = along(e->position().toPoint());
    prev_ = at;
    if (on_wheel_reset(at, size_)) {
        buttonup_ = false;
        draw_image();
        repaint();
    } else {
        mousedown_ = true;
    }
}

void Wheel::mouseMoveEvent(QMouseEvent* e) {
    if (!mousedown_) return;
    const int at = along(e->position().toPoint());
    const int delta = at - prev_;
    prev_ = at;
    state_ = next_wheel_state(state_, delta > 0);
    if (client_ != nullptr) client_->onWheelMotion(*this, delta);
    draw_image();
    repaint();
}

void Wheel::mouseReleaseEvent(QMouseEvent* e) {
    mousedown_ = false;
    if (buttonup_) return;
    buttonup_ = true;
    draw_image();
    repaint();
    const QPoint p = e->position().toPoint();
    if (rect().contains(p) && on_wheel_reset(along(p), size_) && client_ != nullptr) client_->onWheelReset(*this);
}

void Wheel::draw_image() {
    const bool vertical = orientation_ == WheelOrientation::VERTICAL;
    image_ = QImage(size(), QImage::Format_RGB32);
    image_.fill(to_qcolor(kLightGrey));
    QPainter g(&image_);
    const QImage& strip = wheel_picture(orientation_);
    const int far = size_ - 49;
    auto at = [&](int offset) { return vertical ? QPoint(0, offset) : QPoint(offset, 0); };
    IconMap near_end(wheel_near_end(orientation_, state_));
    IconMap far_end(wheel_far_end(orientation_, state_));
    near_end.draw(g, strip, 0, 0);
    far_end.draw(g, strip, at(far).x(), at(far).y());
    IconMap(wheel_reset_button(!buttonup_)).draw(g, strip, at(size_ - 20).x(), at(size_ - 20).y());

    // The body: from 30 pixels in, motionsize long, edged along both sides.
    const int body = motionsize();
    if (body <= 0) return;
    auto across = [&](int offset, int from, int to) {
        if (vertical)
            g.drawLine(from, 30 + offset, to, 30 + offset);
        else
            g.drawLine(30 + offset, from, 30 + offset, to);
    };
    auto edge = [&](int side) {
        if (vertical)
            g.drawLine(side, 30, side, 30 + body - 1);
        else
            g.drawLine(30, side, 30 + body - 1, side);
    };
    g.setPen(to_qcolor(kDarkGrey));
    edge(0);
    edge(19);
    g.setPen(to_qcolor(kGrey));
    edge(18);
    g.setPen(to_qcolor(kWhite));
    edge(1);
    for (const Ridge& ridge : wheel_ridges(body, state_)) {
        g.setPen(to_qcolor(kBlack));
        across(ridge.at, 2, 17);
        g.setPen(to_qcolor(kWhite));
        for (int w = 1; w <= ridge.whites; ++w)
            if (ridge.at + w < body) across(ridge.at + w, 2, 17);
    }
}

void Wheel::paintEvent(QPaintEvent*) {
    QPainter g(this);
    g.drawImage(0, 0, image_);
}

}  // namespace korv::plot3d
