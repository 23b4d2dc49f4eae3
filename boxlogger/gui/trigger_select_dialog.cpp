#include "boxlogger/gui/trigger_select_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "boxlogger/core/channel_table.h"
#include "boxlogger/gui/channel_group_list.h"
#include "boxlogger/gui/trigger_rule_dialog.h"
#include "common/gui/window_style.h"
#include "platform/gui/windows1252_text.h"

namespace korv::boxlogger {
namespace {

std::optional<std::pair<int, float>> run_rule_dialog(const CTriggerRule& rule, QWidget* parent) {
    TriggerRuleDialog dialog(rule, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return std::make_pair(dialog.comparison(), dialog.value());
}

QPushButton* button(const char* text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

TriggerSelectDialog::TriggerSelectDialog(platform::MessageBox& messages, QWidget* parent)
    : QDialog(parent),
      messages_(messages),
      edit_rule_(run_rule_dialog),
      channels_(new ChannelGroupList(this)),
      trigger_(new QComboBox(this)),
      logic_(new QComboBox(this)),
      rules_(new QListWidget(this)) {
    setWindowTitle("Trigger Select");
    use_window_style(*this);
    trigger_->setObjectName("triggerChoice");
    for (int n = 0; n < CTrigger::kCount; ++n) {
        trigger_->addItem(
            platform::qstring_from_windows1252(GetChannelLabel(CTrigger::kFirstChannel + n).value_or("")));
    }
    trigger_->setCurrentIndex(-1);
    logic_->setObjectName("logicChoice");
    logic_->addItems({"All of the above", "Any of the above"});
    rules_->setObjectName("ruleList");
    auto* create = button(">> Create >>", "createButton", this);
    auto* remove = button("<< Remove <<", "removeButton", this);
    auto* edit = button("Edit Logic", "editButton", this);
    auto* close = button("Close", "closeButton", this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(channels_, 0, 0, 6, 1);
    grid->addWidget(create, 1, 1);
    grid->addWidget(remove, 2, 1);
    grid->addWidget(new QLabel("Trigger", this), 0, 2);
    grid->addWidget(trigger_, 0, 3);
    grid->addWidget(rules_, 1, 2, 3, 2);
    grid->addWidget(logic_, 4, 2, 1, 2);
    grid->addWidget(edit, 5, 2);
    grid->addWidget(new QLabel("Changes cannot be undone or cancelled", this), 6, 0, 1, 3);
    grid->addWidget(close, 6, 3);

    connect(create, &QPushButton::clicked, this, &TriggerSelectDialog::OnCreate);
    connect(channels_, &ChannelGroupList::channelActivated, this, &TriggerSelectDialog::OnCreate);
    connect(remove, &QPushButton::clicked, this, &TriggerSelectDialog::OnRemove);
    connect(rules_, &QListWidget::itemDoubleClicked, this, &TriggerSelectDialog::OnRemove);
    connect(edit, &QPushButton::clicked, this, &TriggerSelectDialog::OnEditLogic);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(trigger_, &QComboBox::currentIndexChanged, this, &TriggerSelectDialog::FillRules);
    connect(logic_, &QComboBox::activated, this, [this](int position) {
        if (trigger_->currentIndex() >= 0) Trigger(trigger_->currentIndex()).SetLogic(position + kLogicAnd);
    });
    FillRules();
}

CTrigger* TriggerSelectDialog::chosen_trigger() {
    const int n = trigger_->currentIndex();
    if (n >= 0 && n < CTrigger::kCount) return &Trigger(n);
    messages_.show("Select trigger first", "VXMlog", platform::MessageButtons::Ok, platform::MessageIcon::Warning);
    return nullptr;
}

void TriggerSelectDialog::FillRules() {
    rules_->clear();
    const int n = trigger_->currentIndex();
    if (n < 0 || n >= CTrigger::kCount) {
        logic_->setCurrentIndex(-1);
        return;
    }
    const CTrigger& trigger = Trigger(n);
    logic_->setCurrentIndex(trigger.logic() - kLogicAnd);
    for (const auto& rule : trigger.rules()) rules_->addItem(platform::qstring_from_windows1252(rule->Describe()));
}

void TriggerSelectDialog::OnCreate() {
    CTrigger* trigger = chosen_trigger();
    if (trigger == nullptr) return;
    const std::int32_t id = channels_->CurrentId();
    if (id < 0) return;
    if (WouldDependOnItself(trigger->number(), id)) {
        messages_.show("A trigger cannot depend on itself", "VXMlog", platform::MessageButtons::Ok,
                       platform::MessageIcon::Warning);
        return;
    }
    auto rule = std::make_unique<CTriggerRule>(id, kCompareEqual, 0.0f);
    const std::optional<std::pair<int, float>> edited = edit_rule_(*rule, this);
    if (!edited) return;
    rule->comparison = edited->first;
    rule->value = edited->second;
    trigger->AddRule(std::move(rule));
    FillRules();
}

void TriggerSelectDialog::OnRemove() {
    CTrigger* trigger = chosen_trigger();
    if (trigger == nullptr) return;
    const int row = rules_->currentRow();
    if (row < 0 || rules_->currentItem() == nullptr || !rules_->currentItem()->isSelected()) return;
    trigger->RemoveRule(static_cast<std::size_t>(row));
    FillRules();
}

void TriggerSelectDialog::OnEditLogic() {
    CTrigger* trigger = chosen_trigger();
    if (trigger == nullptr) return;
    const int row = rules_->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= trigger->rules().size()) return;
    if (rules_->currentItem() == nullptr || !rules_->currentItem()->isSelected()) return;
    const std::optional<std::pair<int, float>> edited = edit_rule_(*trigger->rules()[row], this);
    if (!edited) return;
    trigger->EditRule(static_cast<std::size_t>(row), edited->first, edited->second);
    FillRules();
}

}  // namespace korv::boxlogger
