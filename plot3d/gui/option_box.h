#pragma once
// "Visualization Options": which fields drive the axes, size and colour,
// their scales, and the colours of the colour field's values.
#include <QDialog>

#include <array>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace korv::plot3d {

class PlotPanel;

class OptionBox : public QDialog {
    Q_OBJECT
public:
    // A child of `parent`, so it closes with the window it belongs to.
    OptionBox(PlotPanel& panel, QWidget* parent);

    // OK and Apply: false, with the message shown, when a check fails.
    bool apply();

    QComboBox* fieldChoice(int i) const { return fields_[static_cast<std::size_t>(i)]; }  // X, Y, Z, Size
    QComboBox* colorFieldChoice() const { return colorField_; }
    QComboBox* defaultChoice() const { return defaultColour_; }
    QLineEdit* minText(int i) const { return mins_[static_cast<std::size_t>(i)]; }
    QLineEdit* maxText(int i) const { return maxs_[static_cast<std::size_t>(i)]; }
    QComboBox* colourRow(int i) const { return colourRows_[static_cast<std::size_t>(i)]; }
    QStringList message() const;
    QPushButton* okButton() const { return ok_; }
    QPushButton* applyButton() const { return apply_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    void rebuildColourRows();
    void showMessage(std::string_view first, std::string_view second);

    PlotPanel& panel_;
    std::vector<int> numeric_;  // field index of each NUMERIC choice
    std::vector<int> strings_;  // field index of each STRING choice
    std::array<QComboBox*, 4> fields_{};
    QComboBox* colorField_;
    QComboBox* defaultColour_;
    std::array<QLineEdit*, 4> mins_{}, maxs_{};
    std::array<QComboBox*, 12> colourRows_{};
    QLabel* message1_;
    QLabel* message2_;
    QPushButton *ok_, *apply_, *cancel_;
};

}  // namespace korv::plot3d
