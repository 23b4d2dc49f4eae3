#pragma once
// The player's analysis and fuel simulator, plugged into the playback
// frame. Other parts (the handheld transfer) come from the extensions
// passed in, when there are any.
#include "player/gui/playback_hooks.h"

namespace korv::player {

class AnalysisExtensions : public PlayerExtensions {
public:
    // others, when given, must outlive this and builds what is not ours.
    explicit AnalysisExtensions(PlayerExtensions* others = nullptr) : others_(others) {}

    std::unique_ptr<PlaybackAnalysis> make_analysis(PLAYframe& frame) override;
    std::unique_ptr<RecordAnimation> make_animation(PLAYframe& frame) override;
    std::unique_ptr<HandheldTransfer> make_handheld(PLAYframe& frame) override;

private:
    PlayerExtensions* others_;
};

}  // namespace korv::player
