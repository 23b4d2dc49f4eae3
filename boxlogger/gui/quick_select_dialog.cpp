#include "boxlogger/gui/quick_select_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QValidator>

#include "common/gui/window_style.h"
#include "platform/gui/windows1252_text.h"

namespace korv::boxlogger {

namespace {
// The edits' ids, set by set; their order is not the sets' order.
constexpr std::array<int, CQuickSelectDlg::kSets> kEditIds{1064, 1067, 1068, 1066, 1065};
constexpr int kFirstRadioId = 1059;

// A name is stored in Windows-1252 with its channels one line each: no line
// breaks, nothing the code page cannot hold.
class StorableNameValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& text, int&) const override {
        if (text.contains('\n') || text.contains('\r')) return Invalid;
        return platform::windows1252_from_qstring(text) ? Acceptable : Invalid;
    }
};
}  // namespace

CQuickSelectDlg::CQuickSelectDlg(const Names& names, int preselect, QWidget* parent) : QDialog(parent), names_(names) {
    setWindowTitle("Quick Selects");
    use_window_style(*this);
    auto* grid = new QGridLayout(this);
    auto* one_line = new StorableNameValidator(this);
    for (int i = 0; i < kSets; ++i) {
        auto* radio = new QRadioButton(this);
        radio->setObjectName(QString::number(kFirstRadioId + i));
        radio->setChecked(preselect == i + 1);
        auto* edit = new QLineEdit(names[static_cast<std::size_t>(i)], this);
        edit->setObjectName(QString::number(kEditIds[static_cast<std::size_t>(i)]));
        edit->setValidator(one_line);
        edit->setMinimumWidth(200);
        grid->addWidget(radio, i, 0);
        grid->addWidget(edit, i, 1);
        radios_[static_cast<std::size_t>(i)] = radio;
        edits_[static_cast<std::size_t>(i)] = edit;
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
    grid->addWidget(buttons, 0, 2, kSets, 1, Qt::AlignTop);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setFixedSize(sizeHint());
}

void CQuickSelectDlg::accept() {
    chosen_ = -1;
    for (int i = 0; i < kSets; ++i) {
        if (chosen_ < 0 && radios_[static_cast<std::size_t>(i)]->isChecked()) chosen_ = i;
        names_[static_cast<std::size_t>(i)] = edits_[static_cast<std::size_t>(i)]->text();
    }
    QDialog::accept();
}

}  // namespace korv::boxlogger
