#include "logger/gui/actuatordialog.h"

#include "common/gui/grey_window.h"
#include "common/gui/window_style.h"

#include <QPalette>
#include <QPointer>

#include "logger/gui/logobdframe.h"
#include "logger/gui/serialio.h"

namespace {

QString text_of(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

actuatordialog::actuatordialog(LOGOBDframe* frame, serialio* sio, int port)
    : QDialog(frame), frame_handle(frame), serial_handle(sio), comport(port) {
    setObjectName("actuatordialog");
    setWindowTitle(korv::logger::kActuatorTitle);
    setFixedSize(content_width, content_height);
    korv::paint_window_grey(*this);
    korv::use_window_style(*this);

    heading = make_heading(korv::logger::kActuatorHeading, QRect(10, 8, 410, 22));
    int row = 0;
    for (const korv::logger::ActuatorButton& button : korv::logger::kSolenoidTests) {
        make_button(button, QRect(10 + (row % 2) * 210, 38 + (row / 2) * 32, 200, 26));
        ++row;
    }
    injector_heading = make_heading(korv::logger::kInjectorHeading, QRect(10, 136, 410, 22));
    int column = 0;
    for (const korv::logger::ActuatorButton& button : korv::logger::kInjectorTests) {
        make_button(button, QRect(10 + column * 70, 166, 60, 26));
        ++column;
    }
    done_button = new QPushButton(korv::logger::kDoneText, this);
    done_button->setObjectName("done_button");
    done_button->setToolTip(korv::logger::kDoneTip);
    done_button->setGeometry(165, 226, 100, 28);
    connect(done_button, &QPushButton::clicked, this, &actuatordialog::done_button_actionPerformed);
}

QLineEdit* actuatordialog::make_heading(const char* text, const QRect& where) {
    auto* line = new QLineEdit(text, this);
    line->setReadOnly(true);
    line->setFrame(false);
    line->setFocusPolicy(Qt::NoFocus);
    QPalette colours = line->palette();
    colours.setColor(QPalette::Base, QColor(204, 204, 204));
    colours.setColor(QPalette::Text, Qt::black);
    line->setPalette(colours);
    line->setGeometry(where);
    return line;
}

QPushButton* actuatordialog::make_button(const korv::logger::ActuatorButton& button, const QRect& where) {
    auto* push = new QPushButton(text_of(button.text), this);
    push->setObjectName(QStringLiteral("actuator_%1").arg(button.code));
    if (!button.tool_tip.empty()) push->setToolTip(text_of(button.tool_tip));
    push->setGeometry(where);
    const int code = button.code;
    connect(push, &QPushButton::clicked, this, [this, code] { control_actionPerformed(code); });
    controls[static_cast<std::size_t>(code)] = push;
    return push;
}

void actuatordialog::send(int code, std::function<void()> after) {
    setEnabled(false);
    serialio* sio = serial_handle;
    const int port = comport;
    QPointer<actuatordialog> self(this);
    const auto refused = frame_handle->worker().run(
        [sio, port, code] {
            if (!sio) return;
            // A new test always stops the running one first; the results
            // are not shown (a dead link shows nothing).
            sio->dodiag(port, korv::logger::kStopAllTests);
            if (code != korv::logger::kStopAllTests) sio->dodiag(port, code);
        },
        [self, after = std::move(after)] {
            if (!self) return;
            self->setEnabled(true);
            if (after) after();
        });
    if (refused) {
        // Nothing was sent: the buttons are the user's again, the dialog stays.
        setEnabled(true);
        frame_handle->error_rtn(QString::fromStdString(*refused));
    }
}

void actuatordialog::control_actionPerformed(int code) { send(code, nullptr); }

void actuatordialog::done_button_actionPerformed() {
    send(korv::logger::kStopAllTests, [this] {
        // Closed meanwhile by its close box: that already counted as leaving.
        if (isVisible()) accept();
    });
}

void actuatordialog::showEvent(QShowEvent* event) {
    if (QWidget* owner = parentWidget()) {
        const QRect over = owner->frameGeometry();
        move(over.center() - QPoint(width() / 2, height() / 2));
    }
    QDialog::showEvent(event);
}
