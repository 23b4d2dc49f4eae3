#pragma once
// The chart's two small dialogs: "Title Change" and "Time Axis Scaling".
#include <QDialog>

class QComboBox;
class QLineEdit;

namespace korv::boxlogger {

class CTitleDlg : public QDialog {
    Q_OBJECT
public:
    explicit CTitleDlg(QWidget* parent = nullptr);
    void SetTitle(const QString& title);
    QString Title() const;
    QLineEdit* edit() const { return edit_; }  // control 1084

private:
    QLineEdit* edit_;
};

class CScaleDlg : public QDialog {
    Q_OBJECT
public:
    explicit CScaleDlg(QWidget* parent = nullptr);
    // Index into the time-scale table, -1 for none.
    void SetSelection(int index);
    int Selection() const;
    QComboBox* combo() const { return combo_; }  // control 1067

private:
    QComboBox* combo_;
};

}  // namespace korv::boxlogger
