#pragma once
// "Triggers": four set points for starting and stopping a run. Nothing in
// the program reads them; "Ok" and closing only hide the window.
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

class Triggerframe : public QWidget {
    Q_OBJECT
public:
    static constexpr int content_width = 344;
    static constexpr int content_height = 225;

    Triggerframe();

    QLineEdit* start_rpm = nullptr;
    QLineEdit* start_tps = nullptr;
    QLineEdit* stop_rpm = nullptr;
    QLineEdit* stop_tps = nullptr;
    QPushButton* ok_button = nullptr;

public slots:
    void ok_button_actionPerformed();
};
