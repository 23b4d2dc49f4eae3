#include "boxlogger/gui/trigger_rule_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "common/core/number_text.h"
#include "common/gui/window_style.h"
#include "platform/gui/windows1252_text.h"

namespace korv::boxlogger {

TriggerRuleDialog::TriggerRuleDialog(const CTriggerRule& rule, QWidget* parent)
    : QDialog(parent), comparison_(new QComboBox(this)), value_(new QLineEdit(this)) {
    setWindowTitle("Trigger Rule");
    use_window_style(*this);
    auto* channel = new QLabel(platform::qstring_from_windows1252(rule.attributes.label), this);
    channel->setObjectName("channelLabel");
    comparison_->setObjectName("comparisonChoice");
    comparison_->addItems({"Equal To", "Less Than", "Greater Than"});
    comparison_->setCurrentIndex(rule.comparison >= 0 && rule.comparison <= 2 ? rule.comparison : 0);
    value_->setObjectName("valueEdit");
    value_->setText(QString::fromStdString(format_fixed(rule.value, 2)));
    auto* units = new QLabel(platform::qstring_from_windows1252(rule.attributes.units), this);
    units->setObjectName("unitsLabel");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel("Set Trigger Whenever", this), 0, 0, 1, 3);
    grid->addWidget(channel, 1, 0, 1, 3);
    grid->addWidget(new QLabel("Is", this), 2, 0);
    grid->addWidget(comparison_, 2, 1, 1, 2);
    grid->addWidget(value_, 3, 1);
    grid->addWidget(units, 3, 2);
    grid->addWidget(buttons, 4, 0, 1, 3);
}

int TriggerRuleDialog::comparison() const { return comparison_->currentIndex(); }

float TriggerRuleDialog::value() const {
    const QByteArray text = value_->text().toLatin1();
    const auto parsed = parse_float(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    return parsed ? parsed->value : 0.0f;
}

}  // namespace korv::boxlogger
