#include "boxlogger/gui/chart_dialogs.h"

#include "boxlogger/core/chart_maths.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace korv::boxlogger {

namespace {

QDialogButtonBox* ok_cancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

}  // namespace

CTitleDlg::CTitleDlg(QWidget* parent) : QDialog(parent), edit_(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Title Change"));
    edit_->setObjectName(QStringLiteral("1084"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(edit_);
    layout->addWidget(ok_cancel(this));
}

void CTitleDlg::SetTitle(const QString& title) { edit_->setText(title); }

QString CTitleDlg::Title() const { return edit_->text(); }

CScaleDlg::CScaleDlg(QWidget* parent) : QDialog(parent), combo_(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("Time Axis Scaling"));
    combo_->setObjectName(QStringLiteral("1067"));
    for (const char* name : chart::kTimeScaleNames) combo_->addItem(QString::fromLatin1(name));
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Time Axis Scale"), this));
    row->addWidget(combo_);
    row->addWidget(new QLabel(QStringLiteral("per inch"), this));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(ok_cancel(this));
}

void CScaleDlg::SetSelection(int index) { combo_->setCurrentIndex(index); }

int CScaleDlg::Selection() const { return combo_->currentIndex(); }

}  // namespace korv::boxlogger
