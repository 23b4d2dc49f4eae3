#include "boxlogger/gui/vxm_vars_sheet.h"

#include "boxlogger/core/link_engine.h"
#include "boxlogger/core/tuning_write.h"
#include "boxlogger/core/variable.h"
#include "platform/core/message_box.h"
#include "platform/gui/windows1252_text.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korv::boxlogger {

CVXMVarsTab::CVXMVarsTab(CEngineSheet& sheet, const QString& caption) : CDRBGenIOTab(sheet, 148, caption) {
    auto* current = new QLabel(drb_text::kCurrent, this);
    grid_->addWidget(current, 0, 1);
    auto* warning = new QLabel(drb_text::kWarning, this);
    warning->setWordWrap(true);
    layout_->insertWidget(0, warning);
    toggle_->setVisible(false);
    toggle_->setEnabled(false);
}

void CVXMVarsTab::SetFields(const int* ids) {
    CDRBGenIOTab::SetFields(ids);
    for (int i = static_cast<int>(edits_.size()); i < row_count() && i < kMaxTuningRows; ++i) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::number(kNewValueEditId + i));
        grid_->addWidget(edit, kFirstGridRow + i, 2);
        connect(edit, &QLineEdit::textEdited, this, [this] { SetModified(true); });
        edits_.push_back(edit);
    }
}

void CVXMVarsTab::SetModified(bool on) {
    if (modified_ == on) return;
    modified_ = on;
    emit modifiedChanged();
}

bool CVXMVarsTab::StartApply(std::function<void(bool applied)> finished) {
    if (!link_up()) {
        sheet_.Message(drb_text::kUpdateLinkDown);
        return false;
    }
    std::vector<TuningEntry> entries;
    for (std::size_t i = 0; i < edits_.size(); ++i) {
        // A character Windows-1252 cannot hold is no digit either.
        const auto text = platform::windows1252_from_qstring(edits_[i]->text());
        entries.push_back({rows_[i].variable, text.value_or("?")});
    }
    auto plan = std::make_shared<TuningPlan>(PlanTuningWrites(entries));
    if (plan->writes.empty()) {
        clear_rows(RowsToClear(*plan, 0));
        SetModified(false);
        finished(true);
        return true;
    }
    CLinkEngine& engine = sheet_.engine();
    return sheet_.RunCommand(
        drb_text::kUpdatingNotice, [&engine, plan] { return static_cast<int>(SendTuningWrites(engine, plan->writes)); },
        [this, plan, finished = std::move(finished)](int sent) {
            clear_rows(RowsToClear(*plan, static_cast<std::size_t>(sent)));
            if (sent < static_cast<int>(plan->writes.size())) {
                sheet_.Message(drb_text::kUpdateFailed);
                finished(false);
                return;
            }
            SetModified(false);
            finished(true);
        });
}

void CVXMVarsTab::clear_rows(const std::vector<int>& rows) {
    for (int row : rows) edits_[static_cast<std::size_t>(row)]->clear();
}

CVXMVarsSheet::CVXMVarsSheet(CLinkEngine& engine, platform::MessageBox& messages, QWidget* parent)
    : CEngineSheet(engine, messages, drb_text::kVarsSheetTitle, parent) {
    setObjectName("VXMVarsSheet");
    apply_ = buttons_->addButton(QDialogButtonBox::Apply);
    apply_->setObjectName(QString::number(kApplyId));
    apply_->setEnabled(false);
    connect(apply_, &QPushButton::clicked, this, &CVXMVarsSheet::OnApply);
    for (const DrbPageSpec& spec : VxmVarsPages()) {
        auto* page = new CVXMVarsTab(*this, QString::fromLatin1(spec.caption));
        page->SetFields(spec.ids);
        page->AttachList(engine.hub());
        connect(page, &CVXMVarsTab::modifiedChanged, this, &CVXMVarsSheet::update_apply);
        connect(page, &CVXMVarsTab::modifiedChanged, this, [this, page] {
            if (page->modified()) apply_->setDefault(true);
        });
        AddPage(page);
    }
}

int CVXMVarsSheet::Open(bool capture_window_open, CLinkEngine& engine, platform::MessageBox& messages, QWidget* parent,
                        NoticeFactory notice) {
    if (capture_window_open) {
        messages.show(drb_text::kCollecting, "VXMlog", platform::MessageButtons::Ok, platform::MessageIcon::None);
        return QDialog::Rejected;
    }
    CVXMVarsSheet sheet(engine, messages, parent);
    if (notice) sheet.set_notice_factory(std::move(notice));
    return sheet.DoModal();
}

void CVXMVarsSheet::OnApply() {
    if (!busy()) apply_from(0, false);
}

void CVXMVarsSheet::accept() {
    if (!busy()) apply_from(0, true);
}

void CVXMVarsSheet::apply_from(int index, bool close_after) {
    for (; index < page_count(); ++index) {
        CVXMVarsTab* page = vars_page(index);
        if (!page->modified()) continue;
        const int next = index + 1;
        const bool started = page->StartApply([this, index, next, close_after](bool applied) {
            if (applied)
                apply_from(next, close_after);
            else
                SetActivePage(index);
        });
        if (!started) SetActivePage(index);
        return;
    }
    if (close_after) CEngineSheet::accept();
}

void CVXMVarsSheet::update_apply() {
    bool any = false;
    for (int i = 0; i < page_count(); ++i) any = any || vars_page(i)->modified();
    apply_->setEnabled(any && !busy());
}

void CVXMVarsSheet::OnBusyChanged(bool busy) {
    CEngineSheet::OnBusyChanged(busy);
    update_apply();
}

}  // namespace korv::boxlogger
