#pragma once
// The playback frame's analysis: peak values, the per-band grid with its
// simulator cell lock, the analyser filter, the strip charts and the 2-D
// and 3-D chart collections.
#include "player/core/analyser_filter.h"
#include "common/core/log_3d.h"
#include "player/core/peak_analysis.h"
#include "player/gui/playback_hooks.h"

#include <QObject>

#include <cstdint>
#include <memory>
#include <optional>

class CHART2Dframe;
class PLAYframe;
class QWidget;

namespace korv::player {

class AnalysisGrid;
class PlayerCharts;

class PlayerAnalysis : public QObject, public PlaybackAnalysis {
    Q_OBJECT
public:
    explicit PlayerAnalysis(PLAYframe& frame);
    ~PlayerAnalysis() override;

    void reset_tables() override;
    void clear_controls() override;
    void reset_charts() override;
    void plot_data() override;
    void set_peak_values(std::int8_t timing, std::int8_t knock, float pulse_width, std::int32_t rpm, float o2,
                         std::int64_t record, float pressure, std::int32_t tps, std::int32_t fuel,
                         std::int32_t air_temperature, std::int32_t coolant_temperature) override;
    void cursor_moved() override;
    void chart_2d() override;
    void chart_3d() override;
    void show_peak(int column) override;
    void tps_limit_entered() override;
    void rpm_limit_entered() override;

    const AnalyserFilter& filter() const { return filter_; }
    const PeakAnalysis& peaks() const { return peaks_; }
    AnalysisGrid* grid() const { return grid_; }
    PlayerCharts& charts() { return *charts_; }
    CHART2Dframe* chart2d_window() const { return c2d_.get(); }
    bool chart_2d_running() const { return chart_2d_; }
    bool chart_3d_running() const { return chart_3d_; }
    std::int64_t count_3d() const { return log3d_.count_3d(); }

    // The simulator's cell: (grid row, column), or none.
    struct Cell {
        int row;
        int column;
    };
    std::optional<Cell> cell_locked() const { return cell_locked_; }
    // Ends a simulation: the record text back to black, the O2 slider off.
    void release_cell();
    // The locked cell shows the simulated O2.
    void show_in_locked_cell(const QString& text);

private slots:
    void cell_pointed(int row, int column);
    void cell_focused(int row, int column);
    void cell_clicked(int row, int column);

private:
    bool pms_log() const;
    void jump_to(std::int64_t record);
    // The play pass from the record after the cursor, with the strip charts
    // following once at its end.
    void collect();
    void apply_change(const AnalysisChange& change);
    void add_chart_2d_rows(const PeakSample& s);
    // A deferred follow of the strip charts, once per batch of cursor moves.
    void follow_later();
    void follow_now();

    PLAYframe& frame_;
    AnalyserFilter filter_;
    PeakAnalysis peaks_;
    AnalysisGrid* grid_ = nullptr;
    std::unique_ptr<PlayerCharts> charts_;
    std::unique_ptr<CHART2Dframe> c2d_;
    std::unique_ptr<QWidget> c3d_;
    Log3dFile log3d_;
    bool chart_2d_ = false;
    bool chart_3d_ = false;
    bool collecting_ = false;
    bool follow_pending_ = false;
    bool checking_limit_ = false;
    std::optional<Cell> cell_locked_;
};

}  // namespace korv::player
