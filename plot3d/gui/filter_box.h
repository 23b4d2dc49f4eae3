#pragma once
// "Database Filter": value ranges on the numeric fields, always applied to
// the table as read.
#include <QDialog>

#include <vector>

class QComboBox;
class QLabel;
class QPushButton;

namespace korv::plot3d {

class PlotPanel;

class FilterBox : public QDialog {
    Q_OBJECT
public:
    // A child of `parent`, so it closes with the window it belongs to.
    FilterBox(PlotPanel& panel, QWidget* parent);

    // OK and Apply: false, with the message shown, when a row's range is empty.
    bool apply();

    int rows() const { return static_cast<int>(rows_.size()); }
    QComboBox* minChoice(int row) const { return rows_.at(static_cast<std::size_t>(row)).min; }
    QComboBox* maxChoice(int row) const { return rows_.at(static_cast<std::size_t>(row)).max; }
    QString message() const;
    QPushButton* okButton() const { return ok_; }
    QPushButton* applyButton() const { return apply_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    struct Row {
        int field;
        QComboBox* min;
        QComboBox* max;
    };
    PlotPanel& panel_;
    std::vector<Row> rows_;
    QLabel* message_;
    QPushButton *ok_, *apply_, *cancel_;
};

}  // namespace korv::plot3d
