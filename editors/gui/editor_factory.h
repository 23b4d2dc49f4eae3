#pragma once
// Builds the controller map editors for Korvview's editor pool.
#include "player/gui/controller_editors.h"

namespace korv::editors {

class EditorFactory final : public player::EditorFactory {
public:
    EditorFactory();
    ~EditorFactory() override;

    // PMS editor and air/fuel grid.

    // Knob-style AFC and ITC editors, VCD AFC editor.
};

}  // namespace korv::editors
