#pragma once
// "Trigger Rule": the comparison and constant of one rule; its channel is
// fixed.
#include <QDialog>

#include "boxlogger/core/trigger.h"

class QComboBox;
class QLineEdit;

namespace korv::boxlogger {

class TriggerRuleDialog : public QDialog {
    Q_OBJECT
public:
    explicit TriggerRuleDialog(const CTriggerRule& rule, QWidget* parent = nullptr);

    // What OK keeps: the chosen comparison and the edit's leading number (0
    // when it starts with none), as a 32-bit float.
    int comparison() const;
    float value() const;

private:
    QComboBox* comparison_;
    QLineEdit* value_;
};

}  // namespace korv::boxlogger
