#include "boxlogger/gui/view_prefs_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "boxlogger/gui/color_menu.h"
#include "common/gui/window_style.h"

namespace korv::boxlogger {

CViewPrefsDlg::CViewPrefsDlg(std::uint32_t& foreground, std::uint32_t& background, std::function<void()> changed,
                             QWidget* parent)
    : QDialog(parent),
      foreground_(foreground),
      background_(background),
      old_foreground_(foreground),
      old_background_(background),
      changed_(std::move(changed)) {
    setWindowTitle("View Preferences");
    use_window_style(*this);
    chooser_ = [this](QPushButton* button) {
        CColorMenu menu(this);
        return menu.Track(button->mapToGlobal(QPoint(0, button->height())));
    };
    auto* layout = new QVBoxLayout(this);
    auto* colors = new QGroupBox("Colors", this);
    auto* row = new QHBoxLayout(colors);
    foreground_button_ = new QPushButton("Foreground", colors);
    foreground_button_->setObjectName("1089");
    background_button_ = new QPushButton("Background", colors);
    background_button_->setObjectName("1090");
    row->addWidget(foreground_button_);
    row->addWidget(background_button_);
    layout->addWidget(colors);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(foreground_button_, &QPushButton::clicked, this, &CViewPrefsDlg::OnForeground);
    connect(background_button_, &QPushButton::clicked, this, &CViewPrefsDlg::OnBackground);
    setFixedSize(sizeHint());
}

void CViewPrefsDlg::OnForeground() { choose(foreground_, foreground_button_); }
void CViewPrefsDlg::OnBackground() { choose(background_, background_button_); }

void CViewPrefsDlg::choose(std::uint32_t& colour, QPushButton* button) {
    const int id = chooser_ ? chooser_(button) : 0;
    if (id == 0) return;
    colour = CColorMenu::ColorFromCommandId(id);
    if (changed_) changed_();
}

void CViewPrefsDlg::done(int result) {
    if (result != QDialog::Accepted && (foreground_ != old_foreground_ || background_ != old_background_)) {
        foreground_ = old_foreground_;
        background_ = old_background_;
        if (changed_) changed_();
    }
    QDialog::done(result);
}

}  // namespace korv::boxlogger
