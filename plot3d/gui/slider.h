#pragma once
// A slider 8 pixels high whose knob is dragged along a groove; it reports the
// value under the knob to its client.
#include "plot3d/core/slider_track.h"

#include <QString>
#include <QWidget>

namespace korv::plot3d {

class SliderClient;

class Slider : public QWidget {
public:
    Slider(int size, float min, float max, float initial, const QString& text, SliderClient* client,
           QWidget* parent = nullptr);

    // Moves the knob without notifying the client.
    void set(float value);
    float value() const { return track_.value(); }
    int pos() const { return track_.pos(); }
    int motionsize() const { return track_.motionsize(); }
    bool pressed() const { return pressed_; }
    const QString& text() const { return text_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    SliderTrack track_;
    bool pressed_ = false;
    QString text_;
    SliderClient* client_;
};

}  // namespace korv::plot3d
