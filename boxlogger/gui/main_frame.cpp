#include "boxlogger/gui/main_frame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include "boxlogger/core/command_table.h"
#include "boxlogger/gui/printer_icon.h"

namespace korv::boxlogger {

QString command_prompt(int id) {
    const std::string_view prompt = command_prompt_text(id);
    return QString::fromLatin1(prompt.data(), static_cast<qsizetype>(prompt.size()));
}

namespace {

QIcon standard_icon(int id) {
    QStyle* style = QApplication::style();
    switch (id) {
    case cmd::kFileNew: return style->standardIcon(QStyle::SP_FileIcon);
    case cmd::kFileOpen: return style->standardIcon(QStyle::SP_DialogOpenButton);
    case cmd::kFileSave: return style->standardIcon(QStyle::SP_DialogSaveButton);
    case cmd::kStop: return style->standardIcon(QStyle::SP_MediaStop);
    case cmd::kPause: return style->standardIcon(QStyle::SP_MediaPause);
    case cmd::kStart: return style->standardIcon(QStyle::SP_MediaPlay);
    case cmd::kFilePrint: return printer_icon();
    case cmd::kAppAbout: return style->standardIcon(QStyle::SP_MessageBoxInformation);
    case cmd::kContextHelp: return style->standardIcon(QStyle::SP_TitleBarContextHelpButton);
    default: return {};
    }
}

}  // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QApplication::windowIcon());
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::make_command(int id, const QString& text, const QKeySequence& shortcut) {
    auto* action = new QAction(text, this);
    action->setData(id);
    const QString prompt = command_prompt(id);
    const qsizetype cut = prompt.indexOf('\n');
    action->setStatusTip(cut < 0 ? prompt : prompt.left(cut));
    if (cut >= 0) action->setToolTip(prompt.mid(cut + 1));
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    connect(action, &QAction::triggered, this, [this, id] { emit command(id); });
    actions_[id] = action;
    addAction(action);  // its shortcut works with the menu closed
    return action;
}

QAction* CMainFrame::add_command(QMenu* menu, int id, const QString& text, const QKeySequence& shortcut) {
    QAction* action = actions_.count(id) ? actions_[id] : make_command(id, text, shortcut);
    menu->addAction(action);
    return action;
}

void CMainFrame::add_tool_button(QToolBar* bar, int id) {
    QAction* action = this->action(id);
    if (action == nullptr) return;
    if (action->icon().isNull()) action->setIcon(standard_icon(id));
    bar->addAction(action);
}

void CMainFrame::create_status_bar(bool value_pane, bool rate_pane) {
    QStatusBar* bar = statusBar();
    if (value_pane) {
        auto* value = new QLabel("0000.0000 degrees", bar);
        value->setObjectName(QString::number(cmd::kPaneValue));
        value->setMinimumWidth(value->sizeHint().width());
        bar->addPermanentWidget(value);
        panes_[cmd::kPaneValue] = value;
    }
    if (rate_pane) {
        auto* rate = new QLabel("Link Down", bar);
        rate->setObjectName(QString::number(cmd::kPaneRate));
        rate->setMinimumWidth(rate->fontMetrics().horizontalAdvance("Rate: 0000/s") + 8);
        bar->addPermanentWidget(rate);
        panes_[cmd::kPaneRate] = rate;
    }
}

void CMainFrame::start_rate_timer() {
    rate_timer_ = new QTimer(this);
    rate_timer_->setObjectName("rateTimer");
    connect(rate_timer_, &QTimer::timeout, this, &CMainFrame::SetStatusRate);
    rate_timer_->start(1000);
}

void CMainFrame::create_quick_select_bar(QToolBar* beside) {
    quick_select_bar_ = new QToolBar("Quick Selects", this);
    quick_select_bar_->setObjectName("103");
    for (int i = 0; i < 5; ++i) {
        auto* button = new QPushButton(quick_select_bar_);
        button->setObjectName(QString::number(cmd::kQuickSelect1 + i));
        button->setFocusPolicy(Qt::NoFocus);
        const int id = cmd::kQuickSelect1 + i;
        connect(button, &QPushButton::clicked, this, [this, id] { emit command(id); });
        quick_select_bar_->addWidget(button);
        quick_select_buttons_[static_cast<std::size_t>(i)] = button;
    }
    // On the toolbar's row, right of it.
    addToolBar(beside != nullptr ? toolBarArea(beside) : Qt::TopToolBarArea, quick_select_bar_);
}

void CMainFrame::keep_minimum_size() { setMinimumSize(400, 250); }

QAction* CMainFrame::action(int id) const {
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

QLabel* CMainFrame::pane(int id) const {
    const auto it = panes_.find(id);
    return it == panes_.end() ? nullptr : it->second;
}

QPushButton* CMainFrame::quick_select_button(int set_index) const {
    if (set_index < 0 || set_index >= 5) return nullptr;
    return quick_select_buttons_[static_cast<std::size_t>(set_index)];
}

void CMainFrame::SetStatusRate() {
    if (QLabel* rate = pane(cmd::kPaneRate); rate != nullptr && rate_text_)
        rate->setText(QString::fromStdString(rate_text_()));
}

void CMainFrame::SetPaneText(const QString& text) {
    if (QLabel* value = pane(cmd::kPaneValue)) value->setText(text);
}

void CMainFrame::SetStatusNote(const QString& text) {
    if (status_note_ == nullptr) {
        status_note_ = new QLabel(statusBar());
        status_note_->setObjectName("statusNote");
        statusBar()->addWidget(status_note_, 1);
    }
    status_note_->setText(text);
    status_note_->setVisible(!text.isEmpty());
}

QString CMainFrame::status_note() const { return status_note_ != nullptr ? status_note_->text() : QString(); }

QMenu* CMainFrame::find_menu(const QString& title) const {
    for (QAction* top : menuBar()->actions())
        if (top->menu() != nullptr && top->text() == title) return top->menu();
    return nullptr;
}

void CMainFrame::UpdateQuickSelectMenus() {
    if (quick_select_bar_ == nullptr || !quick_selects_) return;
    const QuickSelectEntries entries = quick_selects_();
    for (int i = 0; i < 5; ++i) {
        quick_select_buttons_[static_cast<std::size_t>(i)]->setText(entries[static_cast<std::size_t>(i)].name);
        quick_select_buttons_[static_cast<std::size_t>(i)]->setEnabled(entries[static_cast<std::size_t>(i)].enabled);
    }
    QMenu* data = find_menu("&Data");
    if (data == nullptr) return;
    QMenu* sets = nullptr;
    for (QAction* item : data->actions())
        if (item->menu() != nullptr && item->text() == "&Quick Selects") sets = item->menu();
    if (sets == nullptr) return;
    const QList<QAction*> items = sets->actions();
    for (int i = 0; i < items.size() && i < 5; ++i) {
        items[i]->setText(entries[static_cast<std::size_t>(i)].name);
        items[i]->setData(cmd::kQuickSelect1 + i);
        items[i]->setEnabled(entries[static_cast<std::size_t>(i)].enabled);
    }
}

void CMainFrame::OnToggleQuickSelectBar() {
    if (quick_select_bar_ == nullptr) return;
    quick_select_bar_->setVisible(quick_select_bar_->isHidden());
    UpdateCommandUI();
}

void CMainFrame::UpdateCommandUI() {
    for (const auto& [id, action] : actions_) {
        if (id == cmd::kToggleQuickSelectBar) {
            action->setCheckable(true);
            action->setChecked(quick_select_bar_ != nullptr && !quick_select_bar_->isHidden());
            continue;
        }
        if (id >= cmd::kQuickSelect1 && id < cmd::kQuickSelect1 + 5) continue;  // from the sets
        if (!command_state_) continue;
        const CommandState state = command_state_(id);
        action->setEnabled(state.enabled);
        if (state.checked != action->isChecked()) {
            action->setCheckable(state.checked || action->isCheckable());
            action->setChecked(state.checked);
        }
    }
}

// A placement's rectangle is the outer one, title bar and borders included,
// so that restoring it puts the window back where it was.
WindowPlacement CMainFrame::CurrentPlacement() const {
    WindowPlacement p;
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    QRect normal = isMaximized() || isMinimized() ? normalGeometry() : client;
    normal.adjust(frame.left() - client.left(), frame.top() - client.top(), frame.right() - client.right(),
                  frame.bottom() - client.bottom());
    p.left = normal.left();
    p.top = normal.top();
    p.right = normal.left() + normal.width();
    p.bottom = normal.top() + normal.height();
    if (isMaximized()) {
        p.show = WindowPlacement::kShowMaximized;
        p.flags |= WindowPlacement::kRestoreToMaximized;
    } else if (isMinimized()) {
        p.show = WindowPlacement::kShowMinimized;
    }
    return p;
}

void CMainFrame::ApplyPlacement(const WindowPlacement& saved, bool position_only) {
    if (!saved.valid()) return;
    std::vector<ScreenRect> screens;
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect r = screen->availableGeometry();
        screens.push_back({r.left(), r.top(), r.width(), r.height()});
    }
    const QSize border = frameGeometry().size() - geometry().size();
    WindowPlacement p = saved;
    if (position_only) {
        p.right = p.left + frameGeometry().width();
        p.bottom = p.top + frameGeometry().height();
    }
    p = place_on_screens(p, screens);
    move(p.left, p.top);
    if (position_only) return;
    resize(std::max(p.width() - border.width(), minimumWidth()),
           std::max(p.height() - border.height(), minimumHeight()));
    if (p.show == WindowPlacement::kShowMaximized) setWindowState(windowState() | Qt::WindowMaximized);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (can_close && !can_close()) {
        event->ignore();
        return;
    }
    if (placement_slot_ != nullptr) *placement_slot_ = CurrentPlacement();
    emit closing(this);
    QMainWindow::closeEvent(event);
}

void CMainFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) emit frame_activated(this);
    QMainWindow::changeEvent(event);
}

}  // namespace korv::boxlogger
