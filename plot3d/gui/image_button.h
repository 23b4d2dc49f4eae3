#pragma once
// A push button drawn from a picture: the up look at (x, y), the down look
// width to its right. While held it shows its info on the status line.
#include <QImage>
#include <QString>
#include <QWidget>

namespace korv::plot3d {

class ButtonClient;
class InfoLine;

class ImageButton : public QWidget {
public:
    ImageButton(const QImage& picture, int x, int y, int width, int height, const QString& info, const QString& text,
                ButtonClient* client, InfoLine* infoline, QWidget* parent = nullptr);

    bool pressed() const { return pressed_; }
    const QString& text() const { return text_; }
    const QString& info() const { return info_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QImage picture_;
    int x_, y_, width_, height_;
    bool pressed_ = false;
    QString info_, text_;
    ButtonClient* client_;
    InfoLine* infoline_;
};

}  // namespace korv::plot3d
