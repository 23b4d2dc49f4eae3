#include "player/gui/playback_hooks.h"

#include <QWidget>

namespace korv::player {

std::unique_ptr<PlaybackAnalysis> PlayerExtensions::make_analysis(PLAYframe&) {
    return std::make_unique<PlaybackAnalysis>();
}
std::unique_ptr<RecordAnimation> PlayerExtensions::make_animation(PLAYframe&) {
    return std::make_unique<RecordAnimation>();
}
std::unique_ptr<HandheldTransfer> PlayerExtensions::make_handheld(PLAYframe&) {
    return std::make_unique<HandheldTransfer>();
}

}  // namespace korv::player
