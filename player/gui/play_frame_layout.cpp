// The playback frame's widgets, their texts and where they stand.
#include "player/gui/play_frame.h"

#include "common/gui/grey_window.h"
#include "common/gui/window_style.h"
#include "player/gui/release_slider.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>

namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& text, const QString& tip, QRect where) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setGeometry(where);
    return b;
}

QCheckBox* box(QWidget* parent, const char* name, const QString& text, const QString& tip, QRect where) {
    auto* b = new QCheckBox(text, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setGeometry(where);
    return b;
}

QPlainTextEdit* pane(QWidget* parent, const char* name, QRect where) {
    auto* p = new QPlainTextEdit(parent);
    p->setObjectName(name);
    p->setReadOnly(true);
    p->setGeometry(where);
    return p;
}

}  // namespace

void PLAYframe::build_widgets() {
    setWindowTitle(QStringLiteral("Log File Playback"));
    setFixedSize(content_width, content_height);
    korv::paint_window_grey(*this);
    korv::use_window_style(*this);

    description = pane(this, "description", QRect(8, 8, 624, 34));
    description->setPlainText(QStringLiteral("This panel is used to play back log files."));
    description->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette pane_colours = description->palette();
    pane_colours.setColor(QPalette::Base, korv::window_grey());
    description->setPalette(pane_colours);
    record_area = pane(this, "record_area", QRect(8, 48, 424, 114));

    chart_all =
        box(this, "chart_all", "Chart all", "Select to chart all instead of just 100% tps", QRect(440, 48, 90, 20));
    low_vals = box(this, "low_vals", "Low vals", "Show LOW o2 & timing values", QRect(440, 68, 90, 20));
    animate_control =
        box(this, "animate_control", "Animate", "Animated playback using controller panels", QRect(440, 88, 90, 20));
    itc_animate =
        box(this, "itc_animate", "Timing", "Display the ignition timing controller map", QRect(440, 108, 90, 20));
    afc_animate = box(this, "afc_animate", "AFC (old)", "Display fuel controller map", QRect(440, 128, 90, 20));
    afc2_animate = box(this, "afc2_animate", "AFC (new)", "Display fuel controller map", QRect(440, 148, 90, 20));
    advanced_fuel_calc = box(this, "advanced_fuel_calc", "Calc mthd",
                             "Selects cumulative fuel calculations (not normally used)", QRect(534, 48, 90, 20));
    reset_button = button(this, "reset_button", "Reset", "Reset simulator & re-calculate", QRect(534, 86, 66, 24));

    o2_slider = new korv::player::ReleaseSlider(Qt::Vertical, this);
    o2_slider->setObjectName("o2_slider");
    o2_slider->setToolTip("Drag to adjust o2 voltage");
    o2_slider->setRange(0, 100);
    o2_slider->setGeometry(610, 48, 22, 150);

    open_button = button(this, "open_button", "Open file", "Open a log file", QRect(8, 170, 76, 26));
    close_button = button(this, "close_button", "Close file", "Close log file", QRect(88, 170, 76, 26));
    back_button = button(this, "back_button", "<", "Show previous log entry", QRect(168, 170, 34, 26));
    forward_button = button(this, "forward_button", ">", "Show next log entry", QRect(204, 170, 34, 26));
    rewind_button = button(this, "rewind_button", "<<", "Rewind to first record", QRect(240, 170, 34, 26));
    play_button = button(this, "play_button", ">>", "Animated play", QRect(276, 170, 34, 26));
    chart2d_button = button(this, "chart2d_button", "2D", "Chart log file data", QRect(314, 170, 40, 26));
    chart3d_button = button(this, "chart3d_button", "3D", "Chart log file data in 3D", QRect(356, 170, 40, 26));
    pnkorv_button =
        button(this, "pnkorv_button", "Palm'n'Korv", "Collect data from Palm'n'Korv", QRect(440, 170, 100, 26));

    position_slider = new QSlider(Qt::Horizontal, this);
    position_slider->setObjectName("position_slider");
    position_slider->setToolTip("Slide through the log entries");
    position_slider->setRange(0, 0);
    position_slider->setGeometry(8, 202, 592, 22);

    peak_label = new QLabel(QStringLiteral("Peak Values at"), this);
    peak_label->setObjectName("peak_label");
    peak_label->setGeometry(8, 232, 96, 24);
    const char* peak_names[] = {"peak_rpms", "peak_o2", "peak_timing", "peak_pw", "peak_knock"};
    const QString peak_texts[] = {"RPMS", "o2's", "Timing", "P/W", "Knock"};
    const QString peak_tips[] = {"Show max rpm entry", "Show max O2 voltage", "Show max timing advance entry",
                                 "Display max pulse width entry", "Show max 'knock count' entry"};
    for (int i = 0; i < 5; ++i) {
        peak_buttons[i] = button(this, peak_names[i], peak_texts[i], peak_tips[i], QRect(108 + 70 * i, 232, 66, 24));
    }

    tps_range = new QLineEdit(QStringLiteral("95"), this);
    tps_range->setObjectName("tps_range");
    tps_range->setToolTip("Set minimum TPS limit for analyzer operations");
    tps_range->setGeometry(8, 262, 40, 22);
    auto* tps_label = new QLabel(QStringLiteral(" percent TPS (and above) or above"), this);
    tps_label->setGeometry(50, 262, 210, 22);
    rpm_range = new QLineEdit(QStringLiteral("4000"), this);
    rpm_range->setObjectName("rpm_range");
    rpm_range->setToolTip("Set minimum RPM limit for analyzer operations");
    rpm_range->setGeometry(262, 262, 50, 22);
    auto* rpm_label = new QLabel(QStringLiteral("RPMS"), this);
    rpm_label->setGeometry(316, 262, 40, 22);

    analysis_area = new QWidget(this);
    analysis_area->setObjectName("analysis_area");
    analysis_area->setGeometry(8, 290, 624, 104);

    afr_button = new QPushButton(this);
    afr_button->setObjectName("afr_button");
    afr_button->setGeometry(600, 170, 32, 26);
    afr_button->hide();

    // No log yet.
    for (QWidget* w :
         std::initializer_list<QWidget*>{close_button, back_button, forward_button, rewind_button, play_button,
                                         chart2d_button, chart3d_button, position_slider, o2_slider}) {
        w->setEnabled(false);
    }
    for (QPushButton* peak : peak_buttons) peak->setEnabled(false);
    reset_button->setEnabled(false);
    reset_button->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{chart_all, low_vals, advanced_fuel_calc, itc_animate, afc_animate,
                                                      afc2_animate}) {
        w->hide();
    }
}

void PLAYframe::connect_widgets() {
    connect(open_button, &QPushButton::clicked, this, &PLAYframe::openButton_mouseClicked);
    connect(close_button, &QPushButton::clicked, this, &PLAYframe::closeButton_mouseClicked);
    connect(back_button, &QPushButton::clicked, this, &PLAYframe::backButton_mouseClicked);
    connect(forward_button, &QPushButton::clicked, this, &PLAYframe::forwardButton_mouseClicked);
    connect(rewind_button, &QPushButton::clicked, this, &PLAYframe::rewindButton_mouseClicked);
    connect(play_button, &QPushButton::clicked, this, &PLAYframe::playButton_mouseClicked);
    connect(reset_button, &QPushButton::clicked, this, &PLAYframe::resetButton_mouseClicked);
    connect(position_slider, &QSlider::valueChanged, this, &PLAYframe::positionSlider_adjustmentValueChanged);
    connect(animate_control, &QCheckBox::stateChanged, this, &PLAYframe::animateControl_itemStateChanged);
    for (QCheckBox* editor_box : {itc_animate, afc_animate, afc2_animate}) {
        connect(editor_box, &QCheckBox::clicked, this, &PLAYframe::editorBox_mouseClicked);
    }
    connect(afr_button, &QPushButton::clicked, this, &PLAYframe::afrButton_mouseClicked);

    connect(chart2d_button, &QPushButton::clicked, this, [this] { analysis_->chart_2d(); });
    connect(chart3d_button, &QPushButton::clicked, this, [this] { analysis_->chart_3d(); });
    for (int i = 0; i < int(peak_buttons.size()); ++i) {
        connect(peak_buttons[i], &QPushButton::clicked, this, [this, i] { analysis_->show_peak(i); });
    }
    connect(tps_range, &QLineEdit::editingFinished, this, [this] { analysis_->tps_limit_entered(); });
    connect(rpm_range, &QLineEdit::editingFinished, this, [this] { analysis_->rpm_limit_entered(); });
    // A release anywhere on the O2 slider runs the search: after a handle
    // drag and after a click in the groove alike.
    connect(o2_slider, &QSlider::sliderReleased, this, [this] { animation_->o2_slider_released(); });
    connect(static_cast<korv::player::ReleaseSlider*>(o2_slider), &korv::player::ReleaseSlider::releasedOffHandle, this,
            [this] { animation_->o2_slider_released(); });
    connect(pnkorv_button, &QPushButton::clicked, this, [this] { handheld_->open_transfer_dialog(); });
}
