#pragma once
// The player's 22 strip-chart windows and their "Chart Manager", built on
// the GUI thread with the frame, and the pass that feeds them from the log.
#include "player/core/player_log.h"
#include "player/core/strip_chart_feed.h"

#include <array>
#include <cstdint>
#include <memory>

class PLAYframe;
class chartcontrolp;
class chartitem;

namespace korv::player {

class PlayerCharts {
public:
    explicit PlayerCharts(PLAYframe& frame);
    ~PlayerCharts();
    PlayerCharts(const PlayerCharts&) = delete;
    PlayerCharts& operator=(const PlayerCharts&) = delete;

    // Null until the first chart reset.
    chartcontrolp* manager() const { return chartcontrol_frame_.get(); }
    // Slots 1..22; null elsewhere.
    chartitem* chart(int slot) const;

    // Shows the manager, hides and empties every chart, and offers the
    // buttons the open log can feed.
    void reset_charts();
    // Titles and ranges the hidden charts, sends each one point per record
    // of the open log, then shows the charts the user has switched on.
    void feed();
    // Every loaded, shown chart not moving the player itself puts its mark
    // on record n - 1.
    void follow(std::int64_t n);

private:
    void feed_points(PlayerLog& log);

    PLAYframe& frame_;
    std::array<std::unique_ptr<chartitem>, kChartSlots> chart_frames_;
    std::unique_ptr<chartcontrolp> chartcontrol_frame_;
};

}  // namespace korv::player
