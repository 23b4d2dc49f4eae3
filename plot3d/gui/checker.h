#pragma once
// A two-state toggle drawn from a picture: the up look at (x, y), the down
// look cwidth to its right. While held it shows its info on the status line.
#include <QImage>
#include <QString>
#include <QWidget>

namespace korv::plot3d {

class CheckerClient;
class InfoLine;

class Checker : public QWidget {
public:
    Checker(const QImage& picture, int x, int y, int cwidth, int cheight, const QString& info, const QString& text,
            CheckerClient* client, InfoLine* infoline, QWidget* parent = nullptr);

    bool pressed() const { return pressed_; }
    bool mousedown() const { return mousedown_; }
    const QString& text() const { return text_; }
    const QString& info() const { return info_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QImage picture_;
    int x_, y_, cwidth_, cheight_;
    bool pressed_ = false;
    bool mousedown_ = false;
    QString info_, text_;
    CheckerClient* client_;
    InfoLine* infoline_;
};

}  // namespace korv::plot3d
