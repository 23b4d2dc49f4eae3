#pragma once
// Builds the controller map editors for Korvview's editor pool.
#include "editors/gui/editor_services.h"
#include "editors/gui/pms_frame.h"
#include "player/plugin/editor_plugin.h"

namespace korv::editors {

class EditorFactory final : public player::EditorFactory {
public:
    explicit EditorFactory(EditorServices services = {});
    ~EditorFactory() override;

    EditorServices services;  // what every editor is built with

    // PMS editor and air/fuel grid.
    std::unique_ptr<player::PmsEditor> make_PMSframe() override;
    std::unique_ptr<player::AirFuelGrid> make_AFRframe() override;

    // Knob-style AFC and ITC editors, VCD AFC editor.
    std::unique_ptr<player::KnobAfcEditor> make_AFCframe1() override;
    std::unique_ptr<player::VcdAfcEditor> make_AFCframe2() override;
    std::unique_ptr<player::ItcEditor> make_ITCframe1() override;

private:
    // services.chooser, else one file dialog for all the AFC and ITC editors.
    platform::FileChooser& afc_chooser();
    std::shared_ptr<platform::FileChooser> afc_dialog_;  // its deleter is bound where it is made
};

}  // namespace korv::editors
