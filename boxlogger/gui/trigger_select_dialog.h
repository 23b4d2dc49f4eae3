#pragma once
// "Trigger Select": the six triggers' rules and logic, edited in place
// (changes take effect at once, even during a capture).
#include <QDialog>
#include <functional>
#include <optional>
#include <utility>

#include "boxlogger/core/trigger.h"
#include "platform/core/message_box.h"

class QComboBox;
class QListWidget;
class QPushButton;

namespace korv::boxlogger {

class ChannelGroupList;

class TriggerSelectDialog : public QDialog {
    Q_OBJECT
public:
    // The comparison and value the Trigger Rule dialog returns on OK.
    using RuleEditor = std::function<std::optional<std::pair<int, float>>(const CTriggerRule&, QWidget*)>;

    explicit TriggerSelectDialog(platform::MessageBox& messages, QWidget* parent = nullptr);

    // Tests answer the Trigger Rule dialog through this.
    void SetRuleEditor(RuleEditor editor) { edit_rule_ = std::move(editor); }

    ChannelGroupList* channels() const { return channels_; }

public slots:
    void OnCreate();
    void OnRemove();
    void OnEditLogic();

private:
    // The chosen trigger, or none (after "Select trigger first").
    CTrigger* chosen_trigger();
    void FillRules();

    platform::MessageBox& messages_;
    RuleEditor edit_rule_;
    ChannelGroupList* channels_;
    QComboBox* trigger_;
    QComboBox* logic_;
    QListWidget* rules_;
};

}  // namespace korv::boxlogger
