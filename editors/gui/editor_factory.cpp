#include "editors/gui/editor_factory.h"

namespace korv::editors {

EditorFactory::EditorFactory() = default;
EditorFactory::~EditorFactory() = default;

// PMS editor and air/fuel grid.

// Knob-style AFC and ITC editors, VCD AFC editor.

}  // namespace korv::editors
