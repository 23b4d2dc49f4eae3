#pragma once
// "Quick Selects": the five sets' names, one of them to choose.
#include <QDialog>
#include <array>

class QLineEdit;
class QRadioButton;

namespace korv::boxlogger {

class CQuickSelectDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSets = 5;
    using Names = std::array<QString, kSets>;

    // preselect: set 1-5 whose radio button starts on; 0 for none.
    CQuickSelectDlg(const Names& names, int preselect, QWidget* parent = nullptr);

    // After OK: the chosen set as 0-4, -1 when none; the names as edited.
    int chosen() const { return chosen_; }
    const Names& names() const { return names_; }

    void accept() override;

    QRadioButton* radio(int set_index) const { return radios_[static_cast<std::size_t>(set_index)]; }
    QLineEdit* edit(int set_index) const { return edits_[static_cast<std::size_t>(set_index)]; }

private:
    std::array<QRadioButton*, kSets> radios_{};
    std::array<QLineEdit*, kSets> edits_{};
    Names names_;
    int chosen_ = -1;
};

}  // namespace korv::boxlogger
