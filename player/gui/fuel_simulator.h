#pragma once
// Controller animation and the fuel-adjust simulator: the editors chosen
// beside "Animate" follow each record shown, their pending adjustments
// become a simulated pulse width and O2, and with a grid cell locked the O2
// slider searches the fuel change that would bring the logged O2 to it.
#include "player/gui/playback_hooks.h"

#include <cstdint>

class PLAYframe;

namespace korv::player {

class ControllerEditor;
class PlayerAnalysis;

class FuelSimulator : public RecordAnimation {
public:
    // analysis may be null: then no cell can be locked.
    FuelSimulator(PLAYframe& frame, PlayerAnalysis* analysis);

    void animateControl_itemStateChanged() override;
    void record_read() override;
    void log_closed() override;
    void simulation_reset() override;
    void o2_slider_released() override;
    PmsSimulation animate_pms(const PmsRecord& record) override;
    VxmAnimation animate_vxm(const VxmPlayerModel& record) override;

    // The search for the slider's O2.
    void o2slider_update();

    std::int32_t adjust_fuel_pcnt = 0;
    float adjust_fuel_pw = 0.0f;
    float adjust_fuel_o2 = 0.0f;
    int fuel_base = 1;

private:
    bool cell_locked() const;
    bool animating() const;
    static bool shown(ControllerEditor* editor);
    void show_locked_o2(float o2);

    PLAYframe& frame_;
    PlayerAnalysis* analysis_;
};

}  // namespace korv::player
