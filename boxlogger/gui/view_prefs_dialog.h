#pragma once
// "View Preferences": the chart's foreground and background colours, applied
// at once and put back unless the dialog ends with OK.
#include <QDialog>
#include <cstdint>
#include <functional>

class QPushButton;

namespace korv::boxlogger {

class CViewPrefsDlg : public QDialog {
    Q_OBJECT
public:
    // Picks a colour command id for a button (0: none); the default drops the
    // colour menu under the button.
    using ColorChooser = std::function<int(QPushButton* button)>;

    // Edits the two colours in place; changed runs after every change.
    CViewPrefsDlg(std::uint32_t& foreground, std::uint32_t& background, std::function<void()> changed,
                  QWidget* parent = nullptr);

    void set_color_chooser(ColorChooser chooser) { chooser_ = std::move(chooser); }

    void OnForeground();
    void OnBackground();

    void done(int result) override;

private:
    void choose(std::uint32_t& colour, QPushButton* button);

    std::uint32_t& foreground_;
    std::uint32_t& background_;
    const std::uint32_t old_foreground_;
    const std::uint32_t old_background_;
    std::function<void()> changed_;
    ColorChooser chooser_;
    QPushButton* foreground_button_ = nullptr;
    QPushButton* background_button_ = nullptr;
};

}  // namespace korv::boxlogger
