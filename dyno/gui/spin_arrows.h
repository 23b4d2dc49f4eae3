#pragma once
// A pair of up/down arrows beside a number field.
#include <QWidget>

namespace korv::dyno {

class SpinArrows : public QWidget {
    Q_OBJECT
public:
    explicit SpinArrows(QWidget* parent = nullptr);

signals:
    // +1 for up, -1 for down.
    void stepped(int direction);
};

}  // namespace korv::dyno
