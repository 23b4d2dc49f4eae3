#pragma once
// A modal sheet of pages over the box link: holds the link engine while it
// runs, so the poll thread polls the pages' requests, and runs every
// exchange of its own (the long commands with a notice shown) on its worker,
// never on the GUI thread. While a command runs the sheet neither acts nor
// closes; a close asked for while a short exchange is under way waits for it.
#include "common/gui/job_worker.h"

#include <QDialog>
#include <QPointer>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

class QDialogButtonBox;
class QPushButton;
class QTabWidget;

namespace korv::platform {
class MessageBox;
}

namespace korv::boxlogger {

class CDRBPage;
class CLinkEngine;

class CEngineSheet : public QDialog {
    Q_OBJECT
public:
    // The modeless notice shown while a command runs.
    using NoticeFactory = std::function<QWidget*(const QString& text, QWidget* parent)>;

    CEngineSheet(CLinkEngine& engine, platform::MessageBox& messages, const QString& title, QWidget* parent = nullptr);
    ~CEngineSheet() override;

    // Holds the engine for the whole modal run.
    int DoModal();

    CLinkEngine& engine() { return engine_; }
    // A plain message with an OK button (Windows-1252 text).
    void Message(std::string_view text);
    using Command = std::function<int()>;
    using CommandDone = std::function<void(int result)>;
    // Runs the command on the worker with the notice shown; `done` gets its
    // result on the GUI thread, then the notice closes. False while another
    // command runs.
    bool RunCommand(const QString& notice, Command command, CommandDone done);
    // A command runs.
    bool busy() const { return command_running_; }
    // Anything of the sheet's is on the worker: a command or a page's exchange.
    bool working() const { return worker_.busy(); }
    JobWorker& worker() { return worker_; }

    void set_notice_factory(NoticeFactory factory) { notice_factory_ = std::move(factory); }
    QWidget* notice() const { return notice_; }

    int page_count() const { return static_cast<int>(pages_.size()); }
    CDRBPage* page(int i) const { return pages_[static_cast<std::size_t>(i)]; }
    CDRBPage* active_page() const;
    void SetActivePage(int i);
    QTabWidget* tabs() const { return tabs_; }
    QDialogButtonBox* buttons() const { return buttons_; }

    void accept() override;
    void reject() override;
    void done(int result) override;

protected:
    void AddPage(CDRBPage* page);
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    virtual void OnBusyChanged(bool busy);

    QDialogButtonBox* buttons_;

private:
    void on_current_changed(int index);
    void on_worker_idle();

    CLinkEngine& engine_;
    platform::MessageBox& messages_;
    JobWorker worker_;
    bool command_running_ = false;
    // The result of a close asked for while the worker was busy.
    std::optional<int> close_when_idle_;
    QTabWidget* tabs_;
    std::vector<CDRBPage*> pages_;
    int active_ = -1;
    NoticeFactory notice_factory_;
    QPointer<QWidget> notice_;
};

// "DRB II Data": the engine computer's screens as the DRB II tool shows them.
class CDRBPropertySheet : public CEngineSheet {
    Q_OBJECT
public:
    CDRBPropertySheet(CLinkEngine& engine, platform::MessageBox& messages, QWidget* parent = nullptr);
};

}  // namespace korv::boxlogger
