#include "player/gui/player_analysis.h"

#include "common/gui/window_place.h"
#include "player/core/chart_2d_rows.h"
#include "player/gui/analysis_grid.h"
#include "player/gui/chart2d_frame.h"
#include "player/gui/chartcontrolp.h"
#include "player/gui/play_frame.h"
#include "player/gui/player_charts.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include "common/core/java_numbers.h"

namespace korv::player {

PlayerAnalysis::PlayerAnalysis(PLAYframe& frame) : frame_(frame), charts_(std::make_unique<PlayerCharts>(frame)) {
    grid_ = new AnalysisGrid(frame_.analysis_area);
    grid_->move(0, 0);
    connect(grid_, &AnalysisGrid::cell_pointed, this, &PlayerAnalysis::cell_pointed);
    connect(grid_, &AnalysisGrid::cell_focused, this, &PlayerAnalysis::cell_focused);
    connect(grid_, &AnalysisGrid::cell_clicked, this, &PlayerAnalysis::cell_clicked);
}

PlayerAnalysis::~PlayerAnalysis() = default;

bool PlayerAnalysis::pms_log() const { return frame_.logfiletype() == LogFileType::pms; }

// ---- the tables and the grid ---------------------------------------------------

void PlayerAnalysis::reset_tables() { peaks_.reset(); }

void PlayerAnalysis::clear_controls() {
    if (chart_3d_) return;
    grid_->set_row_labels(pms_log());
    if (c2d_) {
        c2d_->hide();
        c2d_->clear_tables();
    }
    if (chart_2d_) return;
    grid_->clear_values();
    peaks_.clear_bands();
}

void PlayerAnalysis::set_peak_values(std::int8_t timing, std::int8_t knock, float pulse_width, std::int32_t rpm,
                                     float o2, std::int64_t record, float pressure, std::int32_t tps, std::int32_t fuel,
                                     std::int32_t air_temperature, std::int32_t coolant_temperature) {
    if (cell_locked_) return;
    frame_.o2_slider->setValue(saturating_float_to_int32(o2 * 100.0f));

    const PeakSample s{timing, knock,           pulse_width,        rpm, o2, record, pressure, tps,
                       fuel,   air_temperature, coolant_temperature};
    const bool passes = filter_.passes(tps, rpm);
    const bool charted = frame_.chart_all->isChecked() || passes;
    if (chart_3d_ && charted) {
        const Log3dRecord r{float(rpm),
                            o2,
                            float(fuel),
                            float(timing),
                            float(tps),
                            pressure,
                            pulse_width,
                            float(coolant_temperature),
                            float(air_temperature)};
        log3d_.add(r, record);
    }
    if (c2d_ && chart_2d_ && charted && c2d_->isHidden() && c2d_->chart2d_values.getRowCount() < kChart2dMaxRows) {
        add_chart_2d_rows(s);
    }
    if (chart_2d_ || chart_3d_) return;
    if (!passes) return;
    apply_change(peaks_.add(s, frame_.low_vals->isChecked(), pms_log(), frame_.log().pms().pms_hz));
}

void PlayerAnalysis::add_chart_2d_rows(const PeakSample& s) {
    const PmsRecord* pms = pms_log() ? &frame_.log().pms() : nullptr;
    c2d_->chart2d_values.addRow(boost_chart_row(s.pressure, s.knock, s.timing, pms));
    c2d_->o2chart_values.addRow(o2_chart_row(s.o2, s.pulse_width, pms));
}

void PlayerAnalysis::apply_change(const AnalysisChange& change) {
    if (change.band >= 0) {
        for (int row = kFirstAnalysisRow; row <= kLastAnalysisRow; ++row) {
            if (!(change.rows & (1u << row))) continue;
            grid_->show_value(row, change.band, QString::fromStdString(peaks_.cell_text(row, change.band, pms_log())));
        }
    }
    for (int c = 0; c < kPeakColumns; ++c) {
        if (change.peaks & (1u << c)) frame_.peak_buttons[std::size_t(c)]->setEnabled(true);
    }
}

void PlayerAnalysis::jump_to(std::int64_t record) {
    frame_.stop_play();
    frame_.single_click = true;
    frame_.point_log_file(0);
    frame_.point_log_file(record);
    frame_.read_log_record();
    frame_.display_log_record();
    frame_.single_click = false;
}

void PlayerAnalysis::show_peak(int column) {
    if (column < 0 || column >= kPeakColumns) return;
    jump_to(peaks_.peak_record(column));
}

void PlayerAnalysis::cell_pointed(int row, int column) {
    if (cell_locked_) return;
    const std::int64_t record = peaks_.band_record(row, column);
    if (record > 0 && record <= frame_.log().log_records()) jump_to(record);
}

void PlayerAnalysis::cell_focused(int row, int column) {
    release_cell();
    const std::int64_t record = peaks_.band_record(row, column);
    if (record > 0 && record <= frame_.log().log_records()) jump_to(record);
}

void PlayerAnalysis::cell_clicked(int row, int column) {
    if (cell_locked_) return;
    cell_locked_ = Cell{row, column};
    frame_.record_area->setStyleSheet(QStringLiteral("color: red;"));
    grid_->cell(row, column)->selectAll();
    frame_.o2_slider->setEnabled(true);
}

void PlayerAnalysis::release_cell() {
    cell_locked_.reset();
    frame_.record_area->setStyleSheet(QString());
    frame_.o2_slider->setEnabled(false);
}

void PlayerAnalysis::show_in_locked_cell(const QString& text) {
    if (cell_locked_) grid_->cell(cell_locked_->row, cell_locked_->column)->show_text(text);
}

// ---- the filter ------------------------------------------------------------------

void PlayerAnalysis::tps_limit_entered() {
    if (checking_limit_) return;
    const auto limit = parse_filter_limit(frame_.tps_range->text().toStdString(), kMaxTpsLimit);
    if (limit) {
        filter_.tpsrange_value = *limit;
        return;
    }
    // The field is put right before the message takes the focus away.
    checking_limit_ = true;
    frame_.tps_range->setText(QString::number(kDefaultTpsLimit));
    filter_.tpsrange_value = kDefaultTpsLimit;
    frame_.error_rtn(QStringLiteral("Must be numeric 0 to 100!"));
    checking_limit_ = false;
}

void PlayerAnalysis::rpm_limit_entered() {
    if (checking_limit_) return;
    const auto limit = parse_filter_limit(frame_.rpm_range->text().toStdString(), kMaxRpmLimit);
    if (limit) {
        filter_.rpmrange_value = *limit;
        return;
    }
    checking_limit_ = true;
    frame_.rpm_range->setText(QString::number(kDefaultRpmLimit));
    filter_.rpmrange_value = kDefaultRpmLimit;
    frame_.error_rtn(QStringLiteral("Must be numeric 0 to 8000!"));
    checking_limit_ = false;
}

// ---- the strip charts ------------------------------------------------------------

void PlayerAnalysis::reset_charts() { charts_->reset_charts(); }

void PlayerAnalysis::plot_data() {
    const QString title = frame_.windowTitle();
    frame_.setWindowTitle(title + QStringLiteral(" (loading chart points, please wait)"));
    frame_.toggle_controls();
    frame_.stop_play();
    frame_.point_log_file(0);
    frame_.clear_controls();
    charts_->feed();
    frame_.point_log_file(0);
    if (charts_->manager()) charts_->manager()->show();
    frame_.setWindowTitle(title);
    frame_.toggle_controls();
}

void PlayerAnalysis::cursor_moved() {
    if (!charts_->manager()) charts_->reset_charts();
    // During a run the marks follow once per batch of records.
    if (collecting_ || frame_.playing()) {
        follow_later();
        return;
    }
    follow_now();
}

void PlayerAnalysis::follow_later() {
    if (follow_pending_) return;
    follow_pending_ = true;
    QTimer::singleShot(0, this, [this] {
        follow_pending_ = false;
        follow_now();
    });
}

void PlayerAnalysis::follow_now() {
    if (frame_.log().is_open()) charts_->follow(frame_.current_log_record() + 1);
}

// ---- the 2-D and 3-D collections -------------------------------------------------

void PlayerAnalysis::collect() {
    collecting_ = true;
    frame_.play_pass_to_end();
    collecting_ = false;
    follow_now();
}

void PlayerAnalysis::chart_2d() {
    if (!frame_.log().is_open()) return;
    frame_.stop_play();
    chart_2d_ = true;
    if (!c2d_) {
        c2d_ = std::make_unique<CHART2Dframe>();
        frame_.c2d_frame = c2d_.get();
        if (frame_.x_2d != 0) c2d_->move(frame_.x_2d, frame_.y_2d);
    }
    c2d_->hide();
    frame_.clear_controls();
    if (pms_log()) {
        c2d_->chart2d_values.setColumnHeaders(kPmsBoostHeaders);
        c2d_->o2chart_values.setColumnHeaders(kPmsO2Headers);
    } else {
        c2d_->chart2d_values.setColumnHeaders(kVxmBoostHeaders);
        c2d_->o2chart_values.setColumnHeaders(kVxmO2Headers);
    }
    collect();
    // Without a stored position it opens beside the player.
    korv::place_for_first_show(*c2d_, &frame_);
    c2d_->show();
    chart_2d_ = false;
}

void PlayerAnalysis::chart_3d() {
    if (!frame_.log().is_open()) return;
    frame_.stop_play();
    if (auto error = log3d_.create(kLog3dFileName)) {
        frame_.error_rtn(QStringLiteral("8) Unable to open file: ") + QString::fromStdString(*error));
        return;
    }
    chart_3d_ = true;
    frame_.clear_controls();
    collect();
    chart_3d_ = false;
    if (auto error = log3d_.close()) {
        frame_.error_rtn(QStringLiteral("8) Unable to open file: ") + QString::fromStdString(*error));
        return;
    }
    if (log3d_.count_3d() == 0) {
        frame_.error_rtn(QStringLiteral("No records selected for charting"));
        return;
    }
    // The new window takes the place of the one it replaces; the first one
    // opens at 50, 50 unless that would cover the player's controls.
    std::optional<QPoint> last_place;
    if (c3d_ && korv::has_own_place(*c3d_)) last_place = c3d_->pos();
    c3d_.reset();
    Plot3dWindowFactory* factory = frame_.services().plot3d;
    if (factory) c3d_ = factory->make_CHART3Dframe();
    if (!c3d_) return;
    if (last_place) {
        c3d_->move(*last_place);
    } else {
        korv::place_for_first_show(*c3d_, &frame_, QPoint(50, 50));
    }
    c3d_->show();
}

}  // namespace korv::player
