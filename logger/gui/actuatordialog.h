#pragma once
// "Underhood actuators": one button per actuator test of the first-
// generation DSM link. Each press stops the running test and starts the
// chosen one; "Done" stops every test and closes the dialog. The commands
// go through the settings frame's worker, the dialog disabled meanwhile.
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <array>

#include "logger/core/actuator_tests.h"

class LOGOBDframe;
class serialio;

class actuatordialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int content_width = 430;
    static constexpr int content_height = 270;

    // Hidden; owned by the frame and centred over it whenever shown.
    actuatordialog(LOGOBDframe* frame, serialio* sio, int port);

    LOGOBDframe* frame_handle = nullptr;
    serialio* serial_handle = nullptr;
    int comport = -1;
    // Indexed by actuator code; codes 0-10 have buttons.
    std::array<QPushButton*, korv::logger::kActuatorSlots> controls{};
    QLineEdit* heading = nullptr;
    QLineEdit* injector_heading = nullptr;
    QPushButton* done_button = nullptr;

public slots:
    void control_actionPerformed(int code);
    void done_button_actionPerformed();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPushButton* make_button(const korv::logger::ActuatorButton& button, const QRect& where);
    QLineEdit* make_heading(const char* text, const QRect& where);
    // Sends 99 (and then code, unless it is 99 too); then runs after.
    void send(int code, std::function<void()> after);
};
