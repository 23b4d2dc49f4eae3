#include "boxlogger/gui/engine_sheet.h"

#include "boxlogger/core/link_engine.h"
#include "boxlogger/gui/drb_page.h"
#include "boxlogger/gui/notice_dialog.h"
#include "common/gui/window_style.h"
#include "platform/core/message_box.h"
#include "platform/gui/windows1252_text.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace korv::boxlogger {
namespace {

constexpr char kCaption[] = "VXMlog";

QWidget* command_notice(const QString& text, QWidget* parent) { return new CNoticeDlg(text, 0, parent); }

}  // namespace

CEngineSheet::CEngineSheet(CLinkEngine& engine, platform::MessageBox& messages, const QString& title, QWidget* parent)
    : QDialog(parent), engine_(engine), messages_(messages), notice_factory_(command_notice) {
    setWindowTitle(title);
    use_window_style(*this);
    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    // Every tab in sight: the sheet is as wide as its row of tabs.
    tabs_->setUsesScrollButtons(false);
    layout->addWidget(tabs_);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->button(QDialogButtonBox::Ok)->setObjectName("1");
    buttons_->button(QDialogButtonBox::Cancel)->setObjectName("2");
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, &CEngineSheet::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &CEngineSheet::reject);
    connect(tabs_, &QTabWidget::currentChanged, this, &CEngineSheet::on_current_changed);
    worker_.set_busy_changed([this](bool working) {
        if (!working) on_worker_idle();
    });
}

CEngineSheet::~CEngineSheet() {
    // Jobs use the engine; one still under way ends before the sheet goes.
    worker_.stop();
    if (notice_) delete notice_.data();
}

int CEngineSheet::DoModal() {
    engine_.Hold();
    const int result = exec();
    engine_.Release();
    return result;
}

void CEngineSheet::Message(std::string_view text) {
    const std::string utf8 = platform::qstring_from_windows1252(text).toStdString();
    messages_.show(utf8, kCaption, platform::MessageButtons::Ok, platform::MessageIcon::None);
}

bool CEngineSheet::RunCommand(const QString& notice, Command command, CommandDone done) {
    if (command_running_) return false;
    if (!notice_) {
        notice_ = notice_factory_(notice, this);
        notice_->show();
    }
    QPointer<QWidget> shown = notice_;
    const auto close_notice = [this, shown] {
        // A done that started the next command keeps the notice up.
        if (!command_running_ && shown) {
            shown->close();
            notice_ = nullptr;
        }
    };
    command_running_ = true;
    const auto failed = worker_.run(std::move(command), [this, close_notice, done = std::move(done)](int result) {
        command_running_ = false;
        if (done) done(result);
        close_notice();
        if (!command_running_) OnBusyChanged(false);
    });
    if (failed) {
        command_running_ = false;
        close_notice();
        return false;
    }
    OnBusyChanged(true);
    return true;
}

void CEngineSheet::on_worker_idle() {
    if (!close_when_idle_) return;
    const int result = *close_when_idle_;
    close_when_idle_.reset();
    done(result);
}

CDRBPage* CEngineSheet::active_page() const { return active_ >= 0 && active_ < page_count() ? page(active_) : nullptr; }

void CEngineSheet::SetActivePage(int i) { tabs_->setCurrentIndex(i); }

void CEngineSheet::AddPage(CDRBPage* page) {
    pages_.push_back(page);
    tabs_->addTab(page, page->caption());
}

void CEngineSheet::on_current_changed(int index) {
    if (!isVisible()) return;
    if (CDRBPage* old = active_page()) old->OnKillActive();
    active_ = index;
    if (CDRBPage* now = active_page()) now->OnSetActive();
}

void CEngineSheet::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (active_ < 0) {
        active_ = tabs_->currentIndex();
        if (CDRBPage* now = active_page()) now->OnSetActive();
    }
}

void CEngineSheet::accept() {
    if (!busy()) QDialog::accept();
}

void CEngineSheet::reject() {
    if (!busy()) QDialog::reject();
}

void CEngineSheet::done(int result) {
    if (busy()) return;
    if (working()) {
        close_when_idle_ = result;
        return;
    }
    if (CDRBPage* old = active_page()) old->OnKillActive();
    active_ = -1;
    QDialog::done(result);
}

void CEngineSheet::closeEvent(QCloseEvent* event) {
    if (busy()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void CEngineSheet::OnBusyChanged(bool busy) {
    tabs_->setEnabled(!busy);
    buttons_->setEnabled(!busy);
}

CDRBPropertySheet::CDRBPropertySheet(CLinkEngine& engine, platform::MessageBox& messages, QWidget* parent)
    : CEngineSheet(engine, messages, drb_text::kSheetTitle, parent) {
    setObjectName("DRBPropertySheet");
    for (const DrbPageSpec& spec : DrbPages()) {
        const QString caption = QString::fromLatin1(spec.caption);
        CDRBPage* page = nullptr;
        switch (spec.kind) {
        case DrbPageKind::ModuleInfo: page = new CModInfoTab(*this); break;
        case DrbPageKind::Errors: page = new CErrorTab(*this); break;
        case DrbPageKind::GeneralIo: {
            auto* io = new CDRBGenIOTab(*this, spec.dialog, caption);
            io->SetFields(spec.ids);
            page = io;
            break;
        }
        case DrbPageKind::Actuators: page = new CDRBActuatorsTab(*this); break;
        }
        page->AttachList(engine.hub());
        AddPage(page);
    }
}

}  // namespace korv::boxlogger
