#include "boxlogger/gui/logger_prefs_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "boxlogger/core/app_settings.h"
#include "boxlogger/core/command_screen.h"
#include "common/gui/window_style.h"

namespace korv::boxlogger {

CLoggerPrefsDlg::CLoggerPrefsDlg(LoggerLink& link, int port_index, std::optional<int> found, QWidget* parent)
    : QDialog(parent), link_(link), port_index_(port_index) {
    setWindowTitle("Logger Preferences");
    use_window_style(*this);
    auto* grid = new QGridLayout(this);
    port_ = new QComboBox(this);
    port_->setObjectName("1001");
    for (int i = 1; i <= kComPorts; ++i) port_->addItem(QString("COM%1").arg(i));
    port_->setCurrentIndex(port_index >= 0 && port_index < kComPorts ? port_index : 0);
    auto* connect_button = new QPushButton("&Connect", this);
    connect_button->setObjectName("1054");
    auto* box = new QGroupBox("Status", this);
    auto* box_layout = new QVBoxLayout(box);
    status_ = new QLabel(box);
    status_->setObjectName("1053");
    status_->setMinimumWidth(260);
    status_->installEventFilter(this);
    box_layout->addWidget(status_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    grid->addWidget(port_, 0, 0);
    grid->addWidget(connect_button, 0, 1);
    grid->addWidget(box, 1, 0, 1, 2);
    grid->addWidget(buttons, 0, 2, 2, 1, Qt::AlignTop);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(connect_button, &QPushButton::clicked, this, &CLoggerPrefsDlg::OnConnect);
    connect(port_, &QComboBox::currentIndexChanged, this, &CLoggerPrefsDlg::OnSelchangePort);
    setFixedSize(sizeHint());
    ok_->setEnabled(false);
    // It opens to say what the box answered.
    if (found) status_->setText(QString::fromLatin1(probe_status_text(*found)));
    probe([this](int probe) {
        show_found(probe);
        ok_->setEnabled(probe == kProbeWorking);
    });
}

void CLoggerPrefsDlg::probe(std::function<void(int probe)> answered) {
    // The answer is for this port; one that comes after another port was
    // chosen, or after the dialog went, is dropped.
    const int port = port_index_;
    QPointer<CLoggerPrefsDlg> self(this);
    if (const auto refused = link_.Probe(port, [self, port, answered = std::move(answered)](int probe) {
            if (self && self->port_index_ == port) answered(probe);
        }))
        status_->setText(QString::fromStdString(*refused));
}

void CLoggerPrefsDlg::show_found(int probe) { status_->setText(QString::fromLatin1(probe_status_text(probe))); }

QString CLoggerPrefsDlg::status_text() const { return status_->text(); }
bool CLoggerPrefsDlg::ok_enabled() const { return ok_->isEnabled(); }

void CLoggerPrefsDlg::OnSelchangePort(int index) {
    port_index_ = index;
    status_->clear();
}

void CLoggerPrefsDlg::OnConnect() {
    probe([this](int probe) {
        show_found(probe);
        ok_->setEnabled(link_.Linked());
    });
}

void CLoggerPrefsDlg::OnStatusCtrlDoubleClick() {
    probe([this](int probe) {
        status_->setText(probe == kProbeWorking ? kWorkingProperly : kLinkFaked);
        link_.FakeLink();
        ok_->setEnabled(true);
    });
}

void CLoggerPrefsDlg::reject() {
    // Queued after a probe still under way, so what that opens is closed too.
    // A port that cannot be closed stays as it is, and the dialog with it:
    // the status says why, and OK keeps a link that is up.
    if (const auto refused = link_.ClosePort(nullptr)) {
        status_->setText(QString::fromStdString(*refused));
        ok_->setEnabled(link_.Linked());
        return;
    }
    QDialog::reject();
}

bool CLoggerPrefsDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == status_ && event->type() == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier)) {
            OnStatusCtrlDoubleClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace korv::boxlogger
