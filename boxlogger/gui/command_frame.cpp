#include "boxlogger/gui/command_frame.h"

#include <QGridLayout>
#include <QPushButton>
#include <QStatusBar>

#include "boxlogger/core/command_screen.h"
#include "boxlogger/core/command_table.h"
#include "common/gui/window_style.h"

namespace korv::boxlogger {

CCmdView::CCmdView(QWidget* parent) : QWidget(parent) {
    setObjectName("149");
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(14, 14, 14, 14);
    grid->setSpacing(10);
    grid->addWidget(add_button(cmd::kConnect, "&Connect"), 0, 0);
    grid->addWidget(add_button(cmd::kDescribeCar, "De&scribe Car"), 0, 1);
    grid->addWidget(add_button(cmd::kCollectData, "Collect &Data"), 1, 0);
    grid->addWidget(add_button(cmd::kReviewData, "&Review Data"), 1, 1);
    grid->addWidget(add_button(cmd::kDrb2, "DRB&2"), 2, 0, 1, 2);
    // The tuning variables have no menu entry, toolbar button or key of
    // their own: the command screen carries them.
    QPushButton* tuning = add_button(cmd::kTuningVariables, "Tuning Variables");
    const QStringList prompt = command_prompt(cmd::kTuningVariables).split('\n');
    tuning->setStatusTip(prompt.value(0));
    tuning->setToolTip(prompt.value(1));
    grid->addWidget(tuning, 3, 0, 1, 2);
    UpdateButtons(false);
}

QPushButton* CCmdView::add_button(int id, const QString& text) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::number(id));
    button->setMinimumSize(130, 32);
    connect(button, &QPushButton::clicked, this, [this, id] { emit command(id); });
    buttons_[id] = button;
    return button;
}

QPushButton* CCmdView::button(int id) const {
    const auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second;
}

void CCmdView::UpdateButtons(bool linked) {
    const CommandButtonStates states = command_button_states(linked);
    button(cmd::kConnect)
        ->setText(QString::fromLatin1(states.connect_text.data(), static_cast<qsizetype>(states.connect_text.size())));
    button(cmd::kDescribeCar)->setEnabled(states.describe_car);
    button(cmd::kCollectData)->setEnabled(states.collect_data);
    button(cmd::kDrb2)->setEnabled(states.drb2);
    button(cmd::kReviewData)->setEnabled(states.review_data);
}

CCommandFrame::CCommandFrame(QWidget* parent) : CMainFrame(parent) {
    setWindowTitle(kCommandScreenCaption);
    setObjectName("commandScreen");
    use_window_style(*this);
    view_ = new CCmdView(this);
    setCentralWidget(view_);
    connect(view_, &CCmdView::command, this, &CMainFrame::command);
    create_status_bar(false, true);
    statusBar()->setSizeGripEnabled(false);
    start_rate_timer();
    // Not resizable, no maximise box: the form decides the size.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    adjustSize();
    setFixedSize(sizeHint());
}

}  // namespace korv::boxlogger
