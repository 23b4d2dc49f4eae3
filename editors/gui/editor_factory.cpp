#include "editors/gui/editor_factory.h"

#include "editors/gui/afr_frame.h"

namespace korv::editors {

EditorFactory::EditorFactory(EditorServices services) : services(services) {}
EditorFactory::~EditorFactory() = default;

// PMS editor and air/fuel grid.
std::unique_ptr<player::PmsEditor> EditorFactory::make_PMSframe() { return std::make_unique<PMSframe>(services); }
std::unique_ptr<player::AirFuelGrid> EditorFactory::make_AFRframe() { return std::make_unique<AFRframe>(); }

// Knob-style AFC and ITC editors, VCD AFC editor.

}  // namespace korv::editors
