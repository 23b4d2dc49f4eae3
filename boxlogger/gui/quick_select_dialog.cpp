#include "boxlogger/gui/quick_select_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include "common/gui/window_style.h"

namespace korv::boxlogger {

namespace {
// The edits' ids, set by set; their order is not the sets' order.
constexpr std::array<int, CQuickSelectDlg::kSets> kEditIds{1064, 1067, 1068, 1066, 1065};
constexpr int kFirstRadioId = 1059;
}  // namespace

CQuickSelectDlg::CQuickSelectDlg(const Names& names, int preselect, QWidget* parent) : QDialog(parent), names_(names) {
    setWindowTitle("Quick Selects");
    use_window_style(*this);
    auto* grid = new QGridLayout(this);
    // A name is kept with its channels one line each: no line breaks in it.
    auto* one_line = new QRegularExpressionValidator(QRegularExpression("[^\\r\\n]*"), this);
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
