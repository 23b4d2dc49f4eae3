#include "player/gui/controller_editors.h"

namespace korv::player {

void EditorRefs::take_from(const EditorRefs& other) {
    if (other.afc_frame) afc_frame = other.afc_frame;
    if (other.afc2_frame) afc2_frame = other.afc2_frame;
    if (other.itc_frame) itc_frame = other.itc_frame;
    if (other.pms_frame) pms_frame = other.pms_frame;
}

EditorPool::EditorPool(EditorFactory* factory) : factory_(factory ? factory : &none_) {}

EditorPool::~EditorPool() = default;

namespace {
template <typename Editor>
Editor* keep(std::unique_ptr<Editor> made, std::vector<std::unique_ptr<ControllerEditor>>& editors) {
    Editor* raw = made.get();
    if (made) editors.push_back(std::move(made));
    return raw;
}
}  // namespace

KnobAfcEditor* EditorPool::make_AFCframe1() { return keep(factory_->make_AFCframe1(), editors_); }
VcdAfcEditor* EditorPool::make_AFCframe2() { return keep(factory_->make_AFCframe2(), editors_); }
ItcEditor* EditorPool::make_ITCframe1() { return keep(factory_->make_ITCframe1(), editors_); }
PmsEditor* EditorPool::make_PMSframe() { return keep(factory_->make_PMSframe(), editors_); }

AirFuelGrid* EditorPool::make_AFRframe() {
    std::unique_ptr<AirFuelGrid> made = factory_->make_AFRframe();
    AirFuelGrid* raw = made.get();
    if (made) grids_.push_back(std::move(made));
    return raw;
}

}  // namespace korv::player
