#include "plot3d/gui/slider.h"

#include "common/gui/qt_colour.h"
#include "plot3d/core/plot_colours.h"
#include "plot3d/gui/icon_map.h"
#include "plot3d/gui/widget_clients.h"
#include "plot3d/gui/widget_pictures.h"

#include <QMouseEvent>
#include <QPainter>

namespace korv::plot3d {

Slider::Slider(int size, float min, float max, float initial, const QString& text, SliderClient* client,
               QWidget* parent)
    : QWidget(parent), track_(size, min, max, initial), text_(text), client_(client) {
    setFixedSize(size, 8);
}

void Slider::set(float value) {
    track_.set(value);
    update();
}

void Slider::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (rect().contains(p) && track_.over_knob(p.x())) pressed_ = true;
}

void Slider::mouseMoveEvent(QMouseEvent* e) {
    if (!pressed_) return;
    const auto value = track_.drag_to(e->position().toPoint().x());
    if (!value) return;
    repaint();
    if (client_ != nullptr) client_->onSliderMotion(*this, *value);
}

void Slider::mouseReleaseEvent(QMouseEvent*) { pressed_ = false; }

void Slider::paintEvent(QPaintEvent*) {
    QPainter g(this);
    g.fillRect(rect(), to_qcolor(kLightGrey));
    const QImage& picture = slider_picture();
    const IconMap cap(0, 0, 4, 8);
    cap.draw(g, picture, 0, 0);
    cap.draw(g, picture, width() - 4, 0);
    g.setPen(to_qcolor(kDarkGrey));
    g.drawLine(5, 3, width() - 6, 3);
    g.setPen(Qt::white);
    g.drawLine(5, 4, width() - 6, 4);
    IconMap(4, 0, 13, 8).draw(g, picture, 5 + track_.pos(), 0);
}

}  // namespace korv::plot3d
