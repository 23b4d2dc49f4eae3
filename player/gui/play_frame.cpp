#include "player/gui/play_frame.h"

#include "common/core/count_text.h"
#include "platform/core/file_chooser.h"
#include "player/core/csv_conversion.h"
#include "player/core/csv_preview.h"
#include "player/core/record_text.h"
#include "player/gui/cfg_text.h"
#include "player/gui/csv_dialog.h"
#include "platform/gui/windows1252_text.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>
#include <climits>

using namespace korv::player;

namespace {

const QString kIdleTitle = QStringLiteral("Log File Playback");

// The lines read before a CSV header, as the dialog shows them.
QString lines_read_text(std::string_view bytes) {
    const CsvPreview preview = csv_preview(bytes);
    if (preview.utf8) return QString::fromUtf8(preview.text.data(), qsizetype(preview.text.size()));
    return korv::platform::qstring_from_windows1252(preview.text);
}

// Saturating, for a slider whose range is an int.
int slider_value(std::int64_t v) { return int(std::clamp<std::int64_t>(v, 0, INT_MAX)); }

}  // namespace

PLAYframe::PLAYframe(PlayerServices services) : QWidget(nullptr), services_(std::move(services)) {
    setObjectName("PLAYframe");
    build_widgets();
    PlayerExtensions none;
    PlayerExtensions& extensions = services_.extensions ? *services_.extensions : none;
    analysis_ = extensions.make_analysis(*this);
    animation_ = extensions.make_animation(*this);
    handheld_ = extensions.make_handheld(*this);
    connect_widgets();
    play_timer_.setInterval(0);
    connect(&play_timer_, &QTimer::timeout, this, &PLAYframe::play_tick);
}

PLAYframe::~PLAYframe() = default;

void PLAYframe::error_rtn(const QString& message) { error_.error_rtn(message); }

// ---- opening and closing ----------------------------------------------------

void PLAYframe::openButton_mouseClicked() {
    if (!services_.file_chooser || transfer_running_) return;
    korv::platform::FileChooserRequest request;
    request.mode = korv::platform::FileChooserMode::Open;
    request.title = "Open";
    request.directory = QFile::encodeName(theFileDir.trimmed()).toStdString();
    const auto chosen = services_.file_chooser->choose(request);
    if (!chosen || chosen->empty()) return;
    open_log_file(QFile::decodeName(QByteArray::fromStdString(*chosen)));
}

void PLAYframe::open_log_file(const QString& path) {
    const QFileInfo info(path);
    if (info.fileName().isEmpty()) return;
    theFile = info.fileName();
    theFileDir = info.absolutePath();
    if (!theFileDir.endsWith(u'/')) theFileDir += u'/';

    recall_cfg1();
    if (log_.is_open()) {
        const QString note = cfg_path_note(theFile, theFileDir, kvt::kPlayerSlotFixedBytes, false);
        if (!note.isEmpty()) error_rtn(note);
    }
    reset_charts();
    plot_data();
}

void PLAYframe::recall_cfg1() {
    stop_play();
    // Another log may come in while one is open (a handheld transfer reloads
    // the player): the open one is closed first, so the controls stay paired.
    if (log_.is_open()) closeButton_mouseClicked();
    // A log just opened shows nothing until its first step.
    rtd_line.clear();
    record_area->clear();
    csv_file = false;
    analysis_->reset_tables();
    if (theFile.isEmpty()) return;
    const QFileInfo info(theFileDir + theFile);
    if (!info.exists() || !info.isFile()) return;

    std::string path = QFile::encodeName(info.filePath()).toStdString();
    LogFileType type = LogFileType::none;
    korv::FloatOrder order = korv::FloatOrder::little;
    bool reported = false;
    switch (classify_log_name(path)) {
    case LogNameKind::vxm_little: type = LogFileType::vxm; break;
    case LogNameKind::vxm_big:
        type = LogFileType::vxm;
        order = korv::FloatOrder::big;
        csv_file = true;
        break;
    case LogNameKind::pms: type = LogFileType::pms; break;
    case LogNameKind::unknown: {
        const SpecialFile special = special_file(path);
        type = special.type;
        reported = special.reported;
        if (special.converted) {
            path = "csv.tmp";
            order = korv::FloatOrder::big;
        }
        break;
    }
    }

    if (type == LogFileType::none) {
        if (!reported) error_rtn(QStringLiteral("Not a supported log file type (dab or vxg)"));
        show_no_log_state();
        return;
    }
    if (auto error = log_.open(path, type, order)) {
        error_rtn(QString::fromStdString(*error));
        show_no_log_state();
        return;
    }
    toggle_controls();
    {
        const QSignalBlocker quiet(position_slider);
        position_slider->setRange(0, slider_value(log_.log_records()));
        position_slider->setValue(0);
    }
    record_read_ = false;

    clear_controls();
    reset_button->setEnabled(true);
    reset_button->show();
    animate_control->show();
    chart_all->show();
    low_vals->show();
    setWindowTitle(QStringLiteral("Process log file: ") + theFileDir + theFile);
    const bool vxm = type == LogFileType::vxm;
    itc_animate->setVisible(vxm);
    afc_animate->setVisible(vxm);
    afc2_animate->setVisible(vxm);
}

// A failed open leaves nothing half open: the window looks as it did
// before any log.
void PLAYframe::show_no_log_state() {
    log_.close();
    csv_file = false;
    record_read_ = false;
    setWindowTitle(kIdleTitle);
    reset_button->setEnabled(false);
    reset_button->hide();
    chart_all->hide();
    low_vals->hide();
    itc_animate->hide();
    afc_animate->hide();
    afc2_animate->hide();
}

void PLAYframe::closeButton_mouseClicked() {
    stop_play();
    reset_button->hide();
    reset_button->setEnabled(false);
    animate_control->hide();
    animate_control->setChecked(false);
    chart_all->hide();
    low_vals->hide();
    itc_animate->hide();
    afc_animate->hide();
    afc2_animate->hide();
    for (ControllerEditor* editor : std::initializer_list<ControllerEditor*>{editors.itc_frame, editors.afc_frame,
                                                                             editors.afc2_frame, editors.pms_frame}) {
        if (editor && editor->window()) editor->window()->hide();
    }
    toggle_controls();
    for (QPushButton* peak : peak_buttons) peak->setEnabled(false);
    animation_->log_closed();
    record_area->setStyleSheet(QString());
    clear_controls();
    log_.close();
    record_read_ = false;
    csv_file = false;
}

void PLAYframe::toggle_controls() {
    {
        const QSignalBlocker quiet(position_slider);
        position_slider->setValue(0);
    }
    for (QWidget* w :
         std::initializer_list<QWidget*>{open_button, close_button, back_button, forward_button, rewind_button,
                                         play_button, chart2d_button, chart3d_button, position_slider}) {
        w->setEnabled(!w->isEnabled());
    }
    if (transfer_running_) open_button->setEnabled(false);
}

void PLAYframe::set_transfer_running(bool running) {
    transfer_running_ = running;
    open_button->setEnabled(!running && !log_.is_open());
}

// ---- the CSV conversion ----------------------------------------------------

PLAYframe::SpecialFile PLAYframe::special_file(const std::string& path) {
    SpecialFile result;
    if (!csv_diag_) {
        csv_diag_ = new csv_dialog(this, true);
        csv_diag_->hide();
    }
    CsvLogConverter converter;
    if (auto error = converter.open(path)) {
        error_rtn(QStringLiteral("File error: ") + QString::fromStdString(*error));
        result.reported = true;
        return result;
    }
    csv_diag_->clear_text();
    CsvHeaderScan scan;
    if (auto error = converter.scan_header(scan)) {
        error_rtn(QStringLiteral("File error: ") + QString::fromStdString(*error));
        result.reported = true;
        return result;
    }
    csv_diag_->append_text(lines_read_text(scan.lines_read));
    if (scan.column_count == 0) return result;

    if (csv_diag_->control_count() != int(scan.column_count)) csv_diag_->add_controls(int(scan.column_count));
    csv_diag_->csvFile_itemStateChanged();
    if (services_.run_csv_dialog) {
        services_.run_csv_dialog(*csv_diag_);
    } else {
        csv_diag_->exec();
    }
    csv_diag_->hide();

    int chosen = 0;  // a later tick wins
    if (csv_diag_->pms_file->isChecked()) chosen = 1;
    if (csv_diag_->vxm_file->isChecked()) chosen = 2;
    if (csv_diag_->csv_file->isChecked()) chosen = 3;
    if (chosen == 1) result.type = LogFileType::pms;
    if (chosen == 2) result.type = LogFileType::vxm;
    if (chosen != 3) return result;

    error_rtn(QStringLiteral("Converting file, please wait"));
    // Keep the window painted on a long file; the user's input waits.
    auto keep_painted = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    keep_painted();
    const std::vector<int> items = csv_diag_->chosen_items();
    const CsvConversionResult converted = converter.convert(items, "csv.tmp", keep_painted);
    error_.hide();

    switch (converted.outcome) {
    case CsvOutcome::file_error:
        error_rtn(QStringLiteral("File error: ") + QString::fromStdString(converted.error));
        result.reported = true;
        return result;
    case CsvOutcome::too_many_columns:
        error_rtn(QStringLiteral("At most %1 columns can be converted; %2 were given a quantity.")
                      .arg(kMaxCsvKeptColumns)
                      .arg(converted.kept_columns));
        result.reported = true;
        return result;
    case CsvOutcome::nothing_chosen: csv_file = false; return result;
    case CsvOutcome::no_records:
        error_rtn(QStringLiteral("No row could be converted: ") +
                  QString::fromStdString(csv_no_rows_reason(scan.header_line)));
        result.reported = true;
        return result;
    case CsvOutcome::converted: break;
    }
    if (converted.bad_rows > 0) {
        const std::uint64_t rows = converted.bad_rows;
        error_rtn(QString::fromStdString(korv::counted(rows, "row", "rows") + " " +
                                         std::string(korv::was_or_were(rows)) +
                                         " skipped: a converted column held no number there."));
    }
    csv_file = true;
    result.type = LogFileType::vxm;
    result.converted = true;
    return result;
}

// ---- the cursor --------------------------------------------------------------

void PLAYframe::point_log_file(std::int64_t n) {
    if (!log_.is_open()) return;
    log_.point_log_file(n);
    analysis_->cursor_moved();
    if (single_click && !batching_) move_slider_to_cursor();
}

void PLAYframe::move_slider_to_cursor() {
    const QSignalBlocker quiet(position_slider);
    position_slider->setValue(slider_value(log_.current_log_record()));
}

void PLAYframe::read_log_record() {
    const RecordRead read = log_.read_log_record();
    record_read_ = read.read;
    if (read.error) error_rtn(QString::fromStdString(*read.error));
    // Any record read ends a simulation.
    o2_slider->setEnabled(false);
    animation_->record_read();
}

void PLAYframe::display_log_record() {
    if (!record_read_) return;
    switch (log_.logfiletype()) {
    case LogFileType::pms: display_pms_record(); break;
    case LogFileType::vxm: display_vxm_record(); break;
    case LogFileType::none: break;
    }
}

void PLAYframe::display_pms_record() {
    const PmsRecord& r = log_.pms();
    if (!record_is_shown(r.pms_ecu_rpms)) return;
    const PmsSimulation sim = animation_->animate_pms(r);
    const std::int64_t cursor = log_.current_log_record();
    pms_record_text(rtd_line, cursor, r, sim);
    show_record_text();
    const float o2 = sim.adjust_fuel_pcnt != 0 ? sim.adjust_fuel_o2 : r.pms_o2voltage;
    analysis_->set_peak_values(r.pms_timing, 0, r.pms_pulsewidth, r.pms_ecu_rpms, o2, cursor, r.pms_pressure, r.pms_tps,
                               r.pms_fueladdition + sim.adjust_fuel_pcnt, r.pms_airtemp, r.pms_watertemp);
}

void PLAYframe::display_vxm_record() {
    const korv::VxmPlayerModel& m = log_.vxm();
    if (!record_is_shown(m.vxm_rpms)) return;
    const VxmAnimation a = animation_->animate_vxm(m);
    const std::int64_t cursor = log_.current_log_record();
    vxm_record_text(rtd_line, cursor, m, a.text);
    show_record_text();
    analysis_->set_peak_values(a.timing, m.vxm_knock, a.pulse_width, m.vxm_rpms, a.o2, cursor, 0.0f, m.vxm_tps, 0,
                               m.vxm_airtemp, m.vxm_watertemp);
}

void PLAYframe::show_record_text() {
    if (batching_) return;
    const std::string_view text = rtd_line.text();
    record_area->setPlainText(QString::fromLatin1(text.data(), qsizetype(text.size())));
}

void PLAYframe::step(std::int64_t n) {
    single_click = true;
    point_log_file(n);
    single_click = false;
    read_log_record();
    display_log_record();
}

void PLAYframe::backButton_mouseClicked() {
    stop_play();
    step(-1);
}

void PLAYframe::forwardButton_mouseClicked() {
    stop_play();
    step(1);
}

void PLAYframe::rewindButton_mouseClicked() {
    stop_play();
    step(0);
}

void PLAYframe::positionSlider_adjustmentValueChanged(int value) {
    if (single_click) return;
    stop_play();
    point_log_file(0);
    point_log_file(value);
    read_log_record();
    display_log_record();
}

// ---- Play ----------------------------------------------------------------------

// Play runs from record 0 to the end in timer ticks, so the window keeps
// painting on a long log; each record still passes through the display,
// the analysis and the animation.
void PLAYframe::playButton_mouseClicked() { start_play(); }

void PLAYframe::start_play() {
    stop_play();
    if (!log_.is_open()) return;
    clear_controls();
    step(0);
    playing_ = true;
    play_timer_.start();
}

void PLAYframe::stop_play() {
    playing_ = false;
    play_timer_.stop();
}

void PLAYframe::play_tick() {
    if (!playing_) return;
    if (!log_.is_open()) {
        stop_play();
        return;
    }
    QElapsedTimer elapsed;
    elapsed.start();
    batching_ = true;
    int stepped = 0;
    do {
        single_click = true;
        point_log_file(1);
        read_log_record();
        display_log_record();
        single_click = false;
        ++stepped;
    } while (log_.current_log_record() < log_.log_records() && stepped < play_batch_records &&
             elapsed.elapsed() < play_batch_ms);
    batching_ = false;
    show_record_text();
    move_slider_to_cursor();
    if (log_.current_log_record() >= log_.log_records()) stop_play();
}

void PLAYframe::play_to_end() {
    start_play();
    while (playing_) play_tick();
}

void PLAYframe::play_pass_to_end() {
    stop_play();
    if (!log_.is_open()) return;
    batching_ = true;
    // Each record once: no step past the end, which would show the last
    // record again under the record count.
    while (log_.current_log_record() + 1 < log_.log_records()) {
        single_click = true;
        point_log_file(1);
        read_log_record();
        display_log_record();
        single_click = false;
    }
    batching_ = false;
    show_record_text();
    move_slider_to_cursor();
}

void PLAYframe::resetButton_mouseClicked() {
    animation_->simulation_reset();
    if (log_.logfiletype() == LogFileType::pms) {
        if (editors.pms_frame) {
            editors.pms_frame->reset_sim();
            editors.pms_frame->display_pgm();
        }
    } else if (log_.logfiletype() == LogFileType::vxm) {
        if (editors.afc_frame) editors.afc_frame->recall_cfg1();
        if (editors.afc2_frame) editors.afc2_frame->recall_cfg1();
    }
    start_play();
}

// ---- the hooks -------------------------------------------------------------------

void PLAYframe::reset_charts() { analysis_->reset_charts(); }
void PLAYframe::plot_data() { analysis_->plot_data(); }
void PLAYframe::clear_controls() { analysis_->clear_controls(); }
void PLAYframe::animateControl_itemStateChanged() { animation_->animateControl_itemStateChanged(); }
void PLAYframe::editorBox_mouseClicked() { animation_->animateControl_itemStateChanged(); }

void PLAYframe::afrButton_mouseClicked() {
    if (!afr_frame && services_.editors) afr_frame = services_.editors->make_AFRframe();
    if (afr_frame && afr_frame->window()) afr_frame->window()->show();
}

void PLAYframe::closeEvent(QCloseEvent* event) {
    // Closing only hides: the frame and its log stay for the next showing.
    if (editors.itc_frame && editors.itc_frame->window()) editors.itc_frame->window()->hide();
    if (editors.afc_frame && editors.afc_frame->window()) editors.afc_frame->window()->hide();
    event->accept();
}

// ---- kvt.cfg ---------------------------------------------------------------------

kvt::PlayerSlot PLAYframe::config_slot() const {
    kvt::PlayerSlot slot;
    slot.x = pos().x();
    slot.y = pos().y();
    slot.visible = isVisible();
    slot.animate_enabled = animate_control->isEnabled();
    slot.animate_selected = animate_control->isChecked();
    slot.theFile = cfg_bytes(theFile);
    slot.theFileDir = cfg_bytes(theFileDir);
    slot.itc_animate = itc_animate->isChecked();
    slot.afc_animate = afc_animate->isChecked();
    slot.afc2_animate = afc2_animate->isChecked();
    slot.advanced_fuel_calc = advanced_fuel_calc->isChecked();
    if (c2d_frame) {
        slot.chart_2d_present = true;
        slot.x_2d = c2d_frame->pos().x();
        slot.y_2d = c2d_frame->pos().y();
    } else if (chart_2d_position_stored) {
        // Not opened this run: the remembered place is kept for the next.
        slot.chart_2d_present = true;
        slot.x_2d = x_2d;
        slot.y_2d = y_2d;
    }
    return slot;
}
