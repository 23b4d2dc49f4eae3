#pragma once
// A control drawn from a picture: the up look at (x, y) in the picture, the
// down look one width to its right. A press inside shows the down look and
// the control's info on the status line; the release clears the status line
// and, over the control, clicks it. A toggling one (Checker) changes its
// state at every release and keeps the down look while on; a plain one
// (ImageButton) shows the down look only while held.
#include <QImage>
#include <QString>
#include <QWidget>

namespace korv::plot3d {

class InfoLine;

class PictureButton : public QWidget {
public:
    const QString& text() const { return text_; }
    const QString& info() const { return info_; }

protected:
    PictureButton(const QImage& picture, int x, int y, int width, int height, const QString& info, const QString& text,
                  bool toggles, InfoLine* infoline, QWidget* parent);

    bool held() const { return held_; }
    bool on() const { return on_; }
    // Released over the control (after a toggle's change).
    virtual void clicked() = 0;

    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QImage picture_;
    int x_, y_, width_, height_;
    QString info_, text_;
    bool toggles_;
    bool held_ = false;
    bool on_ = false;
    InfoLine* infoline_;
};

}  // namespace korv::plot3d
