#include "player/gui/fuel_simulator.h"

#include "common/core/java_numbers.h"
#include "common/gui/window_place.h"
#include "player/core/fuel_simulation.h"
#include "player/gui/play_frame.h"
#include "player/gui/player_analysis.h"

#include <QCheckBox>
#include <QSlider>

namespace korv::player {
namespace {

void hide(ControllerEditor* editor) {
    if (editor && editor->window()) editor->window()->hide();
}
// An editor opens beside the player, clear of its controls.
void show(ControllerEditor* editor, const QWidget& player) {
    if (!editor || !editor->window()) return;
    korv::place_for_first_show(*editor->window(), &player);
    editor->window()->show();
}

}  // namespace

FuelSimulator::FuelSimulator(PLAYframe& frame, PlayerAnalysis* analysis) : frame_(frame), analysis_(analysis) {}

bool FuelSimulator::cell_locked() const { return analysis_ && analysis_->cell_locked().has_value(); }

bool FuelSimulator::animating() const { return frame_.animate_control->isChecked(); }

bool FuelSimulator::shown(ControllerEditor* editor) {
    return editor && editor->window() && editor->window()->isVisible();
}

void FuelSimulator::show_locked_o2(float o2) {
    if (analysis_) analysis_->show_in_locked_cell(QString::fromStdString(java_float_to_string(trim_decimals(o2))));
}

void FuelSimulator::record_read() {
    if (analysis_) analysis_->release_cell();
}

void FuelSimulator::log_closed() {
    if (analysis_) analysis_->release_cell();
}

void FuelSimulator::simulation_reset() {
    // Each record hands the last correction to the next, so a stale one
    // would spread over every cell the replay passes.
    adjust_fuel_pcnt = 0;
    adjust_fuel_pw = 0.0f;
    adjust_fuel_o2 = 0.0f;
    if (PmsEditor* pms = frame_.editors.pms_frame) pms->set_adjust_pcnt(PmsEditor::kNoAdjustment);
}

// ---- choosing the editors -----------------------------------------------------------

void FuelSimulator::animateControl_itemStateChanged() {
    EditorRefs& e = frame_.editors;
    EditorPool* pool = frame_.services().editors;
    if (!animating()) {
        for (ControllerEditor* editor :
             std::initializer_list<ControllerEditor*>{e.itc_frame, e.afc_frame, e.afc2_frame, e.pms_frame}) {
            hide(editor);
        }
        return;
    }
    switch (frame_.logfiletype()) {
    case LogFileType::pms:
        hide(e.itc_frame);
        hide(e.afc_frame);
        hide(e.afc2_frame);
        if (!e.pms_frame && pool) e.pms_frame = pool->make_PMSframe();
        show(e.pms_frame, frame_);
        break;
    case LogFileType::vxm: {
        hide(e.pms_frame);
        if (frame_.afc_animate->isChecked() && frame_.afc2_animate->isChecked()) {
            frame_.error_rtn(QStringLiteral("Too many fuel controller windows are visible!"));
            frame_.animate_control->setChecked(false);
            return;
        }
        if (!frame_.itc_animate->isChecked()) hide(e.itc_frame);
        if (!frame_.afc_animate->isChecked()) hide(e.afc_frame);
        if (!frame_.afc2_animate->isChecked()) hide(e.afc2_frame);
        if (frame_.itc_animate->isChecked()) {
            if (!e.itc_frame && pool) e.itc_frame = pool->make_ITCframe1();
            show(e.itc_frame, frame_);
        }
        if (frame_.afc_animate->isChecked()) {
            if (!e.afc_frame && pool) e.afc_frame = pool->make_AFCframe1();
            show(e.afc_frame, frame_);
        }
        if (frame_.afc2_animate->isChecked()) {
            if (!e.afc2_frame && pool) e.afc2_frame = pool->make_AFCframe2();
            show(e.afc2_frame, frame_);
        }
        break;
    }
    case LogFileType::none: break;
    }
}

// ---- each record -------------------------------------------------------------------

PmsSimulation FuelSimulator::animate_pms(const PmsRecord& r) {
    const float pw = r.pms_pulsewidth;
    const std::int32_t rpm = r.pms_ecu_rpms;
    adjust_fuel_pw = pw;
    const float ratio = pulse_ratio(r.pms_o2voltage, rpm, pw);
    adjust_fuel_o2 = 0.0f;

    const std::int8_t acc = static_cast<std::int8_t>(r.pms_acc);
    if (AirFuelGrid* grid = frame_.afr_frame) {
        const AnalyserFilter limits = analysis_ ? analysis_->filter() : AnalyserFilter{};
        if (rpm >= limits.rpmrange_value || r.pms_tps >= limits.tpsrange_value) {
            const bool low = frame_.low_vals->isChecked();
            const float values[] = {r.pms_o2voltage, float(r.pms_timing), float(r.pms_hz), pw, duty_cycle(pw, rpm)};
            for (int kind = AirFuelGrid::o2_volts; kind <= AirFuelGrid::duty_cycle; ++kind) {
                grid->animate_cells(rpm, r.pms_tps, r.pms_pressure, acc, values[kind], kind, low);
            }
        }
    }

    PmsEditor* pms = frame_.editors.pms_frame;
    if (pms && animating()) {
        pms->set_adjust_pcnt(adjust_fuel_pcnt);
        pms->animate_cells(rpm, r.pms_tps, r.pms_pressure, acc);
        adjust_fuel_pcnt = pms->total_adjust();
        const SimulatedFuel fuel = pms_simulated_fuel(pw, rpm, ratio, adjust_fuel_pcnt);
        adjust_fuel_o2 = fuel.o2;
        adjust_fuel_pw = fuel.pulse_width;
    } else {
        adjust_fuel_pcnt = 0;
    }

    PmsSimulation sim;
    sim.adjust_fuel_pw = adjust_fuel_pw;
    sim.adjust_fuel_pcnt = adjust_fuel_pcnt;
    sim.adjust_fuel_o2 = adjust_fuel_o2;
    sim.cell_locked = cell_locked();
    if (sim.cell_locked && adjust_fuel_pcnt != 0) show_locked_o2(adjust_fuel_o2);
    return sim;
}

VxmAnimation FuelSimulator::animate_vxm(const VxmPlayerModel& m) {
    VxmAnimation a = unanimated(m);
    EditorRefs& e = frame_.editors;
    const bool animate = animating();
    const bool itc = animate && shown(e.itc_frame);
    const bool afc = animate && shown(e.afc_frame);
    const bool afc2 = animate && shown(e.afc2_frame);
    if (itc) e.itc_frame->animate_cells(m.vxm_rpms);
    if (afc) e.afc_frame->animate_cells(m.vxm_rpms);
    if (afc2) e.afc2_frame->animate_cells(m.vxm_rpms, m.vxm_tps);

    if (itc) {
        const std::int32_t degrees = e.itc_frame->adjustPercentage();
        a.text.itc_adjustment = degrees;
        a.timing = static_cast<std::int8_t>(m.vxm_timing + degrees);
    }
    if (afc) a.text.afc_old_percentage = e.afc_frame->adjustPercentage();
    if (afc2) a.text.afc_new_percentage = e.afc2_frame->adjustPercentage();

    if (!cell_locked()) {
        std::int32_t delta = 0;
        bool active = true;
        if (afc2) {
            delta = e.afc2_frame->adjustDelta();
        } else if (afc) {
            delta = e.afc_frame->adjustDelta();
        } else {
            active = false;
        }
        if (active) {
            const float ratio = pulse_ratio(m.vxm_o2voltage, m.vxm_rpms, m.vxm_pulsewidth);
            const SimulatedFuel fuel = vxm_simulated_fuel(m.vxm_pulsewidth, m.vxm_rpms, ratio, delta);
            adjust_fuel_o2 = fuel.o2;
            adjust_fuel_pw = fuel.pulse_width;
            a.text.simulator = VxmSimulatorPiece{adjust_fuel_pw, false, delta, adjust_fuel_o2};
            a.pulse_width = trim_decimals(adjust_fuel_pw);
            a.o2 = trim_decimals(adjust_fuel_o2);
        }
        return a;
    }

    a.text.simulator = VxmSimulatorPiece{adjust_fuel_pw, true, adjust_fuel_pcnt, adjust_fuel_o2};
    show_locked_o2(adjust_fuel_o2);
    if (afc) e.afc_frame->control_simulator(m.vxm_rpms, adjust_fuel_pcnt, fuel_base);
    if (afc2) e.afc2_frame->control_simulator(m.vxm_rpms, adjust_fuel_pcnt, fuel_base, m.vxm_tps);
    return a;
}

// ---- the O2 slider ---------------------------------------------------------------------

void FuelSimulator::o2_slider_released() {
    if (!frame_.o2_slider->isEnabled()) return;
    const EditorRefs& e = frame_.editors;
    if (!shown(e.afc_frame) && !shown(e.afc2_frame) && !shown(e.pms_frame)) {
        frame_.error_rtn(QStringLiteral("There must be a fuel controller selected before simultion is allowed!"));
        return;
    }
    o2slider_update();
}

void FuelSimulator::o2slider_update() {
    if (!cell_locked()) return;
    O2SearchInput in;
    in.target = static_cast<float>(frame_.o2_slider->value()) / 100.0f;
    in.calc_mthd = frame_.advanced_fuel_calc->isChecked();
    const PlayerLog& log = frame_.log();
    if (log.logfiletype() == LogFileType::pms) {
        const PmsRecord& r = log.pms();
        in.limit = kPmsSearchLimit;
        in.step = kPmsSearchStep;
        in.rpm = r.pms_ecu_rpms;
        in.pulse_width = r.pms_pulsewidth;
        in.ratio = pulse_ratio(r.pms_o2voltage, r.pms_ecu_rpms, r.pms_pulsewidth);
        in.o2_target = r.o2_target;
        in.o2_shown = r.pms_o2voltage;
    } else if (log.logfiletype() == LogFileType::vxm) {
        const bool knob = frame_.afc_animate->isChecked();
        const bool vcd = frame_.afc2_animate->isChecked();
        if (!knob && !vcd) {
            frame_.error_rtn(QStringLiteral("No fuel controller selected!"));
            return;
        }
        const VxmPlayerModel& m = log.vxm();
        in.limit = vcd ? kVcdAfcSearchLimit : kKnobAfcSearchLimit;
        in.step = kAfcSearchStep;
        in.rpm = m.vxm_rpms;
        in.pulse_width = m.vxm_pulsewidth;
        in.ratio = pulse_ratio(m.vxm_o2voltage, m.vxm_rpms, m.vxm_pulsewidth);
        in.o2_target = m.vxm_o2voltage;
        in.o2_shown = m.vxm_o2voltage;
    } else {
        return;
    }

    const auto found = search_fuel_for_o2(in);
    // A target beyond the limit changes nothing.
    if (!found) return;
    adjust_fuel_pcnt = found->percent;
    adjust_fuel_pw = found->pulse_width;
    adjust_fuel_o2 = found->o2;
    if (found->fuel_base) fuel_base = *found->fuel_base;
    frame_.display_log_record();
}

}  // namespace korv::player
