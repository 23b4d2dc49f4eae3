#pragma once
// Builds the 3-D window for Korvview's player.
#include "player/plugin/plot3d_plugin.h"

namespace korv::plot3d {

class Plot3dFactory final : public player::Plot3dWindowFactory {
public:
    std::unique_ptr<QWidget> make_CHART3Dframe() override;
};

}  // namespace korv::plot3d
