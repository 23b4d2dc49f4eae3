#include "player/gui/player_charts.h"

#include "player/gui/chartcontrolp.h"
#include "player/gui/chartitem.h"
#include "player/gui/play_frame.h"

#include <QPushButton>

#include <algorithm>
#include <vector>

using namespace korv::player;

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
        c->show();
        c->paint();
        c->update_status();
    }
}

// Points go to the charts in blocks; the "Range" box is read once for the
// whole log, and each chart is given room for a point per record up front.
void PlayerCharts::feed_points(PlayerLog& log) {
    constexpr std::size_t kBlock = 4096;
    std::array<std::vector<std::int32_t>, kMaxCharts + 1> blocks;
    std::array<korv::StripChartRangeBox, kMaxCharts + 1> boxes{};
    const auto records = static_cast<std::size_t>(std::max<std::int64_t>(log.log_records(), 0));
    for (int slot = 1; slot <= kMaxCharts; ++slot) {
        blocks[slot].reserve(kBlock);
        boxes[slot] = chart(slot)->range_box();
    }
    const auto flush = [&] {
        for (int slot = 1; slot <= kMaxCharts; ++slot) {
            if (blocks[slot].empty()) continue;
            chartitem* c = chart(slot);
            if (!c->model().has_points()) c->model().reserve_points(records);
            c->plot_points(blocks[slot], boxes[slot]);
            blocks[slot].clear();
        }
    };

    const bool pms = log.logfiletype() == LogFileType::pms;
    ChartPoints points;
    std::size_t in_block = 0;
    // As Play steps: from record 1 on, the last record read again at the end.
    do {
        log.point_log_file(1);
        const RecordRead read = log.read_log_record();
        if (read.error) {
            flush();
            frame_.error_rtn(QString::fromStdString(*read.error));
            return;
        }
        if (!read.read) break;
        if (pms) {
            pms_chart_points(log.pms(), points);
        } else {
            vxm_chart_points(log.vxm(), points);
        }
        for (int slot = 1; slot <= kMaxCharts; ++slot) {
            if (points.has(slot)) blocks[slot].push_back(points.value[slot]);
        }
        if (++in_block == kBlock) {
            flush();
            in_block = 0;
        }
    } while (log.current_log_record() < log.log_records());
    flush();
}

void PlayerCharts::follow(std::int64_t n) {
    for (int slot = 1; slot <= kMaxCharts; ++slot) {
        chartitem* c = chart(slot);
        if (c->chart_loaded && !c->local_scroll && c->isVisible()) c->scrollmark(n);
    }
}
