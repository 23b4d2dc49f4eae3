#pragma once
// A short-lived notice: shown modeless, gone after its lifetime.
#include <QDialog>

namespace korv::boxlogger {

class CNoticeDlg : public QDialog {
    Q_OBJECT
public:
    // A lifetime of 0 or less keeps the notice until it is closed.
    CNoticeDlg(const QString& text, int lifetime_ms, QWidget* parent = nullptr);
};

}  // namespace korv::boxlogger
