#pragma once
// KorvLog, the logger's start window ("Korvane Logger 5.0a"): one button per
// interface family, Start, Stop and Pause for every enabled interface at
// once, one status field per family and "Enable Charts".
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/core/korvio_library.h"
#include "common/gui/error_reporter.h"
#include "logger/core/log_family.h"
#include "logger/core/port_use.h"
#include "logger/core/session_control.h"
#include "logger/gui/korvlog_host.h"
#include "logger/gui/logger_parts.h"
#include "platform/core/file_chooser.h"
#include "platform/core/message_box.h"

class LOGOBDThread1;
namespace korv::logger {
class GuiThreadFileChooser;
class GuiThreadMessageBox;
class GuiThreadQuestions;

// What the start window works with; every member may stay empty.
struct KorvLogServices {
    // The settings frames, charts and panels; none: their buttons do nothing.
    LoggerParts* parts = nullptr;
    // The save dialogs; none: Qt's file dialog over this window.
    platform::FileChooser* file_chooser = nullptr;
    // The save step's Yes/No questions; none: Qt's message box over this window.
    platform::MessageBox* message_box = nullptr;
    // The library; none: libkorvio.so, loaded by name on first use.
    const KorvioLibrary* library = nullptr;
    // Where the sample dumps are; empty: the current directory.
    std::string working_directory;
    // Ends the program after a permitted close; none: leave Qt's event loop.
    std::function<void(int status)> exit_process;
};

}  // namespace korv::logger

class KorvLog : public QWidget, public korv::logger::KorvLogHost {
    Q_OBJECT
public:
    static constexpr int content_width = 477;
    static constexpr int content_height = 146;

    using Services = korv::logger::KorvLogServices;

    explicit KorvLog(Services services = {});
    ~KorvLog() override;

    // Widgets, named as the other windows know them.
    QPushButton* obd_button = nullptr;
    QPushButton* drb_button = nullptr;
    QPushButton* pms_button = nullptr;
    QPushButton* log_button = nullptr;
    QPushButton* stop_button = nullptr;
    QPushButton* pause_button = nullptr;
    QPushButton* tbw_button = nullptr;
    QPushButton* save_button = nullptr;
    QPushButton* trigger_button = nullptr;
    QCheckBox* select_triggers = nullptr;
    QCheckBox* logcharts = nullptr;
    QLineEdit* obd_status = nullptr;
    QLineEdit* drb_status = nullptr;
    QLineEdit* pms_status = nullptr;

    // True while a settings frame holds that port number open; written by
    // the settings frames.
    korv::logger::PortUsed port_used{};
    korv::logger::PortUsed& port_table() override { return port_used; }

    QPushButton* family_button(korv::logger::LogFamily family) const;
    QLineEdit* status_field(korv::logger::LogFamily family) const;
    // p / DRBp / PMSp: null until the family's button is first pressed.
    korv::logger::LogSettingsThread* settings_thread(korv::logger::LogFamily family) const;
    // p1 / DRBp1 / PMSp1: the family's latest logging thread, kept after its run.
    LOGOBDThread1* logging_thread(korv::logger::LogFamily family) const;

    // The settings frame built most recently, whatever its family.
    korv::logger::LogSettingsFrame* obd_frame() const override { return obd_frame_; }
    void set_obd_frame(korv::logger::LogSettingsFrame* frame) override { obd_frame_ = frame; }
    korv::logger::ChartControl* chartcontrol_frame() const override { return chartcontrol_frame_.get(); }
    // The one data-value panel shared by every run; null until made.
    korv::logger::DataValuePanel* datavalue_handle() const override { return datavalue_handle_.get(); }
    korv::logger::DataValuePanel* create_datavalues() override;
    const QWidget* start_window() const override { return this; }

    // A settings frame asks for Start when it has items and withdraws it
    // when it has none; Start stays disabled while any run is alive.
    void request_start(bool wanted) override;
    // A run is logging (Stop and Pause are usable).
    bool logging_active() const override { return session_.any_logging(); }
    // Any logging thread alive, its save step included.
    bool run_alive() const override { return session_.any_alive(); }
    bool charts_ticked() const override;
    const korv::KorvioLibrary& library() const override;

    void error_rtn(const QString& message) override;
    korv::ErrorReporter& reporter() { return reporter_; }
    // The save step of a run's logging thread; any thread.
    void save_log_file(int type) override;
    static int build_int(int hi, int lo);

    // The engine saw its flag change: 0 or 1 show "Pause", others "Resume".
    void show_pause_state(int flag) override;

    // From the logging threads; any thread.
    void post_run_logging(korv::logger::LogFamily family) override;
    void post_run_saving(korv::logger::LogFamily family) override;
    void post_run_finished(korv::logger::LogFamily family) override;

public slots:
    void obd_button_actionPerformed();
    void drb_button_actionPerformed();
    void pms_button_actionPerformed();
    void log_button_actionPerformed();
    void stop_button_actionPerformed();
    void pause_button_actionPerformed();
    void trigger_button_actionPerformed();
    void logcharts_actionPerformed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void build_widgets();
    void family_button_pressed(korv::logger::LogFamily family);
    void run_logging(korv::logger::LogFamily family);
    void run_saving(korv::logger::LogFamily family);
    void run_finished(korv::logger::LogFamily family);
    void apply_run_buttons();
    // Every chart window of every family's latest logging thread.
    void for_each_run_chart(const std::function<void(korv::logger::ChartWindow&)>& act);

    Services services_;
    korv::ErrorReporter reporter_;
    std::unique_ptr<korv::platform::FileChooser> own_chooser_;
    std::unique_ptr<korv::platform::MessageBox> own_message_box_;
    std::unique_ptr<korv::logger::GuiThreadQuestions> save_questions_;
    std::unique_ptr<korv::logger::GuiThreadFileChooser> save_chooser_;
    std::unique_ptr<korv::logger::GuiThreadMessageBox> save_message_box_;
    korv::logger::SessionControl session_;

    std::array<std::unique_ptr<korv::logger::LogSettingsThread>, 3> settings_threads_;
    std::array<std::unique_ptr<LOGOBDThread1>, 3> runs_;
    // Earlier runs, kept so their error dialogs stay on screen.
    std::vector<std::unique_ptr<LOGOBDThread1>> retired_runs_;
    korv::logger::LogSettingsFrame* obd_frame_ = nullptr;
    std::unique_ptr<korv::logger::ChartControl> chartcontrol_frame_;
    std::unique_ptr<korv::logger::DataValuePanel> datavalue_handle_;
    std::unique_ptr<QWidget> trigger_frame_;
};

// Texts of the Pause button (mnemonic U).
inline const QString kPauseText = QStringLiteral("Pa&use");
inline const QString kResumeText = QStringLiteral("Res&ume");
