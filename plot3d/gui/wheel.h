#pragma once
// A thumbwheel turned by dragging along it, with a reset button at its far
// end. It draws into its own off-screen image.
#include "plot3d/core/wheel_geometry.h"

#include <QImage>
#include <QWidget>

namespace korv::plot3d {

class WheelClient;

class Wheel : public QWidget {
public:
    static constexpr int VERTICAL = 1;
    static constexpr int HORIZONTAL = 2;

    Wheel(int orientation, int size, WheelClient* client, QWidget* parent = nullptr);

    int orientation() const { return static_cast<int>(orientation_); }
    int state() const { return state_; }
    bool buttonup() const { return buttonup_; }
    int motionsize() const { return wheel_motionsize(size_); }
    // The wheel's own picture as last drawn.
    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    int along(const QPoint& p) const;
    void draw_image();

    WheelOrientation orientation_;
    int size_;
    int state_ = 0;
    bool buttonup_ = true;
    WheelClient* client_;
    int prev_ = 0;
    bool mousedown_ = false;
    QImage image_;
};

}  // namespace korv::plot3d
