#pragma once
// VXMlog's own help: one window with the program's help text.
#include <QDialog>

namespace korv::boxlogger {

class CHelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit CHelpWindow(QWidget* parent = nullptr);
    static QString HelpText();
};

}  // namespace korv::boxlogger
