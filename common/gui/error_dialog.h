#pragma once
// The small non-modal message window through which the player and the logger
// report errors and a few status notices.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class error_dialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int content_width = 322;
    static constexpr int content_height = 164;

    error_dialog();                               // hidden, no owner, empty title
    explicit error_dialog(const QString& title);  // the same, with a title

    void set_message(const QString& message);
    QString message() const;

    QPlainTextEdit* error_field = nullptr;
    QPushButton* ok_button = nullptr;

public slots:
    void ok_button_actionPerformed();
};
