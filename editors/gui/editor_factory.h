#pragma once
// Builds the controller map editors for Korvview's editor pool.
#include "editors/gui/pms_frame.h"
#include "player/gui/controller_editors.h"

namespace korv::platform {
class FileChooser;
}

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
    std::unique_ptr<player::KnobAfcEditor> make_AFCframe1() override;
    std::unique_ptr<player::VcdAfcEditor> make_AFCframe2() override;
    std::unique_ptr<player::ItcEditor> make_ITCframe1() override;
    // What they ask for settings files with; null: the file dialog. Must
    // outlive the editors.
    void set_afc_file_chooser(platform::FileChooser* chooser) { afc_chooser_ = chooser; }

private:
    platform::FileChooser& afc_chooser();
    platform::FileChooser* afc_chooser_ = nullptr;
    std::shared_ptr<platform::FileChooser> afc_dialog_;  // its deleter is bound where it is made
};

}  // namespace korv::editors
