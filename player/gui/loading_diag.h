#pragma once
// The notice on screen while kvt.cfg is read.
#include "common/gui/error_reporter.h"

#include <QDialog>

class QPlainTextEdit;

class loading_diag : public QDialog {
    Q_OBJECT
public:
    explicit loading_diag(QWidget* owner);
    void error_rtn(const QString& message) { error_.error_rtn(message); }

    QPlainTextEdit* text = nullptr;

private:
    korv::ErrorReporter error_;
};
