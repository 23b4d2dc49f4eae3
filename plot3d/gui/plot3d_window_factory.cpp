#include "plot3d/gui/plot3d_window_factory.h"

#include "plot3d/gui/chart3d_frame.h"

namespace korv::plot3d {

std::unique_ptr<QWidget> Plot3dFactory::make_CHART3Dframe() { return std::make_unique<CHART3Dframe>(); }

}  // namespace korv::plot3d
