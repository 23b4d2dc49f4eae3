#pragma once
// A modal sheet of pages over the box link: holds the link engine while it
// runs, so the poll thread polls the pages' requests, and runs the long
// commands off the GUI thread with a notice shown. While a command runs the
// sheet neither acts nor closes.
#include "boxlogger/gui/command_worker.h"

#include <QDialog>
#include <QPointer>
#include <functional>
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
    // Runs the job off the GUI thread with the notice shown; `done` gets its
    // result on the GUI thread, then the notice closes. False while another
    // command runs.
    bool RunCommand(const QString& notice, CCommandWorker::Job job, CCommandWorker::Done done);
    bool busy() const { return worker_.busy(); }
    CCommandWorker& worker() { return worker_; }

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

    CLinkEngine& engine_;
    platform::MessageBox& messages_;
    CCommandWorker worker_;
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
