#pragma once
// The application object: start-up, the command screen, the capture window
// (one at most) and the review windows (one per file), the program-wide
// commands and the settings kept between runs.
#include <QObject>
#include <QPointer>
#include <QPrinter>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "boxlogger/core/app_settings.h"
#include "boxlogger/core/link_engine.h"
#include "boxlogger/core/quick_select.h"
#include "boxlogger/core/vxmlog_doc.h"
#include "boxlogger/core/serial_port.h"
#include "boxlogger/gui/command_frame.h"
#include "boxlogger/gui/document_frames.h"
#include "boxlogger/gui/engine_link.h"
#include "boxlogger/gui/logger_link.h"
#include "boxlogger/gui/main_frame.h"
#include "platform/core/file_chooser.h"
#include "platform/core/message_box.h"
#include "platform/core/settings_store.h"

namespace korv::boxlogger {

class CHelpWindow;

struct AppServices {
    platform::SettingsStore* store = nullptr;
    platform::MessageBox* messages = nullptr;
    platform::FileChooser* files = nullptr;
    // What the command screen and Logger Preferences probe; null: the
    // program's own port.
    LoggerLink* link = nullptr;
    bool start_poll_thread = true;
    // Hands a saved file to the mail program; the default runs xdg-email.
    std::function<bool(const QString& path)> send_mail;
    // Writes the desktop entry and the .vxg type when missing.
    bool register_shell = false;
};

class CVXMlogApp : public QObject {
    Q_OBJECT
public:
    explicit CVXMlogApp(AppServices services, QObject* parent = nullptr);
    ~CVXMlogApp() override;

    // Settings, the command screen, the shell types, a review window per
    // .vxg argument. False when the command screen cannot be made.
    bool InitInstance(const QStringList& arguments);
    // Review windows, settings, link. Runs once.
    void ExitInstance();

    // A termination request (a signal): counted at once, acted on by main
    // once it is back outside every dialog, where EndOnRequest ends the
    // program as closing the command screen does. An unsaved capture is
    // asked about; a Cancel keeps the program running unless a further
    // request came while it was asked.
    void RequestEnd() { ++end_requests_; }
    bool end_requested() const { return end_requests_ > 0; }
    void EndOnRequest();

    void OnAppAbout();
    void OnViewPreferences();
    void OnLoggerPreferences();
    void OnFileNew();
    void OnFileOpen();
    void OnHelp();
    void OnConnect();
    void OnDescribeCar();
    void OnDrb2();
    void OnTuningVariables();

    // The review window of a path, opened or brought forward; null when the
    // file cannot be opened (the reason was shown).
    CDisplayFrame* OpenReviewWindow(const QString& path);
    // Brings the command screen forward and opens the given files.
    void RaiseCommandScreen(const QStringList& files = {});
    void UpdateAllDocuments();
    // Refreshes the command screen's buttons.
    void UpdateCommandButtons();

    bool Linked() const;
    // After each complete poll cycle while the engine is held, on the GUI
    // thread: the capture document takes the new samples.
    void OnNewSamples();
    CLinkEngine& engine() { return *engine_; }
    CSerialPort& port() { return *port_; }
    // The rate pane's text.
    std::string StatusRateText() const;
    bool capture_open() const { return capture_doc_ != nullptr && !capture_frame_.isNull(); }
    AppSettings& settings() { return settings_; }
    // The printer the windows print on: landscape unless the user changes it.
    QPrinter& printer() { return printer_; }
    CCommandFrame* command_frame() const { return command_frame_; }
    CCaptureFrame* capture_frame() const { return capture_frame_; }
    std::vector<CDisplayFrame*> review_frames() const;
    QStringList recent_files() const;
    QuickSelectEntries quick_select_entries(CMainFrame* frame) const;
    // The capture document, when its window is open.
    CVXMlogDoc* FindCaptureDocument() const { return capture_doc_.get(); }
    CVXMlogDoc* document_of(CMainFrame* frame) const;
    QuickSelectSets& quick_selects() { return quick_selects_; }
    bool exited() const { return exited_; }
    // Connect's probe or close, or what its dialog asked of the link, is under way.
    bool connecting() const { return connecting_; }

signals:
    void colours_changed();

private:
    struct ReviewWindow {
        QString canonical_path;
        QPointer<CDisplayFrame> frame;
        std::shared_ptr<CVXMlogDoc> doc;
    };

    void wire_frame(CMainFrame& frame);
    void on_frame_command(CMainFrame* frame, int id);
    CommandState command_state(CMainFrame* frame, int id) const;
    bool run_document_command(CMainFrame* frame, CVXMlogDoc& doc, int id);
    // Every open document agrees to go (unsaved captures asked about).
    bool QueryExit();
    DocumentPrompts prompts() const { return {services_.messages, services_.files}; }
    void add_recent_file(const QString& path);
    void show_message(const char* text);
    void send_document(CMainFrame* frame);
    QWidget* dialog_parent() const;

    AppServices services_;
    std::unique_ptr<CSerialPort> port_;
    std::unique_ptr<CLinkEngine> engine_;
    std::unique_ptr<EngineLink> own_link_;
    LoggerLink* link_ = nullptr;
    // One queued hand-over at a time: a busy GUI thread takes every waiting
    // sample with one drain.
    std::atomic<bool> samples_pending_{false};
    AppSettings settings_;
    QuickSelectSets quick_selects_;
    std::unique_ptr<CVXMlogDoc> capture_doc_;
    QPointer<CCommandFrame> command_frame_;
    QPointer<CCaptureFrame> capture_frame_;
    std::vector<ReviewWindow> reviews_;
    QPointer<CHelpWindow> help_;
    QPointer<CMainFrame> active_frame_;
    RecentFileList recent_;
    QPrinter printer_;
    bool exited_ = false;
    int end_requests_ = 0;
    // Connect's probe or close is under way.
    bool connecting_ = false;
};

}  // namespace korv::boxlogger
