#pragma once
// Builds the controller map editors for Korvview's editor pool.
#include "player/gui/controller_editors.h"

namespace korv::editors {

class EditorFactory final : public player::EditorFactory {
public:
    EditorFactory();
    ~EditorFactory() override;
};

}  // namespace korv::editors
