#include "boxlogger/gui/notice_dialog.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "common/gui/window_style.h"

namespace korv::boxlogger {

CNoticeDlg::CNoticeDlg(const QString& text, int lifetime_ms, QWidget* parent) : QDialog(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle("VXMlog");
    use_window_style(*this);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(text, this);
    label->setObjectName("1052");
    label->setWordWrap(true);
    layout->addWidget(label);
    if (lifetime_ms > 0) QTimer::singleShot(lifetime_ms, this, &QDialog::close);
}

}  // namespace korv::boxlogger
