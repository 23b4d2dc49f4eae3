#pragma once
// The player's side of the controller map editors: which editors a window
// refers to, and the pool that owns every editor built during the run. The
// editors' interface is the plug-in header.
#include "player/plugin/editor_plugin.h"

#include <memory>
#include <vector>

namespace korv::player {

// The editors one holder (start window, chooser, player) refers to.
struct EditorRefs {
    KnobAfcEditor* afc_frame = nullptr;
    VcdAfcEditor* afc2_frame = nullptr;
    ItcEditor* itc_frame = nullptr;
    PmsEditor* pms_frame = nullptr;

    // Takes over every editor `other` holds; keeps its own where `other` has none.
    void take_from(const EditorRefs& other);
};

// Owns every editor window built during the run; they live until the program ends.
class EditorPool {
public:
    explicit EditorPool(EditorFactory* factory = nullptr);
    ~EditorPool();
    EditorPool(const EditorPool&) = delete;
    EditorPool& operator=(const EditorPool&) = delete;

    // Each returns a new hidden editor, or null when none can be built.
    KnobAfcEditor* make_AFCframe1();
    VcdAfcEditor* make_AFCframe2();
    ItcEditor* make_ITCframe1();
    PmsEditor* make_PMSframe();
    AirFuelGrid* make_AFRframe();

private:
    EditorFactory none_;
    EditorFactory* factory_;
    std::vector<std::unique_ptr<ControllerEditor>> editors_;
    std::vector<std::unique_ptr<AirFuelGrid>> grids_;
};

}  // namespace korv::player
