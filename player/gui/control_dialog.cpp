#include "player/gui/control_dialog.h"

#include "common/gui/grey_window.h"
#include "common/gui/window_place.h"
#include "common/gui/window_style.h"

#include <QCheckBox>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace korv::player;

namespace {

void untick_and_disable(QCheckBox* box) {
    box->setChecked(false);
    box->setEnabled(false);
}

// An editor opens beside the chooser, clear of its controls.
void show_editor(ControllerEditor* editor, const QWidget& chooser) {
    if (!editor || !editor->window()) return;
    korv::place_for_first_show(*editor->window(), &chooser);
    editor->window()->show();
}

}  // namespace

control_dialog::control_dialog(QWidget* owner, EditorPool& pool) : QDialog(owner), pool_(pool) {
    setObjectName("control_dialog");
    setWindowTitle(QStringLiteral("Control Dialog"));
    setModal(false);
    setFixedSize(430, 270);
    korv::paint_window_grey(*this);
    korv::use_window_style(*this);

    description = new QPlainTextEdit(this);
    description->setObjectName("description");
    description->setReadOnly(true);
    description->setPlainText(
        QStringLiteral("The panel is used to select your choice of timing and/or fuel controllers."));
    description->setGeometry(10, 10, 410, 44);
    description->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette pane = description->palette();
    pane.setColor(QPalette::Base, korv::window_grey());
    description->setPalette(pane);

    int row = 0;
    auto add_row = [this, &row](const char* box_name, const QString& text, const QString& tip, const char* button_name,
                                QCheckBox*& box, QPushButton*& configure) {
        const int y = 66 + 38 * row++;
        box = new QCheckBox(text, this);
        box->setObjectName(box_name);
        box->setToolTip(tip);
        box->setGeometry(24, y, 220, 24);
        box->setFocusPolicy(Qt::NoFocus);  // they answer the mouse only
        configure = new QPushButton(QStringLiteral("Configure"), this);
        configure->setObjectName(button_name);
        configure->setToolTip(QStringLiteral("Configure the controller"));
        configure->setGeometry(280, y, 100, 26);
        configure->setFocusPolicy(Qt::NoFocus);
        configure->setEnabled(false);
    };
    add_row("afc2_box", "AFC (VCD version)", "Select if you are using an Apexi AFC (VCD version)", "afc2_configure",
            afc2_box, afc2_configure);
    add_row("afc1_box", "AFC (5 knob style)", "Select if you are using an Apexi AFC (5 knob style)", "afc1_configure",
            afc1_box, afc1_configure);
    add_row("itc_box", "ITC", "Select if you are using an Apexi ITC", "itc_configure", itc_box, itc_configure);
    add_row("pms_box", "PMS", "Select if you are using an EFI Systems PMS", "pms_configure", pms_box, pms_configure);
    add_row("vpc_box", "VPC", "Not available", "vpc_configure", vpc_box, vpc_configure);
    vpc_box->setEnabled(false);

    connect(afc1_box, &QCheckBox::clicked, this, &control_dialog::afc1Box_mouseClicked);
    connect(afc2_box, &QCheckBox::clicked, this, &control_dialog::afc2Box_mouseClicked);
    connect(itc_box, &QCheckBox::clicked, this, &control_dialog::itcBox_mouseClicked);
    connect(pms_box, &QCheckBox::clicked, this, &control_dialog::pmsBox_mouseClicked);
    connect(afc1_configure, &QPushButton::clicked, this, &control_dialog::afc1Configure_mouseClicked);
    connect(afc2_configure, &QPushButton::clicked, this, &control_dialog::afc2Configure_mouseClicked);
    connect(itc_configure, &QPushButton::clicked, this, &control_dialog::itcConfigure_mouseClicked);
    connect(pms_configure, &QPushButton::clicked, this, &control_dialog::pmsConfigure_mouseClicked);
}

// ---- the box rules ------------------------------------------------------------

void control_dialog::afc1_rule() {
    if (afc1_box->isChecked()) {
        untick_and_disable(afc2_box);
        afc2_configure->setEnabled(false);
        afc1_configure->setEnabled(true);
        untick_and_disable(pms_box);
        pms_configure->setEnabled(false);
    } else {
        afc2_box->setEnabled(true);
        afc1_configure->setEnabled(false);
        if (!itc_box->isChecked()) pms_box->setEnabled(true);
    }
}

void control_dialog::afc2_rule() {
    if (afc2_box->isChecked()) {
        untick_and_disable(afc1_box);
        afc1_configure->setEnabled(false);
        afc2_configure->setEnabled(true);
        untick_and_disable(pms_box);
        pms_configure->setEnabled(false);
    } else {
        afc1_box->setEnabled(true);
        afc2_configure->setEnabled(false);
        if (!itc_box->isChecked()) pms_box->setEnabled(true);
    }
}

void control_dialog::itc_rule() {
    if (itc_box->isChecked()) {
        itc_configure->setEnabled(true);
        untick_and_disable(pms_box);
        pms_configure->setEnabled(false);
    } else {
        itc_configure->setEnabled(false);
        if (!afc1_box->isChecked() && !afc2_box->isChecked()) pms_box->setEnabled(true);
    }
}

void control_dialog::pms_rule() {
    if (pms_box->isChecked()) {
        for (QCheckBox* box : {afc1_box, afc2_box, itc_box}) untick_and_disable(box);
        for (QPushButton* configure : {afc1_configure, afc2_configure, itc_configure}) configure->setEnabled(false);
        pms_configure->setEnabled(true);
    } else {
        for (QCheckBox* box : {afc1_box, afc2_box, itc_box, pms_box}) box->setEnabled(true);
        pms_configure->setEnabled(false);
    }
}

// ---- clicks ---------------------------------------------------------------------

// The knob-style editor may have loaded another file since the chooser last looked.
void control_dialog::before_click() {
    if (editors.afc_frame) {
        afc1_config_file = editors.afc_frame->config_file();
        afc1_config_dir = editors.afc_frame->config_dir();
    }
}

void control_dialog::afc1Box_mouseClicked() {
    before_click();
    afc1_rule();
}
void control_dialog::afc2Box_mouseClicked() {
    before_click();
    afc2_rule();
}
void control_dialog::itcBox_mouseClicked() {
    before_click();
    itc_rule();
}
void control_dialog::pmsBox_mouseClicked() {
    before_click();
    pms_rule();
}

// A failing Configure is passed over in silence.
void control_dialog::afc1Configure_mouseClicked() {
    before_click();
    try {
        if (!editors.afc_frame) {
            editors.afc_frame = pool_.make_AFCframe1();
            if (!editors.afc_frame) return;
            editors.afc_frame->set_config(afc1_config_file, afc1_config_dir);
            editors.afc_frame->recall_cfg();
        } else {
            editors.afc_frame->set_config(afc1_config_file, afc1_config_dir);
        }
        show_editor(editors.afc_frame, *this);
    } catch (...) {}
}

void control_dialog::afc2Configure_mouseClicked() {
    before_click();
    try {
        if (!editors.afc2_frame) editors.afc2_frame = pool_.make_AFCframe2();
        show_editor(editors.afc2_frame, *this);
    } catch (...) {}
}

void control_dialog::itcConfigure_mouseClicked() {
    before_click();
    try {
        if (!editors.itc_frame) editors.itc_frame = pool_.make_ITCframe1();
        show_editor(editors.itc_frame, *this);
    } catch (...) {}
}

void control_dialog::pmsConfigure_mouseClicked() {
    before_click();
    try {
        if (!editors.pms_frame) editors.pms_frame = pool_.make_PMSframe();
        show_editor(editors.pms_frame, *this);
    } catch (...) {}
}

// ---- kvt.cfg ---------------------------------------------------------------------

std::array<QCheckBox*, 4> control_dialog::boxes_in_file_order() const {
    std::array<QCheckBox*, 4> boxes{};
    boxes[kvt::kKnobAfcBox] = afc1_box;
    boxes[kvt::kVcdAfcBox] = afc2_box;
    boxes[kvt::kItcBox] = itc_box;
    boxes[kvt::kPmsBox] = pms_box;
    return boxes;
}

kvt::ChooserSlot control_dialog::config_slot() const {
    kvt::ChooserSlot slot;
    slot.x = pos().x();
    slot.y = pos().y();
    slot.visible = isVisible();
    const auto boxes = boxes_in_file_order();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        slot.selected[i] = boxes[i]->isChecked();
        slot.enabled[i] = boxes[i]->isEnabled();
    }
    return slot;
}

void control_dialog::apply_config_slot(const kvt::ChooserSlot& slot) {
    const auto boxes = boxes_in_file_order();
    for (std::size_t i = 0; i < boxes.size(); ++i) boxes[i]->setChecked(slot.selected[i]);
    for (std::size_t i = 0; i < boxes.size(); ++i) boxes[i]->setEnabled(slot.enabled[i]);
    afc2_rule();
    afc1_rule();
    itc_rule();
    pms_rule();
}
