#pragma once
// "About VXMlog": the build's version, the notice and comments; a
// Ctrl + double-click on the icon switches the port's fake data.
#include <QDialog>
#include <functional>

#include "platform/core/message_box.h"

class QLabel;

namespace korv::boxlogger {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    // toggle_fake_data switches the flag and returns its new state.
    CAboutDlg(platform::MessageBox& messages, std::function<bool()> toggle_fake_data, QWidget* parent = nullptr);

    static QString VersionText();

    // The icon's gesture, as a Ctrl + double-click runs it.
    void OnIconCtrlDoubleClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    platform::MessageBox& messages_;
    std::function<bool()> toggle_fake_data_;
    QLabel* icon_ = nullptr;
};

}  // namespace korv::boxlogger
