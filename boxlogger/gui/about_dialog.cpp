#include "boxlogger/gui/about_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>

#include "common/gui/window_style.h"

namespace korv::boxlogger {

CAboutDlg::CAboutDlg(platform::MessageBox& messages, std::function<bool()> toggle_fake_data, QWidget* parent)
    : QDialog(parent), messages_(messages), toggle_fake_data_(std::move(toggle_fake_data)) {
    setWindowTitle("About VXMlog");
    use_window_style(*this);
    auto* layout = new QGridLayout(this);
    icon_ = new QLabel(this);
    icon_->setObjectName("1091");
    icon_->setPixmap(QApplication::windowIcon().isNull() ? style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32)
                                                         : QApplication::windowIcon().pixmap(32, 32));
    icon_->installEventFilter(this);
    auto* version = new QLabel(VersionText(), this);
    version->setObjectName("1085");
    auto* legal = new QLabel("Copyright (C) Calderis", this);
    legal->setObjectName("1086");
    auto* comments = new QLabel("Captures and reviews data from the Calderis data-logger box.", this);
    comments->setObjectName("1087");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(icon_, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(version, 0, 1);
    layout->addWidget(legal, 1, 1);
    layout->addWidget(comments, 2, 1);
    layout->addWidget(buttons, 3, 0, 1, 2);
    setFixedSize(sizeHint().expandedTo(QSize(300, 0)));
}

QString CAboutDlg::VersionText() { return QStringLiteral("Version " VXMLOG_VERSION); }

void CAboutDlg::OnIconCtrlDoubleClick() {
    if (!toggle_fake_data_) return;
    const bool on = toggle_fake_data_();
    messages_.show(on ? "Fake data enabled" : "Fake data disabled", "VXMlog", platform::MessageButtons::Ok,
                   platform::MessageIcon::Information);
}

bool CAboutDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == icon_ && event->type() == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier)) {
            OnIconCtrlDoubleClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace korv::boxlogger
