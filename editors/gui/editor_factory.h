#pragma once
// Builds the controller map editors for Korvview's editor pool.
#include "editors/gui/pms_frame.h"
#include "player/gui/controller_editors.h"

namespace korv::editors {

class EditorFactory final : public player::EditorFactory {
public:
    EditorFactory();
    ~EditorFactory() override;

    // PMS editor and air/fuel grid.
    std::unique_ptr<player::PmsEditor> make_PMSframe() override;
    std::unique_ptr<player::AirFuelGrid> make_AFRframe() override;
    PmsServices pms;  // what the PMS editors are built with

    // Knob-style AFC and ITC editors, VCD AFC editor.
};

}  // namespace korv::editors
