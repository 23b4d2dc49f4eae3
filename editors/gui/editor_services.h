#pragma once
// What the editor windows use from outside; null members take the real ones.

namespace korv {
class KorvioLibrary;
}
namespace korv::platform {
class FileChooser;
}

namespace korv::editors {

struct EditorServices {
    platform::FileChooser* chooser = nullptr;  // settings files' Open and Save
    const KorvioLibrary* library = nullptr;    // the PMS download; null: libkorvio.so by name
};

}  // namespace korv::editors
