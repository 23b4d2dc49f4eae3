#pragma once
// "Logger Preferences": the port of the box, a probe of it, and the status
// the probe gave. OK only while linked; Cancel closes the port. Probes
// answer later: OK stays off and the status as it was until then.
#include <QDialog>
#include <functional>
#include <optional>

#include "boxlogger/gui/logger_link.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace korv::boxlogger {

class CLoggerPrefsDlg : public QDialog {
    Q_OBJECT
public:
    // `found`: what a probe of that port just answered (Connect's), shown
    // until the dialog's own probe answers.
    CLoggerPrefsDlg(LoggerLink& link, int port_index, std::optional<int> found = std::nullopt,
                    QWidget* parent = nullptr);

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
    void show_found(int probe);

    LoggerLink& link_;
    int port_index_;
    QComboBox* port_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace korv::boxlogger
