#pragma once
// Asks what a file of an unknown kind is, and for text, what each column holds.
#include <QDialog>

#include <vector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QWidget;

class csv_dialog : public QDialog {
    Q_OBJECT
public:
    explicit csv_dialog(QWidget* owner, bool modal = true);

    // Replaces the column controls with `count` new ones, item 0 selected.
    void add_controls(int count);
    int control_count() const { return int(choices.size()); }
    // The item chosen in each column, left to right.
    std::vector<int> chosen_items() const;

    void clear_text();
    void append_text(const QString& text);

    QPlainTextEdit* description = nullptr;
    QCheckBox* vxm_file = nullptr;
    QCheckBox* pms_file = nullptr;
    QCheckBox* csv_file = nullptr;
    QPlainTextEdit* text_area = nullptr;  // the lines read up to the header
    QScrollArea* columns_area = nullptr;
    std::vector<QComboBox*> choices;
    QPushButton* ok_button = nullptr;

public slots:
    void csvFile_itemStateChanged();
    void okButton_actionPerformed();

private:
    QWidget* columns_ = nullptr;
    QGridLayout* grid_ = nullptr;
};
