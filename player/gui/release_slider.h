#pragma once
// A slider that also reports a mouse release that ends no handle drag, such
// as a click in its groove: QSlider's sliderReleased comes only after the
// handle was grabbed.
#include <QSlider>

class QMouseEvent;

namespace korv::player {

class ReleaseSlider : public QSlider {
    Q_OBJECT
public:
    using QSlider::QSlider;

signals:
    // After the slider has taken the release, so value() is where it ended.
    void releasedOffHandle();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace korv::player
