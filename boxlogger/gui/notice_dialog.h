#pragma once
// A short-lived notice: shown modeless, gone after its lifetime. It shows
// its text on one line and stands clear of the window that raised it, so
// the buttons there stay in sight.
#include <QDialog>

namespace korv::boxlogger {

class CNoticeDlg : public QDialog {
    Q_OBJECT
public:
    // A lifetime of 0 or less keeps the notice until it is closed.
    CNoticeDlg(const QString& text, int lifetime_ms, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void place_clear_of(const QWidget& owner);
};

}  // namespace korv::boxlogger
