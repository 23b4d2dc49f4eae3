// The factory's AFC and ITC editors, apart from the other kinds it builds.
#include "editors/gui/afcframe2.h"
#include "editors/gui/editor_factory.h"
#include "editors/gui/knob_frame.h"
#include "platform/gui/qt_file_chooser.h"

namespace korv::editors {

platform::FileChooser& EditorFactory::afc_chooser() {
    if (services.chooser) return *services.chooser;
    if (!afc_dialog_) afc_dialog_ = std::make_shared<platform::QtFileChooser>();
    return *afc_dialog_;
}

std::unique_ptr<player::KnobAfcEditor> EditorFactory::make_AFCframe1() {
    return std::make_unique<AFCframe1>(afc_chooser());
}

std::unique_ptr<player::VcdAfcEditor> EditorFactory::make_AFCframe2() {
    return std::make_unique<AFCframe2>(afc_chooser());
}

std::unique_ptr<player::ItcEditor> EditorFactory::make_ITCframe1() {
    return std::make_unique<ITCframe1>(afc_chooser());
}

}  // namespace korv::editors
