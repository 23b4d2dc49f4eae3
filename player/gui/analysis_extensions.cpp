#include "player/gui/analysis_extensions.h"

#include "player/gui/fuel_simulator.h"
#include "player/gui/play_frame.h"
#include "player/gui/player_analysis.h"

namespace korv::player {

std::unique_ptr<PlaybackAnalysis> AnalysisExtensions::make_analysis(PLAYframe& frame) {
    return std::make_unique<PlayerAnalysis>(frame);
}

// The frame builds its analysis first; the simulator locks its grid cells.
std::unique_ptr<RecordAnimation> AnalysisExtensions::make_animation(PLAYframe& frame) {
    return std::make_unique<FuelSimulator>(frame, dynamic_cast<PlayerAnalysis*>(&frame.analysis()));
}

std::unique_ptr<HandheldTransfer> AnalysisExtensions::make_handheld(PLAYframe& frame) {
    return others_ ? others_->make_handheld(frame) : PlayerExtensions::make_handheld(frame);
}

}  // namespace korv::player
