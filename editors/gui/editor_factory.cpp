#include "editors/gui/editor_factory.h"

namespace korv::editors {

EditorFactory::EditorFactory() = default;
EditorFactory::~EditorFactory() = default;

}  // namespace korv::editors
