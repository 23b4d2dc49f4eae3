#pragma once
// "Logger Preferences": the port of the box, a probe of it, and the status
// the probe gave. OK only while linked; Cancel closes the port. Probes
// answer later: OK stays off and the status as it was until then.
#include <QDialog>
#include <functional>

#include "boxlogger/gui/logger_link.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace korv::boxlogger {

class CLoggerPrefsDlg : public QDialog {
    Q_OBJECT
public:
    CLoggerPrefsDlg(LoggerLink& link, int port_index, QWidget* parent = nullptr);

    int port_index() const { return port_index_; }
    QString status_text() const;
    bool ok_enabled() const;

    void OnSelchangePort(int index);
    void OnConnect();
    // The hidden gesture: Ctrl + double-click on the status text.
    void OnStatusCtrlDoubleClick();

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void probe(std::function<void(int probe)> answered);

    LoggerLink& link_;
    int port_index_;
    QComboBox* port_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace korv::boxlogger
