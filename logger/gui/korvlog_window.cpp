#include "logger/gui/korvlog_window.h"

#include "common/gui/grey_window.h"
#include "common/gui/window_style.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPalette>
#include <exception>

#include "logger/core/dump_conversion.h"
#include "logger/core/log_saver.h"
#include "logger/core/stop_flags.h"
#include "logger/gui/gui_thread_prompts.h"
#include "logger/gui/logging_thread.h"
#include "platform/gui/qt_file_chooser.h"
#include "platform/gui/qt_message_box.h"
#include "platform/gui/queued_call.h"

using korv::logger::LogFamily;
using korv::logger::traits_of;

namespace {

QPushButton* make_button(QWidget* parent, const char* name, const QString& text, const QString& tip,
                         const QRect& where) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setToolTip(tip);
    button->setGeometry(where);
    return button;
}

QCheckBox* make_check_box(QWidget* parent, const char* name, const QString& text, const QString& tip,
                          const QRect& where) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setToolTip(tip);
    box->setGeometry(where);
    return box;
}

QLineEdit* make_status_field(QWidget* parent, const char* name, const QRect& where) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setEnabled(false);
    field->setGeometry(where);
    return field;
}

// The family button text with its mnemonic: "&OBD-II", "&DRB", "&PMS".
QString family_button_text(LogFamily family) {
    return QStringLiteral("&") + QString::fromUtf8(traits_of(family).button_text.data(),
                                                   static_cast<qsizetype>(traits_of(family).button_text.size()));
}

QString text_of(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

KorvLog::KorvLog(Services services)
    : QWidget(nullptr), services_(std::move(services)), reporter_(korv::ErrorReporter::OnFailure::report_own_message) {
    setObjectName("KorvLog");
    setWindowTitle("Korvane Logger 5.0a");
    setFixedSize(content_width, content_height);
    korv::paint_window_grey(*this);
    korv::use_window_style(*this);

    build_widgets();

    if (!services_.file_chooser) {
        own_chooser_ = std::make_unique<korv::platform::QtFileChooser>(this);
        services_.file_chooser = own_chooser_.get();
    }
    if (!services_.message_box) {
        own_message_box_ = std::make_unique<korv::platform::QtMessageBox>(this);
        services_.message_box = own_message_box_.get();
    }
    save_questions_ = std::make_unique<korv::logger::GuiThreadQuestions>();
    save_chooser_ = std::make_unique<korv::logger::GuiThreadFileChooser>(*save_questions_, *services_.file_chooser);
    save_message_box_ = std::make_unique<korv::logger::GuiThreadMessageBox>(*save_questions_, *services_.message_box);
    if (!services_.exit_process) services_.exit_process = [](int status) { QCoreApplication::exit(status); };

    if (services_.parts) chartcontrol_frame_ = services_.parts->make_chartcontrol(*this);
}

KorvLog::~KorvLog() {
    // A thread still running is told to stop and to skip its save dialog;
    // nothing of this window may go while a thread can still reach it.
    serialio::set_all_stop_flags(korv::logger::kFlagStop);
    save_questions_->cancel_waiting();
    for (auto& run : runs_) {
        if (run) run->join();
    }
}

void KorvLog::build_widgets() {
    obd_button = make_button(this, "obd_button", family_button_text(LogFamily::obd),
                             text_of(traits_of(LogFamily::obd).tool_tip), QRect(10, 8, 110, 26));
    drb_button = make_button(this, "drb_button", family_button_text(LogFamily::dsm),
                             text_of(traits_of(LogFamily::dsm).tool_tip), QRect(130, 8, 110, 26));
    pms_button = make_button(this, "pms_button", family_button_text(LogFamily::pms),
                             text_of(traits_of(LogFamily::pms).tool_tip), QRect(250, 8, 110, 26));
    // The PMS family is switched off: its button and status field exist
    // but are never shown or usable.
    pms_button->setEnabled(false);
    pms_button->setVisible(false);

    logcharts = make_check_box(this, "logcharts", "Enable Charts", "Enable/Disable real time charting",
                               QRect(365, 10, 108, 22));
    logcharts->setEnabled(false);
    // Its mnemonic letter G is not in its text; setText would reset it.
    logcharts->setShortcut(QKeySequence(Qt::ALT | Qt::Key_G));

    obd_status = make_status_field(this, "obd_status", QRect(10, 40, 110, 22));
    drb_status = make_status_field(this, "drb_status", QRect(130, 40, 110, 22));
    pms_status = make_status_field(this, "pms_status", QRect(250, 40, 110, 22));
    pms_status->setVisible(false);

    log_button = make_button(this, "log_button", "&Start", "Start logging", QRect(10, 76, 85, 26));
    stop_button = make_button(this, "stop_button", "S&top", "Stop logging", QRect(103, 76, 85, 26));
    pause_button =
        make_button(this, "pause_button", kPauseText, "Pause logging (leave interface active)", QRect(196, 76, 85, 26));
    tbw_button = make_button(this, "tbw_button", "TB&W", "Activate tune by wire", QRect(289, 76, 85, 26));
    save_button = make_button(this, "save_button", "S&ave", "Save log files", QRect(382, 76, 85, 26));
    trigger_button = make_button(this, "trigger_button", "T&riggers", "Click to define start/stop triggers",
                                 QRect(10, 112, 110, 26));
    select_triggers =
        make_check_box(this, "select_triggers", "Use Tri&ggers", "Enable/Disable triggers", QRect(130, 114, 120, 22));
    for (QWidget* w :
         {static_cast<QWidget*>(log_button), static_cast<QWidget*>(stop_button), static_cast<QWidget*>(pause_button),
          static_cast<QWidget*>(tbw_button), static_cast<QWidget*>(save_button), static_cast<QWidget*>(trigger_button),
          static_cast<QWidget*>(select_triggers)}) {
        w->setEnabled(false);
    }

    // clicked() is the action event: a mouse click or the keyboard.
    connect(obd_button, &QPushButton::clicked, this, &KorvLog::obd_button_actionPerformed);
    connect(drb_button, &QPushButton::clicked, this, &KorvLog::drb_button_actionPerformed);
    connect(pms_button, &QPushButton::clicked, this, &KorvLog::pms_button_actionPerformed);
    connect(log_button, &QPushButton::clicked, this, &KorvLog::log_button_actionPerformed);
    connect(stop_button, &QPushButton::clicked, this, &KorvLog::stop_button_actionPerformed);
    connect(pause_button, &QPushButton::clicked, this, &KorvLog::pause_button_actionPerformed);
    connect(trigger_button, &QPushButton::clicked, this, &KorvLog::trigger_button_actionPerformed);
    connect(logcharts, &QCheckBox::clicked, this, &KorvLog::logcharts_actionPerformed);
}

QPushButton* KorvLog::family_button(LogFamily family) const {
    switch (family) {
    case LogFamily::obd: return obd_button;
    case LogFamily::dsm: return drb_button;
    case LogFamily::pms: return pms_button;
    }
    return nullptr;
}

QLineEdit* KorvLog::status_field(LogFamily family) const {
    switch (family) {
    case LogFamily::obd: return obd_status;
    case LogFamily::dsm: return drb_status;
    case LogFamily::pms: return pms_status;
    }
    return nullptr;
}

korv::logger::LogSettingsThread* KorvLog::settings_thread(LogFamily family) const {
    return settings_threads_[korv::logger::index_of(family)].get();
}

LOGOBDThread1* KorvLog::logging_thread(LogFamily family) const { return runs_[korv::logger::index_of(family)].get(); }

korv::logger::DataValuePanel* KorvLog::create_datavalues() {
    if (!datavalue_handle_ && services_.parts) {
        datavalue_handle_ = services_.parts->make_datavalues();
        if (datavalue_handle_) datavalue_handle_->set_owner(this);
    }
    return datavalue_handle_.get();
}

void KorvLog::request_start(bool wanted) {
    session_.request_start(wanted);
    apply_run_buttons();
}

bool KorvLog::charts_ticked() const { return logcharts->isChecked(); }

const korv::KorvioLibrary& KorvLog::library() const {
    return services_.library ? *services_.library : korv::KorvioLibrary::shared();
}

void KorvLog::error_rtn(const QString& message) { reporter_.error_rtn(message); }

int KorvLog::build_int(int hi, int lo) { return korv::logger::build_int(hi, lo); }

void KorvLog::save_log_file(int type) {
    if (type < 1 || type > 3) return;
    korv::logger::save_log_file(static_cast<korv::logger::LogType>(type), services_.working_directory, *save_chooser_,
                                *save_message_box_,
                                [this](const std::string& message) { error_rtn(QString::fromStdString(message)); });
}

void KorvLog::show_pause_state(int flag) {
    pause_button->setText(flag == korv::logger::kFlagStop || flag == korv::logger::kFlagRun ? kPauseText : kResumeText);
}

void KorvLog::post_run_logging(LogFamily family) {
    korv::platform::post_queued(this, [this, family] { run_logging(family); });
}

void KorvLog::post_run_saving(LogFamily family) {
    korv::platform::post_queued(this, [this, family] { run_saving(family); });
}

void KorvLog::post_run_finished(LogFamily family) {
    korv::platform::post_queued(this, [this, family] { run_finished(family); });
}

void KorvLog::run_logging(LogFamily family) {
    status_field(family)->setText("Active");
    session_.run_logging(family);
    apply_run_buttons();
}

void KorvLog::run_saving(LogFamily family) {
    status_field(family)->setText("Idle");
    session_.run_saving(family);
    apply_run_buttons();
}

void KorvLog::run_finished(LogFamily family) {
    session_.run_finished(family);
    // The thread has nothing left to do but return.
    if (LOGOBDThread1* run = logging_thread(family)) run->join();
    apply_run_buttons();
}

void KorvLog::apply_run_buttons() {
    log_button->setEnabled(session_.start_enabled());
    stop_button->setEnabled(session_.stop_enabled());
    pause_button->setEnabled(session_.pause_enabled());
    if (!session_.pause_enabled()) pause_button->setText(kPauseText);
}

void KorvLog::for_each_run_chart(const std::function<void(korv::logger::ChartWindow&)>& act) {
    for (const auto& run : runs_) {
        if (!run || !run->frame()) continue;
        for (int slot = 0; slot < korv::logger::kItemSlots; ++slot) {
            if (korv::logger::ChartWindow* chart = run->frame()->chart_frames(slot)) act(*chart);
        }
    }
}

void KorvLog::obd_button_actionPerformed() { family_button_pressed(LogFamily::obd); }
void KorvLog::drb_button_actionPerformed() { family_button_pressed(LogFamily::dsm); }
void KorvLog::pms_button_actionPerformed() { family_button_pressed(LogFamily::pms); }

void KorvLog::family_button_pressed(LogFamily family) {
    auto& settings = settings_threads_[korv::logger::index_of(family)];
    if (!settings) {
        if (!services_.parts) return;
        settings =
            services_.parts->make_settings_thread(*this, family_button(family), text_of(traits_of(family).frame_title),
                                                  traits_of(family).preset_cable_choice);
        if (settings) settings->start();
        return;
    }
    if (korv::logger::LogSettingsFrame* frame = settings->obd_frame()) frame->setVisible(true);
}

void KorvLog::log_button_actionPerformed() {
    // A run still alive (its save included) keeps its dump from being overwritten.
    if (session_.any_alive()) return;

    const int chart_flag = logcharts->isEnabled() && logcharts->isChecked() ? 1 : 0;
    bool started = false;
    for (LogFamily family : korv::logger::kFamilies) {
        const int i = korv::logger::index_of(family);
        korv::logger::LogSettingsThread* settings = settings_threads_[i].get();
        if (!settings) continue;
        korv::logger::LogSettingsFrame* frame = settings->obd_frame();
        if (!frame || !frame->obd_enabled()) continue;

        // Set once, before any run starts, so that a run that fails at once
        // cannot be undone by a sibling starting after it.
        if (!started) serialio::set_all_stop_flags(korv::logger::kFlagRun);

        LOGOBDThread1::RunSettings run_settings;
        run_settings.family = family;
        run_settings.selected_port = frame->port_choice_index() - 1;
        run_settings.selected_cable = frame->cable_choice_index() - 1;
        run_settings.log_items = frame->log_items();
        run_settings.chart_flag = chart_flag;

        if (runs_[i]) retired_runs_.push_back(std::move(runs_[i]));
        runs_[i] = std::make_unique<LOGOBDThread1>(*this, frame, run_settings, status_field(family), library());
        settings->set_log_handle(runs_[i].get());
        session_.run_started(family);
        runs_[i]->start();
        started = true;
    }
    if (!started) return;
    for_each_run_chart([](korv::logger::ChartWindow& chart) { chart.set_scroll_locked(true); });
    apply_run_buttons();
}

void KorvLog::stop_button_actionPerformed() {
    for_each_run_chart([](korv::logger::ChartWindow& chart) { chart.set_scroll_locked(false); });
    pause_button->setText(kPauseText);
    for (LogFamily family : korv::logger::kStopOrder) {
        if (logging_thread(family)) serialio::set_stop_flag(family, korv::logger::kFlagStop);
    }
}

void KorvLog::pause_button_actionPerformed() {
    for_each_run_chart([](korv::logger::ChartWindow& chart) {
        chart.set_scroll_locked(!chart.scroll_locked());
        chart.resume_chart();
    });
    for (LogFamily family : korv::logger::kFamilies) {
        if (logging_thread(family)) serialio::toggle_pause(family);
    }
}

void KorvLog::trigger_button_actionPerformed() {
    try {
        if (!trigger_frame_ && services_.parts) trigger_frame_ = services_.parts->make_triggerframe();
        if (trigger_frame_) trigger_frame_->show();
    } catch (const std::exception&) {
        // The Triggers window is a convenience; failing to show it is harmless.
    }
}

void KorvLog::logcharts_actionPerformed() {
    if (chartcontrol_frame_) chartcontrol_frame_->setVisible(logcharts->isChecked());
}

void KorvLog::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    logcharts->setEnabled(true);
}

void KorvLog::closeEvent(QCloseEvent* event) {
    // Refused, without a word, while a run or its save goes on.
    if (!session_.can_close()) {
        event->ignore();
        return;
    }
    // A frame's link test or trouble-code read ends before the ports it
    // uses are closed under it.
    for (const auto& settings : settings_threads_)
        if (settings && settings->obd_frame()) settings->obd_frame()->stop_library_calls();
    for (LogFamily family : korv::logger::kStopOrder) {
        LOGOBDThread1* run = logging_thread(family);
        if (!run) continue;
        for (int port = 0; port <= 3; ++port) {
            try {
                run->sio().SioDone(port);
            } catch (const korv::KorvioUnavailable&) {
                // Nothing was opened through a library that is not there.
            }
        }
    }
    event->accept();
    services_.exit_process(0);
}
