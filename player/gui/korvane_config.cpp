// Korvane's window memory: restoring from kvt.cfg and recording into it.
#include "player/gui/korvane.h"

#include "player/gui/cfg_text.h"
#include "player/gui/control_dialog.h"
#include "player/gui/loading_diag.h"
#include "player/gui/play_frame.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>

#include <exception>

using namespace korv::player;

namespace {

const QString kIoError = QStringLiteral("Unable to open file: ");

void place(QWidget* window, std::int32_t x, std::int32_t y, bool visible) {
    window->move(x, y);
    window->setVisible(visible);
}

// The PMS editor's choices cross the plug-in seam as its own plain type.
PmsChoices pms_choices(const kvt::PmsRadioButtons& b) {
    return {b.program_1, b.program_2, b.program_3, b.fuel, b.timing};
}
kvt::PmsRadioButtons stored_buttons(const PmsChoices& c) {
    return {c.program_1, c.program_2, c.program_3, c.fuel, c.timing};
}

kvt::EditorSlot editor_slot(ControllerEditor& editor) {
    kvt::EditorSlot slot;
    QWidget* window = editor.window();
    if (window) {
        slot.x = window->pos().x();
        slot.y = window->pos().y();
        slot.visible = window->isVisible();
    }
    slot.file = cfg_bytes(editor.config_file());
    slot.dir = cfg_bytes(editor.config_dir());
    return slot;
}

}  // namespace

void Korvane::apply_cfg() {
    QPointer<loading_diag> notice;
    try {
        notice = new loading_diag(this);
        notice->show();
    } catch (const std::exception& failure) {
        error_rtn(QString::fromLocal8Bit(failure.what()));
    }

    if (!QFileInfo::exists(config_file_name)) record_cfg();

    kvt::KvtRead read;
    if (auto error = kvt::read_kvt_file(config_file_name, read)) {
        error_rtn(kIoError + QString::fromStdString(*error));
    } else {
        const kvt::KvtConfig& c = read.config;
        // Restored in this order; the reading ends at a slot the file ends in.
        for (std::int64_t slot : {kvt::kStartSlot, kvt::kChooserSlot, kvt::kKnobAfcSlot, kvt::kVcdAfcSlot,
                                  kvt::kItcSlot, kvt::kPmsSlot, kvt::kPlayerSlot}) {
            if (read.ends_in_slot == slot) {
                error_rtn(kIoError + QStringLiteral("kvt.cfg ends inside the slot at byte %1").arg(slot));
                break;
            }
            try {
                if (slot == kvt::kStartSlot) {
                    move(c.start_x, c.start_y);
                } else if (slot == kvt::kChooserSlot) {
                    if (c.chooser) restore_chooser(*c.chooser);
                } else if (slot == kvt::kPlayerSlot) {
                    if (c.player) restore_player(*c.player);
                } else {
                    restore_editors(c, slot);
                }
            } catch (const std::exception& failure) {
                error_rtn(QString::fromLocal8Bit(failure.what()));
            }
        }
    }
    // The chooser gets the editors the file brought back.
    if (control_diag) control_diag->editors.take_from(editors);

    if (notice) {
        notice->hide();
        notice->deleteLater();
    }
}

void Korvane::restore_chooser(const kvt::ChooserSlot& slot) {
    make_chooser();
    place(control_diag, slot.x, slot.y, slot.visible);
    control_diag->apply_config_slot(slot);
}

void Korvane::restore_editors(const kvt::KvtConfig& c, std::int64_t slot) {
    auto restore = [](ControllerEditor* editor, const kvt::EditorSlot& s) {
        if (editor->window()) place(editor->window(), s.x, s.y, s.visible);
        editor->set_config(cfg_text(s.file), cfg_text(s.dir));
    };
    EditorPool& pool = *services_.editors;
    if (slot == kvt::kKnobAfcSlot && c.knob_afc) {
        if (!editors.afc_frame) editors.afc_frame = pool.make_AFCframe1();
        kept_knob_afc_ = editors.afc_frame ? std::nullopt : c.knob_afc;
        if (!editors.afc_frame) return;
        restore(editors.afc_frame, *c.knob_afc);
        editors.afc_frame->recall_cfg1();
    } else if (slot == kvt::kVcdAfcSlot && c.vcd_afc) {
        if (!editors.afc2_frame) editors.afc2_frame = pool.make_AFCframe2();
        kept_vcd_afc_ = editors.afc2_frame ? std::nullopt : c.vcd_afc;
        if (!editors.afc2_frame) return;
        restore(editors.afc2_frame, *c.vcd_afc);
        editors.afc2_frame->recall_cfg1();
    } else if (slot == kvt::kItcSlot && c.itc) {
        if (!editors.itc_frame) editors.itc_frame = pool.make_ITCframe1();
        kept_itc_ = editors.itc_frame ? std::nullopt : c.itc;
        if (!editors.itc_frame) return;
        restore(editors.itc_frame, *c.itc);
        editors.itc_frame->recall_cfg1();
    } else if (slot == kvt::kPmsSlot && c.pms) {
        if (!editors.pms_frame) editors.pms_frame = pool.make_PMSframe();
        kept_pms_ = editors.pms_frame ? std::nullopt : c.pms;
        if (!editors.pms_frame) return;
        PmsEditor& pms = *editors.pms_frame;
        const kvt::EditorSlot& s = c.pms->editor;
        if (pms.window()) pms.window()->move(s.x, s.y);
        pms.set_config(cfg_text(s.file), cfg_text(s.dir));
        pms.recall_data();
        pms.set_radio_buttons(pms_choices(c.pms->buttons));
        pms.display_pgm();
        if (pms.window()) pms.window()->setVisible(s.visible);
    }
}

void Korvane::restore_player(const kvt::PlayerSlot& slot) {
    make_player();
    PLAYframe& p = *play_diag;
    p.move(slot.x, slot.y);
    p.editors.take_from(editors);
    // The stored visible flag is not used: a restored player is shown.
    p.show();
    player_button->setText(p.player_version);
    // The last log is not reopened; its folder is where the next Open starts.
    p.theFile = cfg_text(slot.theFile);
    p.theFileDir = cfg_text(slot.theFileDir);
    p.theFile.clear();
    p.reset_charts();
    p.plot_data();
    {
        const QSignalBlocker quiet(p.animate_control);
        p.animate_control->setEnabled(slot.animate_enabled);
        p.animate_control->setChecked(slot.animate_selected);
    }
    p.itc_animate->setChecked(slot.itc_animate);
    p.afc_animate->setChecked(slot.afc_animate);
    p.afc2_animate->setChecked(slot.afc2_animate);
    p.animateControl_itemStateChanged();
    p.advanced_fuel_calc->setChecked(slot.advanced_fuel_calc);
    if (slot.chart_2d_present) {
        p.x_2d = slot.x_2d;
        p.y_2d = slot.y_2d;
        p.chart_2d_position_stored = true;
    }
}

kvt::KvtConfig Korvane::current_config() {
    if (control_diag) editors.take_from(control_diag->editors);
    if (play_diag) editors.take_from(play_diag->editors);

    kvt::KvtConfig c;
    // A window never placed nor shown stands at 0, 0 as far as the file goes.
    const QPoint at = testAttribute(Qt::WA_Moved) || isVisible() ? pos() : QPoint(0, 0);
    c.start_x = at.x();
    c.start_y = at.y();
    if (play_diag) c.player = play_diag->config_slot();
    if (control_diag) c.chooser = control_diag->config_slot();
    c.knob_afc = editors.afc_frame ? editor_slot(*editors.afc_frame) : kept_knob_afc_;
    c.vcd_afc = editors.afc2_frame ? editor_slot(*editors.afc2_frame) : kept_vcd_afc_;
    c.itc = editors.itc_frame ? editor_slot(*editors.itc_frame) : kept_itc_;
    if (editors.pms_frame) {
        kvt::PmsSlot pms;
        pms.editor = editor_slot(*editors.pms_frame);
        pms.buttons = stored_buttons(editors.pms_frame->radio_buttons());
        c.pms = pms;
    } else {
        c.pms = kept_pms_;
    }
    return c;
}

void Korvane::record_cfg() {
    try {
        if (auto error = kvt::write_kvt_file(config_file_name, current_config())) {
            error_rtn(kIoError + QString::fromStdString(*error));
        }
    } catch (const std::exception& failure) {
        error_rtn(kIoError + QString::fromLocal8Bit(failure.what()));
    }
}
