#include "player/gui/korvane.h"

#include "common/gui/grey_window.h"
#include "common/gui/window_place.h"
#include "common/gui/window_style.h"

#include "player/gui/control_dialog.h"
#include "player/gui/play_frame.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPalette>
#include <QPushButton>

#include <exception>

using namespace korv::player;

namespace {

void colour_button(QPushButton* button, const QColor& colour) {
    QPalette p = button->palette();
    p.setColor(QPalette::Button, colour);
    p.setColor(QPalette::Disabled, QPalette::ButtonText, korv::disabled_text_on(colour));
    button->setPalette(p);
    button->setAutoFillBackground(true);
}

}  // namespace

Korvane::Korvane(PlayerServices services)
    : QWidget(nullptr), services_(std::move(services)), error_(korv::ErrorReporter::OnFailure::report_own_message) {
    setObjectName("Korvane");
    setWindowTitle(QStringLiteral("Korvane Player"));
    setFixedSize(content_width, content_height);
    // "Dialog" at 12 of the 72-dpi world the window was laid out in.
    korv::use_window_style(*this, 12);
    korv::paint_window_grey(*this);

    controls_button = new QPushButton(QStringLiteral("Controls"), this);
    controls_button->setObjectName("controls_button");
    controls_button->setToolTip(QStringLiteral("Define fuel/timing controllers"));
    controls_button->setGeometry(8, 30, 86, 28);
    colour_button(controls_button, QColor(255, 0, 0));
    controls_button->setEnabled(false);
    controls_button->hide();

    player_button = new QPushButton(QStringLiteral("Player"), this);
    player_button->setObjectName("player_button");
    player_button->setToolTip(QStringLiteral("Play back recorded log files"));
    player_button->setGeometry(102, 30, 86, 28);
    player_button->setFocusPolicy(Qt::NoFocus);  // it answers the mouse only
    colour_button(player_button, QColor(0, 255, 0));

    record_button = new QPushButton(QStringLiteral("Record"), this);
    record_button->setObjectName("record_button");
    record_button->setToolTip(QStringLiteral("Choose data logging sources"));
    record_button->setGeometry(196, 30, 86, 28);
    record_button->setEnabled(false);
    record_button->hide();

    connect(controls_button, &QPushButton::clicked, this, &Korvane::controlsButton_actionPerformed);
    connect(player_button, &QPushButton::clicked, this, &Korvane::playerButton_mouseClicked);

    apply_cfg();
}

Korvane::~Korvane() = default;

void Korvane::make_player() {
    if (play_diag) return;
    player_ = std::make_unique<PLAYframe>(services_);
    play_diag = player_.get();
}

void Korvane::make_chooser() {
    if (control_diag) return;
    control_diag = new control_dialog(this, *services_.editors);
}

void Korvane::playerButton_mouseClicked() {
    try {
        make_player();
        if (control_diag) play_diag->editors.take_from(control_diag->editors);
        korv::place_for_first_show(*play_diag, this);
        play_diag->show();
        play_diag->raise();
    } catch (const std::exception& failure) {
        error_rtn(QString::fromLocal8Bit(failure.what()));
    }
}

void Korvane::controlsButton_actionPerformed() {
    try {
        const bool built = control_diag == nullptr;
        make_chooser();
        // A new chooser starts with the editors already open, so Configure
        // does not open a second one on the same file.
        if (built) control_diag->editors.take_from(editors);
        if (play_diag) control_diag->editors.take_from(play_diag->editors);
        control_diag->afc1_config_file = afc1_config_file;
        control_diag->afc1_config_dir = afc1_config_dir;
        control_diag->afc2_config_file = afc2_config_file;
        control_diag->afc2_config_dir = afc2_config_dir;
        control_diag->itc_config_file = itc_config_file;
        control_diag->itc_config_dir = itc_config_dir;
        control_diag->pms_config_file = pms_config_file;
        control_diag->pms_config_dir = pms_config_dir;
        korv::place_for_first_show(*control_diag, this);
        control_diag->show();
        afc1_config_file = control_diag->afc1_config_file;
        afc1_config_dir = control_diag->afc1_config_dir;
        afc2_config_file = control_diag->afc2_config_file;
        afc2_config_dir = control_diag->afc2_config_dir;
        itc_config_file = control_diag->itc_config_file;
        itc_config_dir = control_diag->itc_config_dir;
        pms_config_file = control_diag->pms_config_file;
        pms_config_dir = control_diag->pms_config_dir;
    } catch (const std::exception& failure) {
        error_rtn(QString::fromLocal8Bit(failure.what()));
    }
}

void Korvane::closeEvent(QCloseEvent* event) {
    record_cfg();
    event->accept();
    QCoreApplication::exit(0);
}
