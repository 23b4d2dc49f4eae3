#include "boxlogger/gui/vxmlog_app.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QWhatsThis>

#include "boxlogger/core/command_screen.h"
#include "boxlogger/core/shell_registration.h"
#include "boxlogger/core/vxmlog_settings.h"
#include "boxlogger/gui/about_dialog.h"
#include "boxlogger/gui/color_menu.h"
#include "boxlogger/gui/command_frame.h"
#include "boxlogger/core/command_table.h"
#include "boxlogger/gui/data_select_dialog.h"
#include "boxlogger/gui/document_frames.h"
#include "boxlogger/gui/help_window.h"
#include "boxlogger/gui/logger_prefs_dialog.h"
#include "boxlogger/gui/document_view.h"
#include "boxlogger/gui/quick_select_dialog.h"
#include "boxlogger/gui/trigger_select_dialog.h"
#include "boxlogger/gui/view_prefs_dialog.h"
#include "boxlogger/gui/vxm_vars_sheet.h"
#include "common/core/vxm_document_reader.h"
#include "platform/gui/queued_call.h"
#include "platform/gui/windows1252_text.h"

namespace korv::boxlogger {

namespace {

constexpr char kCaption[] = "VXMlog";

bool run_xdg_email(const QString& path) {
    const QString program = QStandardPaths::findExecutable("xdg-email");
    if (program.isEmpty()) return false;
    return QProcess::startDetached(program, {"--attach", path});
}

QString strip_quotes(QString path) {
    if (path.size() >= 2 && path.startsWith('"') && path.endsWith('"')) path = path.mid(1, path.size() - 2);
    return path;
}

}  // namespace

CVXMlogApp::CVXMlogApp(AppServices services, QObject* parent)
    : QObject(parent),
      services_(std::move(services)),
      port_(std::make_unique<CSerialPort>()),
      engine_(std::make_unique<CLinkEngine>(*port_)),
      own_link_(std::make_unique<EngineLink>(*port_)) {
    if (!services_.send_mail) services_.send_mail = run_xdg_email;
    link_ = services_.link != nullptr ? services_.link : own_link_.get();
}

CVXMlogApp::~CVXMlogApp() {
    ExitInstance();
    delete command_frame_.data();
    // The engine stops and joins its thread before the port goes.
    engine_.reset();
}

bool CVXMlogApp::InitInstance(const QStringList& arguments) {
    QApplication::setQuitOnLastWindowClosed(false);
    // Charts are wider than tall.
    printer_.setPageOrientation(QPageLayout::Landscape);
    settings_ = LoadAppSettings(*services_.store);
    for (const std::string& problem : LoadChannelSettings(*services_.store, quick_selects_))
        services_.messages->show(problem, kCaption, platform::MessageButtons::Ok, platform::MessageIcon::Warning);
    recent_ = LoadRecentFiles(*services_.store);

    command_frame_ = new CCommandFrame;
    if (command_frame_.isNull()) return false;
    command_frame_->set_placement_slot(&settings_.placement(PlacementSlot::MainWindow));
    command_frame_->set_rate_text([this] { return StatusRateText(); });
    command_frame_->can_close = [this] { return QueryExit(); };
    wire_frame(*command_frame_);
    // The program ends with its command screen.
    connect(command_frame_, &CMainFrame::closing, this, [this] {
        ExitInstance();
        QCoreApplication::quit();
    });

    if (services_.register_shell) {
        const RegistrationResult registered =
            register_shell_types(user_data_folder(), QCoreApplication::applicationFilePath().toStdString());
        if (!registered.written.empty()) {
            // Let the desktop see the new type; its absence only delays that.
            const QString data = QString::fromStdString(user_data_folder());
            QProcess::startDetached("update-mime-database", {data + "/mime"});
            QProcess::startDetached("update-desktop-database", {data + "/applications"});
        }
    }

    command_frame_->show();
    // Placed once shown, when its size is final.
    command_frame_->ApplyPlacement(settings_.placement(PlacementSlot::MainWindow), true);
    active_frame_ = command_frame_.data();
    UpdateCommandButtons();

    for (const QString& argument : arguments) {
        // A termination request during a refusal's message ends the opening.
        if (end_requested()) break;
        if (!argument.startsWith('-')) OpenReviewWindow(strip_quotes(argument));
    }

    if (services_.start_poll_thread)
        engine_->StartPollThread([this] {
            // On the poll thread: post, never touch a window.
            if (samples_pending_.exchange(true)) return;
            korv::platform::post_queued(this, [this] { OnNewSamples(); });
        });
    return true;
}

void CVXMlogApp::OnNewSamples() {
    samples_pending_.store(false);
    if (capture_doc_) capture_doc_->AddSample();
}

bool CVXMlogApp::QueryExit() {
    if (capture_doc_ && !capture_doc_->SaveModified()) return false;
    for (const ReviewWindow& review : reviews_)
        if (review.doc && !review.doc->SaveModified()) return false;
    return true;
}

void CVXMlogApp::EndOnRequest() {
    if (exited_ || end_requests_ == 0) return;
    const int requests = end_requests_;
    if (!QueryExit() && end_requests_ == requests) {
        end_requests_ = 0;  // the user chose to go on
        return;
    }
    ExitInstance();
}

std::string CVXMlogApp::StatusRateText() const { return status_rate_text(engine_->link_up() != 0, engine_->rate()); }

void CVXMlogApp::ExitInstance() {
    if (exited_) return;
    exited_ = true;
    if (!command_frame_.isNull() && command_frame_->isVisible())
        settings_.placement(PlacementSlot::MainWindow) = command_frame_->CurrentPlacement();
    for (ReviewWindow& review : reviews_)
        if (!review.frame.isNull()) {
            review.frame->set_placement_slot(&settings_.placement(PlacementSlot::ReviewWindow));
            review.frame->can_close = nullptr;
            review.frame->close();
        }
    reviews_.clear();
    if (!capture_frame_.isNull()) {
        capture_frame_->can_close = nullptr;
        capture_frame_->close();
    }
    capture_doc_.reset();
    if (const auto error = SaveChannelSettings(*services_.store, quick_selects_))
        services_.messages->show(*error, kCaption, platform::MessageButtons::Ok, platform::MessageIcon::Warning);
    SaveAppSettings(*services_.store, settings_);
    SaveRecentFiles(*services_.store, recent_);
    if (!services_.store->flush()) show_message("The settings could not be saved.");
    // The link's last probe and the poll thread end before the port closes.
    own_link_->Stop();
    engine_->StopPollThread();
    // The program's own link refuses now that it has stopped; the port is
    // closed below in any case.
    if (Linked()) {
        [[maybe_unused]] const auto refused = link_->ClosePort(nullptr);
    }
    port_->Close();
}

void CVXMlogApp::wire_frame(CMainFrame& frame) {
    CMainFrame* f = &frame;
    connect(f, &CMainFrame::command, this, [this, f](int id) { on_frame_command(f, id); });
    connect(f, &CMainFrame::frame_activated, this, [this](CMainFrame* active) { active_frame_ = active; });
    f->set_command_state([this, f](int id) { return command_state(f, id); });
    f->set_quick_selects([this, f] { return quick_select_entries(f); });
}

QWidget* CVXMlogApp::dialog_parent() const {
    if (!active_frame_.isNull()) return active_frame_.data();
    return command_frame_.data();
}

void CVXMlogApp::show_message(const char* text) {
    services_.messages->show(text, kCaption, platform::MessageButtons::Ok, platform::MessageIcon::None);
}

CVXMlogDoc* CVXMlogApp::document_of(CMainFrame* frame) const {
    if (frame == nullptr) return nullptr;
    if (frame == capture_frame_.data()) return capture_doc_.get();
    for (const ReviewWindow& review : reviews_)
        if (review.frame == frame) return review.doc.get();
    return nullptr;
}

bool CVXMlogApp::run_document_command(CMainFrame* frame, CVXMlogDoc& doc, int id) {
    switch (id) {
    case cmd::kStart: doc.Start(); return true;
    case cmd::kStop: doc.Stop(); return true;
    case cmd::kPause: doc.Pause(); return true;
    case cmd::kClear: doc.ClearCommand(); return true;
    case cmd::kFileSave:
    case cmd::kFileSaveAs:
        if (id == cmd::kFileSave ? doc.Save() : doc.SaveAs()) add_recent_file(QString::fromStdString(doc.path_name()));
        return true;
    case cmd::kExportCsv: doc.ExportCsv(); return true;
    case cmd::kTriggers: {
        TriggerSelectDialog dialog(*services_.messages, frame);
        dialog.exec();
        return true;
    }
    case cmd::kSelect: {
        CDataSelectDlg dialog(doc.GetChannelIds(), quick_selects_, frame);
        dialog.SetColourChooser([](const QPoint& at, QWidget* owner) -> std::optional<std::uint32_t> {
            CColorMenu menu(owner);
            const int id = menu.Track(at);
            if (id == 0) return std::nullopt;
            return CColorMenu::ColorFromCommandId(id);
        });
        dialog.SetQuickSelectPrompt([](CDataSelectDlg::Names& names, QWidget* parent) -> std::optional<int> {
            CQuickSelectDlg prompt(names, 0, parent);
            if (prompt.exec() != QDialog::Accepted) return std::nullopt;
            names = prompt.names();
            return prompt.chosen();
        });
        dialog.SetQuickSelectsChanged([frame] { frame->UpdateQuickSelectMenus(); });
        RunDataSelect(doc, dialog);
        return true;
    }
    default: break;
    }
    if (id >= cmd::kQuickSelect1 && id < cmd::kQuickSelect1 + CQuickSelect::kSets) {
        doc.QuickSelect(id - cmd::kQuickSelect1 + 1);
        return true;
    }
    return false;
}

void CVXMlogApp::on_frame_command(CMainFrame* frame, int id) {
    if (CVXMlogDoc* doc = document_of(frame);
        doc != nullptr && id != cmd::kFileSend && doc->IsCommandEnabled(id) && run_document_command(frame, *doc, id)) {
        frame->UpdateQuickSelectMenus();
        frame->UpdateCommandUI();
        return;
    }
    if (CDocumentView* view = frame != nullptr ? frame->findChild<CDocumentView*>() : nullptr;
        view != nullptr && view->IsCommandEnabled(id) && view->RunChartCommand(id)) {
        frame->UpdateCommandUI();
        return;
    }
    switch (id) {
    case cmd::kConnect: OnConnect(); break;
    case cmd::kDescribeCar: OnDescribeCar(); break;
    case cmd::kCollectData:
    case cmd::kFileNew: OnFileNew(); break;
    case cmd::kReviewData:
    case cmd::kFileOpen: OnFileOpen(); break;
    case cmd::kDrb2: OnDrb2(); break;
    case cmd::kTuningVariables: OnTuningVariables(); break;
    case cmd::kAppAbout: OnAppAbout(); break;
    case cmd::kViewPreferences: OnViewPreferences(); break;
    case cmd::kLoggerPreferences: OnLoggerPreferences(); break;
    case cmd::kHelp:
    case cmd::kHelpFinder:
    case cmd::kContextHelp: OnHelp(); break;
    case cmd::kFileClose: frame->close(); break;
    case cmd::kFileSend: send_document(frame); break;
    default:
        if (id >= cmd::kFileRecent1 && id < cmd::kFileRecent1 + cmd::kRecentFiles) {
            const auto n = static_cast<std::size_t>(id - cmd::kFileRecent1);
            if (n < recent_.paths().size()) OpenReviewWindow(QString::fromStdU16String(recent_.paths()[n]));
        }
        break;
    }
    if (!command_frame_.isNull()) UpdateCommandButtons();
    if (frame != nullptr) frame->UpdateCommandUI();
}

CommandState CVXMlogApp::command_state(CMainFrame* frame, int id) const {
    WindowCommandContext window;
    window.doc = document_of(frame);
    if (const CDocumentView* view = window.doc != nullptr ? frame->findChild<CDocumentView*>() : nullptr)
        window.chart_enabled = [view](int chart_id) { return view->IsCommandEnabled(chart_id); };
    // One capture document at a time: New only while none is capturing.
    window.capture_open = capture_doc_ && !capture_doc_->loaded();
    return window_command_state(id, window);
}

QuickSelectEntries CVXMlogApp::quick_select_entries(CMainFrame* frame) const {
    const CVXMlogDoc* doc = document_of(frame);
    QuickSelectEntries entries;
    for (int i = 0; i < CQuickSelect::kSets; ++i)
        entries[static_cast<std::size_t>(i)] = {
            platform::qstring_from_windows1252(quick_selects_[static_cast<std::size_t>(i)].name()),
            doc != nullptr && doc->IsCommandEnabled(cmd::kQuickSelect1 + i)};
    return entries;
}

bool CVXMlogApp::Linked() const { return link_->Linked(); }

void CVXMlogApp::UpdateCommandButtons() {
    if (!command_frame_.isNull()) command_frame_->view()->UpdateButtons(Linked());
}

void CVXMlogApp::OnConnect() {
    // One answer at a time: the buttons say what the last one found.
    if (connecting_) return;
    switch (connect_action(Linked(), capture_open())) {
    case ConnectAction::RefuseCaptureOpen: show_message(kCaptureStillOpen); break;
    case ConnectAction::ClosePort:
        connecting_ = true;
        if (const auto refused = link_->ClosePort([this] {
                connecting_ = false;
                UpdateCommandButtons();
            })) {
            connecting_ = false;
            show_message(refused->c_str());
        }
        break;
    case ConnectAction::ProbeSavedPort:
        connecting_ = true;
        if (const auto refused = link_->Probe(settings_.com_port, [this](int probe) {
                if (probe != kProbeWorking) {
                    CLoggerPrefsDlg dialog(*link_, settings_.com_port, probe, dialog_parent());
                    if (dialog.exec() == QDialog::Accepted) settings_.com_port = dialog.port_index();
                }
                // After what the dialog asked of the link (Cancel closes the port).
                link_->AfterPending([this] {
                    connecting_ = false;
                    UpdateCommandButtons();
                });
            })) {
            connecting_ = false;
            show_message(refused->c_str());
        }
        break;
    }
    UpdateCommandButtons();
}

void CVXMlogApp::OnLoggerPreferences() {
    CLoggerPrefsDlg dialog(*link_, settings_.com_port, std::nullopt, dialog_parent());
    if (dialog.exec() == QDialog::Accepted) settings_.com_port = dialog.port_index();
    if (const auto refused = link_->Probe(settings_.com_port, [this](int) { UpdateCommandButtons(); }))
        show_message(refused->c_str());
    UpdateCommandButtons();
}

void CVXMlogApp::OnDescribeCar() { show_message(kNotImplementedYet); }

void CVXMlogApp::OnDrb2() {
    if (capture_open()) {
        show_message(kCloseCaptureFirst);
        return;
    }
    CDRBPropertySheet sheet(*engine_, *services_.messages, dialog_parent());
    sheet.DoModal();
}

void CVXMlogApp::OnTuningVariables() {
    CVXMVarsSheet::Open(capture_open(), *engine_, *services_.messages, dialog_parent());
}

void CVXMlogApp::OnAppAbout() {
    CAboutDlg dialog(
        *services_.messages,
        [this] {
            port_->set_fake_data(!port_->fake_data());
            return port_->fake_data();
        },
        dialog_parent());
    dialog.exec();
}

void CVXMlogApp::OnViewPreferences() {
    CViewPrefsDlg dialog(
        settings_.foreground, settings_.background, [this] { UpdateAllDocuments(); }, dialog_parent());
    dialog.exec();
}

void CVXMlogApp::UpdateAllDocuments() { emit colours_changed(); }

void CVXMlogApp::OnHelp() {
    if (help_.isNull()) help_ = new CHelpWindow(dialog_parent());
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void CVXMlogApp::OnFileNew() {
    if (capture_open()) {
        capture_frame_->showNormal();
        capture_frame_->raise();
        capture_frame_->activateWindow();
        return;
    }
    capture_doc_ = std::make_unique<CVXMlogDoc>(*engine_, quick_selects_, prompts());
    auto* view = new CDocumentView(*capture_doc_, &settings_.background, &settings_.foreground, services_.files,
                                   services_.messages);
    connect(this, &CVXMlogApp::colours_changed, view, &CVXMlogView::Recolour);
    capture_frame_ = new CCaptureFrame(view);
    view->Refresh();
    capture_frame_->can_close = [this] { return !capture_doc_ || capture_doc_->SaveModified(); };
    capture_frame_->set_placement_slot(&settings_.placement(PlacementSlot::CaptureWindow));
    capture_frame_->set_rate_text([this] { return StatusRateText(); });
    wire_frame(*capture_frame_);
    capture_frame_->UpdateQuickSelectMenus();
    capture_frame_->SizeToToolBarRow();
    connect(capture_frame_, &CMainFrame::closing, this, [this] {
        // The view goes with the frame; the document stops and gives its
        // ring back now.
        if (auto* view = capture_frame_->findChild<CDocumentView*>()) delete view;
        capture_doc_.reset();
        capture_frame_ = nullptr;  // deleted a moment later, gone for the program now
        UpdateCommandButtons();
    });
    capture_frame_->show();
    capture_frame_->ApplyPlacement(settings_.placement(PlacementSlot::CaptureWindow), false);
    capture_frame_->UpdateCommandUI();
}

void CVXMlogApp::OnFileOpen() {
    platform::FileChooserRequest request;
    request.mode = platform::FileChooserMode::Open;
    request.title = "Open";
    request.filters = {kDocumentFileFilter, kAllFilesFilter};
    request.default_extension = "vxg";
    const std::optional<std::string> chosen = services_.files->choose(request);
    if (!chosen) return;
    OpenReviewWindow(QFileInfo(strip_quotes(QString::fromStdString(*chosen))).absoluteFilePath());
}

CDisplayFrame* CVXMlogApp::OpenReviewWindow(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty()) {
        for (ReviewWindow& review : reviews_) {
            if (review.frame.isNull() || review.canonical_path != canonical) continue;
            review.frame->showNormal();
            review.frame->raise();
            review.frame->activateWindow();
            active_frame_ = review.frame.data();
            return review.frame.data();
        }
    }
    auto doc = std::make_shared<CVXMlogDoc>(prompts());
    if (const auto error = doc->Load(info.absoluteFilePath().toStdString())) {
        services_.messages->show(*error, kCaption, platform::MessageButtons::Ok, platform::MessageIcon::Warning);
        return nullptr;
    }
    auto* view =
        new CDocumentView(*doc, &settings_.background, &settings_.foreground, services_.files, services_.messages);
    connect(this, &CVXMlogApp::colours_changed, view, &CVXMlogView::Recolour);
    auto* frame = new CDisplayFrame(view);
    view->Refresh();
    frame->can_close = [doc] { return doc->SaveModified(); };
    frame->set_placement_slot(&settings_.placement(PlacementSlot::ReviewWindow));
    wire_frame(*frame);
    reviews_.push_back(ReviewWindow{canonical, QPointer<CDisplayFrame>(frame), doc});
    connect(frame, &CMainFrame::closing, this, [this](CMainFrame* closed) {
        if (auto* view = closed->findChild<CDocumentView*>()) delete view;
        std::erase_if(reviews_, [closed](const ReviewWindow& r) { return r.frame.isNull() || r.frame == closed; });
    });
    add_recent_file(info.absoluteFilePath());
    if (!doc->load_note().empty()) frame->SetStatusNote(QFile::decodeName(doc->load_note().c_str()));
    frame->show();
    frame->ApplyPlacement(settings_.placement(PlacementSlot::ReviewWindow), false);
    frame->UpdateCommandUI();
    active_frame_ = frame;
    return frame;
}

std::vector<CDisplayFrame*> CVXMlogApp::review_frames() const {
    std::vector<CDisplayFrame*> frames;
    for (const ReviewWindow& review : reviews_)
        if (!review.frame.isNull()) frames.push_back(review.frame.data());
    return frames;
}

void CVXMlogApp::RaiseCommandScreen(const QStringList& files) {
    if (command_frame_.isNull()) return;
    if (command_frame_->isMinimized()) command_frame_->showNormal();
    command_frame_->show();
    command_frame_->raise();
    command_frame_->activateWindow();
    for (const QString& file : files) {
        if (end_requested()) break;
        OpenReviewWindow(file);
    }
}

void CVXMlogApp::send_document(CMainFrame* frame) {
    const CVXMlogDoc* doc = document_of(frame);
    const QString path = doc != nullptr ? QString::fromStdString(doc->path_name()) : QString();
    if (path.isEmpty() || doc->modified()) {
        show_message("Save the document before sending it.");
        return;
    }
    if (!services_.send_mail(path)) show_message("No mail program is set up to send the document.");
}

void CVXMlogApp::add_recent_file(const QString& path) {
    recent_.add(path.toStdU16String());
    for (CDisplayFrame* frame : review_frames()) frame->SetRecentFiles(recent_files());
}

QStringList CVXMlogApp::recent_files() const {
    QStringList paths;
    for (const std::u16string& path : recent_.paths()) paths << QString::fromStdU16String(path);
    return paths;
}

}  // namespace korv::boxlogger
