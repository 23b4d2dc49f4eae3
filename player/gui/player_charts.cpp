#include "player/gui/player_charts.h"

#include "platform/core/page_populator.h"
#include "player/core/chart_point_pass.h"
#include "player/core/strip_chart_feed.h"
#include "player/gui/chartcontrolp.h"
#include "player/gui/chartitem.h"
#include "player/gui/play_frame.h"

#include <QPushButton>

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace korv::player {

PlayerCharts::PlayerCharts(PLAYframe& frame) : frame_(frame) {
    for (int slot = 1; slot <= kMaxCharts; ++slot) chart_frames_[slot] = std::make_unique<chartitem>(slot);
}

PlayerCharts::~PlayerCharts() = default;

chartitem* PlayerCharts::chart(int slot) const {
    if (slot < 1 || slot > kMaxCharts) return nullptr;
    return chart_frames_[slot].get();
}

void PlayerCharts::reset_charts() {
    if (!chartcontrol_frame_) {
        chartcontrol_frame_ = std::make_unique<chartcontrolp>();
        for (int slot = 1; slot <= kMaxCharts; ++slot) chartcontrol_frame_->chart_frames[slot] = chart(slot);
    }
    chartcontrol_frame_->pf = &frame_;
    chartcontrol_frame_->show();
    for (int slot = 1; slot <= kMaxCharts; ++slot) {
        chart(slot)->hide();
        chart(slot)->clear_chart();
    }
    // Without a log the buttons stay as they are; their colours always do.
    const LogFileType type = frame_.logfiletype();
    if (type == LogFileType::none) return;
    const std::uint32_t enabled = enabled_chart_buttons(type, frame_.log().vxm());
    for (int slot = 1; slot <= kMaxCharts; ++slot) {
        chartcontrol_frame_->button_flag[slot]->setEnabled((enabled >> slot) & 1u);
    }
}

void PlayerCharts::feed() {
    for (int slot = 1; slot <= kMaxCharts; ++slot) {
        chartitem* c = chart(slot);
        c->pf = &frame_;
        c->chartcontrol_frame = chartcontrol_frame_.get();
        if (c->isVisible()) continue;
        const StripChartSpec& spec = strip_chart_spec(slot);
        c->set_title(QString::fromLatin1(spec.title));
        c->model().set_chart_low(spec.low);
        c->model().set_chart_high(spec.high);
    }

    PlayerLog& log = frame_.chart_feed_log();
    if (log.is_open()) feed_points(log);

    const std::int64_t end = log.current_log_record();
    for (int slot = 1; slot <= kMaxCharts; ++slot) {
        chartitem* c = chart(slot);
        c->model().set_last_record(end);
        c->model().set_curr_record(end);
        c->chart_loaded = true;
        c->update_status();
    }
    if (!chartcontrol_frame_) return;
    for (int slot = 1; slot <= kMaxCharts; ++slot) {
        if (!chartcontrol_frame_->is_on(slot)) continue;
        chartitem* c = chart(slot);
        chartcontrol_frame_->show_chart(*c);
        c->paint();
        c->update_status();
    }
}

// Points go to the charts in blocks; the "Range" box is read once for the
// whole log, and each chart is given room for a point per record up front,
// its new pages backed on another thread while the log is read.
void PlayerCharts::feed_points(PlayerLog& log) {
    std::array<StripChartRangeBox, kMaxCharts + 1> boxes{};
    for (int slot = 1; slot <= kMaxCharts; ++slot) boxes[slot] = chart(slot)->range_box();
    const auto records = static_cast<std::size_t>(std::max<std::int64_t>(log.log_records(), 0));
    std::vector<korv::platform::PagePopulator::Range> fresh;
    for (std::uint32_t fed = chart_slots_fed(log.logfiletype()); fed != 0; fed &= fed - 1) {
        korv::StripChartModel& model = chart(__builtin_ctz(fed))->model();
        if (model.has_points()) continue;
        const std::span<std::int32_t> room = model.reserve_points(records);
        if (!room.empty()) fresh.push_back({room.data(), room.size_bytes()});
    }
    std::optional<std::string> error;
    {
        const korv::platform::PagePopulator pages(std::move(fresh));
        error = pass_chart_points(log, [&](int slot, std::span<const std::int32_t> points) {
            chart(slot)->plot_points(points, boxes[slot]);
        });
    }
    if (error) frame_.error_rtn(QString::fromStdString(*error));
}

void PlayerCharts::follow(std::int64_t n) {
    for (int slot = 1; slot <= kMaxCharts; ++slot) {
        chartitem* c = chart(slot);
        if (c->chart_loaded && !c->local_scroll && c->isVisible()) c->scrollmark(n);
    }
}

}  // namespace korv::player
