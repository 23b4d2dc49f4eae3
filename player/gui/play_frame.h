#pragma once
// "Log File Playback": opens one log at a time, moves a record cursor
// through it and shows each record as a few lines of text. The analysis,
// the animation and the handheld transfer plug in through playback_hooks.h.
#include "common/gui/error_reporter.h"
#include "player/core/log_kind.h"
#include "player/core/kvt_config.h"
#include "player/core/player_log.h"
#include "player/gui/controller_editors.h"
#include "player/gui/playback_hooks.h"

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class csv_dialog;

class PLAYframe : public QWidget {
    Q_OBJECT
public:
    static constexpr int content_width = 640;
    static constexpr int content_height = 400;
    // Records stepped per timer tick of Play, at most, and the time one
    // tick may take before the window gets to repaint.
    static constexpr int play_batch_records = 4096;
    static constexpr int play_batch_ms = 20;

    explicit PLAYframe(korv::player::PlayerServices services);
    ~PLAYframe() override;

    // Opens theFileDir + theFile, closing any open log first. Like every
    // member here, GUI thread only: a worker posts its call.
    void recall_cfg1();
    // What "Open file" does with the chosen file: opens it, closing any
    // open log first, and the charts follow. The handheld transfer opens
    // its new log here too.
    void open_log_file(const QString& path);
    // "Open file" stays disabled while a handheld transfer runs; afterwards
    // it follows the log state again.
    void set_transfer_running(bool running);
    void point_log_file(std::int64_t n);
    void read_log_record();
    void display_log_record();
    void error_rtn(const QString& message);
    korv::ErrorReporter& error_reporter() { return error_; }

    void reset_charts();
    void plot_data();
    void clear_controls();
    // Inverts the enabled state of the controls that need an open log.
    void toggle_controls();

    korv::player::LogFileType logfiletype() const { return log_.logfiletype(); }
    const korv::player::PlayerLog& log() const { return log_; }
    std::int64_t current_log_record() const { return log_.current_log_record(); }
    bool playing() const { return playing_; }
    // One tick of Play; the timer calls it, tests may too.
    void play_tick();
    // The whole run to the end at once, as the chart collections want it.
    void play_to_end();
    // The play pass from the record after the cursor to the end, at once:
    // every record through the display, the analysis and the animation.
    void play_pass_to_end();
    void stop_play();
    const korv::player::PlayerServices& services() const { return services_; }
    // The chart feed steps the open log itself, without showing records.
    korv::player::PlayerLog& chart_feed_log() { return log_; }

    // kvt.cfg's player slot as the window stands now.
    korv::player::kvt::PlayerSlot config_slot() const;

    // The file chooser's answer, split.
    QString theFile;
    QString theFileDir;  // ends with '/'
    bool csv_file = false;
    bool single_click = false;
    korv::player::RecordTextBuffer rtd_line;
    const QString player_version = QStringLiteral("Player 5.0a");

    korv::player::EditorRefs editors;  // afc_frame, afc2_frame, itc_frame, pms_frame
    korv::player::AirFuelGrid* afr_frame = nullptr;
    // The 2-D chart window and where it opens next.
    QPointer<QWidget> c2d_frame;
    int x_2d = 0, y_2d = 0;
    bool chart_2d_position_stored = false;

    QPlainTextEdit* description = nullptr;
    QPlainTextEdit* record_area = nullptr;
    QPushButton* open_button = nullptr;
    QPushButton* close_button = nullptr;
    QPushButton* back_button = nullptr;
    QPushButton* forward_button = nullptr;
    QPushButton* rewind_button = nullptr;
    QPushButton* play_button = nullptr;
    QPushButton* chart2d_button = nullptr;
    QPushButton* chart3d_button = nullptr;
    QSlider* position_slider = nullptr;
    QLabel* peak_label = nullptr;
    std::array<QPushButton*, 5> peak_buttons{};  // RPMS, o2's, Timing, P/W, Knock
    QLineEdit* tps_range = nullptr;
    QLineEdit* rpm_range = nullptr;
    QCheckBox* chart_all = nullptr;
    QCheckBox* low_vals = nullptr;
    QCheckBox* animate_control = nullptr;
    QCheckBox* itc_animate = nullptr;
    QCheckBox* afc_animate = nullptr;
    QCheckBox* afc2_animate = nullptr;
    QCheckBox* advanced_fuel_calc = nullptr;
    QPushButton* reset_button = nullptr;
    QSlider* o2_slider = nullptr;
    QPushButton* pnkorv_button = nullptr;
    QPushButton* afr_button = nullptr;  // never shown: opens the air/fuel grid
    // Where the analysis grid goes.
    QWidget* analysis_area = nullptr;

    korv::player::PlaybackAnalysis& analysis() { return *analysis_; }
    korv::player::RecordAnimation& animation() { return *animation_; }

public slots:
    void openButton_mouseClicked();
    void closeButton_mouseClicked();
    void backButton_mouseClicked();
    void forwardButton_mouseClicked();
    void rewindButton_mouseClicked();
    void playButton_mouseClicked();
    void resetButton_mouseClicked();
    void positionSlider_adjustmentValueChanged(int value);
    void animateControl_itemStateChanged();
    void editorBox_mouseClicked();
    void afrButton_mouseClicked();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct SpecialFile {
        korv::player::LogFileType type = korv::player::LogFileType::none;
        bool converted = false;  // csv.tmp holds the converted log
        bool reported = false;   // the user has been told why not
    };
    SpecialFile special_file(const std::string& path);
    void build_widgets();
    void connect_widgets();
    void show_no_log_state();
    void display_pms_record();
    void display_vxm_record();
    void step(std::int64_t n);
    void start_play();
    void show_record_text();
    void move_slider_to_cursor();

    korv::player::PlayerServices services_;
    korv::ErrorReporter error_;
    korv::player::PlayerLog log_;
    std::unique_ptr<korv::player::PlaybackAnalysis> analysis_;
    std::unique_ptr<korv::player::RecordAnimation> animation_;
    std::unique_ptr<korv::player::HandheldTransfer> handheld_;
    csv_dialog* csv_diag_ = nullptr;
    bool record_read_ = false;
    bool playing_ = false;
    bool transfer_running_ = false;
    bool batching_ = false;  // during a Play tick the widgets follow once at its end
    QTimer play_timer_;
};
