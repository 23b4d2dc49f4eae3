#pragma once
// The fixed layout the programs' "pick a COM port" dialogs share: a disabled
// prompt, the port list ("Choose port", "COM 1" .. "COM 4"), "Ok", "Cancel"
// and a read-only status line, on the grey window.
#include <QString>

class QComboBox;
class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;

namespace korv {

inline constexpr int kPortDialogWidth = 335;
inline constexpr int kPortDialogHeight = 166;
inline constexpr const char* kPortDialogIdleStatus = "Choose the com port & click 'OK'";

struct PortDialogWidgets {
    QLabel* prompt = nullptr;
    QComboBox* port_list = nullptr;
    QPushButton* ok_button = nullptr;
    QPushButton* cancel_button = nullptr;
    QLineEdit* status_line = nullptr;
};

// Sizes and paints the dialog and lays the widgets out on it; the "Ok"
// button and status line take the object names the caller's tests look up.
PortDialogWidgets build_port_dialog(QDialog& dialog, const QString& prompt, const char* ok_name,
                                    const char* status_name);

}  // namespace korv
