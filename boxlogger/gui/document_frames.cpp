#include "boxlogger/gui/document_frames.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "boxlogger/gui/command_ids.h"

namespace korv::boxlogger {

namespace {

void build_chart_menu(CMainFrame& frame, QMenu* chart,
                      const std::function<QAction*(QMenu*, int, const QString&, const QKeySequence&)>& add) {
    QMenu* title = chart->addMenu("T&itle");
    add(title, cmd::kTitleChange, "Change", {});
    QMenu* axis = chart->addMenu("&Time Axis");
    add(axis, cmd::kTimeScaling, "&Scaling...", {});
    add(axis, cmd::kShrink, "S&hrink", QKeySequence(Qt::CTRL | Qt::Key_Left));
    add(axis, cmd::kExpand, "E&xpand", QKeySequence(Qt::CTRL | Qt::Key_Right));
    add(axis, cmd::kForward, "&Forward", QKeySequence(Qt::Key_Right));
    add(axis, cmd::kBack, "&Back", QKeySequence(Qt::Key_Left));
    (void)frame;
}

// An idle refresh of the toolbar's states, as the framework's idle time did.
void refresh_while_shown(CMainFrame& frame) {
    auto* timer = new QTimer(&frame);
    timer->setObjectName("commandUiTimer");
    QObject::connect(timer, &QTimer::timeout, &frame, [&frame] { frame.UpdateCommandUI(); });
    timer->start(250);
}

}  // namespace

void refresh_on_menu_open(CMainFrame& frame) {
    for (QMenu* menu : frame.menuBar()->findChildren<QMenu*>()) {
        QObject::connect(menu, &QMenu::aboutToShow, &frame, [&frame] {
            frame.UpdateQuickSelectMenus();
            frame.UpdateCommandUI();
        });
    }
}

CCaptureFrame::CCaptureFrame(QWidget* view, QWidget* parent) : CMainFrame(parent) {
    setObjectName("captureWindow");
    const auto add = [this](QMenu* menu, int id, const QString& text, const QKeySequence& key) {
        return add_command(menu, id, text, key);
    };
    QMenu* file = menuBar()->addMenu("&File");
    add(file, cmd::kFileNew, "&New", QKeySequence(Qt::CTRL | Qt::Key_N));
    add(file, cmd::kFileSave, "&Save", QKeySequence(Qt::CTRL | Qt::Key_S));
    add(file, cmd::kFileSaveAs, "Save &As...", {});
    add(file, cmd::kExportCsv, "E&xport to CSV...", {});
    add(file, cmd::kExportImage, "Export &Image...", {});
    file->addSeparator();
    add(file, cmd::kFilePrint, "&Print...", QKeySequence(Qt::CTRL | Qt::Key_P));
    add(file, cmd::kFilePrintPreview, "Print Pre&view", {});
    add(file, cmd::kFilePrintSetup, "P&rint Setup...", {});
    file->addSeparator();
    add(file, cmd::kFileSend, "Sen&d...", {});
    file->addSeparator();
    add(file, cmd::kFileClose, "&Close", {});

    QMenu* view_menu = menuBar()->addMenu("&View");
    add(view_menu, cmd::kViewToolbar, "&Toolbar", {})->setCheckable(true);
    add(view_menu, cmd::kViewStatusBar, "&Status Bar", {})->setCheckable(true);
    add(view_menu, cmd::kToggleQuickSelectBar, "&Quick Selects", {})->setCheckable(true);
    add(view_menu, cmd::kViewPreferences, "&Preferences", {});

    QMenu* data = menuBar()->addMenu("&Data");
    add(data, cmd::kSelect, "Se&lect...", {});
    add(data, cmd::kTriggers, "Tri&ggers...", {});
    QMenu* sets = data->addMenu("&Quick Selects");
    for (int i = 0; i < 5; ++i) add(sets, cmd::kQuickSelect1 + i, QString("Quick Select #%1").arg(i + 1), {});
    add(data, cmd::kClear, "&Clear", {});
    data->addSeparator();
    add(data, cmd::kStop, "S&top", QKeySequence(Qt::ALT | Qt::Key_Space));
    add(data, cmd::kStart, "&Start", QKeySequence(Qt::Key_Space));
    add(data, cmd::kPause, "&Pause", {});

    build_chart_menu(*this, menuBar()->addMenu("&Chart"), add);
    build_help_menu();

    tool_bar_ = addToolBar("Toolbar");
    tool_bar_->setObjectName("131");
    add_tool_button(tool_bar_, cmd::kFileNew);
    add_tool_button(tool_bar_, cmd::kFileSave);
    tool_bar_->addSeparator();
    add_tool_button(tool_bar_, cmd::kStop);
    add_tool_button(tool_bar_, cmd::kPause);
    add_tool_button(tool_bar_, cmd::kStart);
    tool_bar_->addSeparator();
    add_tool_button(tool_bar_, cmd::kFilePrint);
    add_tool_button(tool_bar_, cmd::kAppAbout);
    add_tool_button(tool_bar_, cmd::kContextHelp);

    create_status_bar(true, true);
    start_rate_timer();
    create_quick_select_bar(tool_bar_);
    UpdateQuickSelectMenus();
    SetPaneText(QString());
    if (view != nullptr) setCentralWidget(view);
    keep_minimum_size();
    resize(640, 480);
    refresh_on_menu_open(*this);
    refresh_while_shown(*this);
    connect(action(cmd::kViewToolbar), &QAction::triggered, this,
            [this] { tool_bar_->setVisible(tool_bar_->isHidden()); });
    connect(action(cmd::kViewStatusBar), &QAction::triggered, this,
            [this] { statusBar()->setVisible(statusBar()->isHidden()); });
    connect(action(cmd::kToggleQuickSelectBar), &QAction::triggered, this, &CMainFrame::OnToggleQuickSelectBar);
}

CDisplayFrame::CDisplayFrame(QWidget* view, QWidget* parent) : CMainFrame(parent) {
    setObjectName("reviewWindow");
    const auto add = [this](QMenu* menu, int id, const QString& text, const QKeySequence& key) {
        return add_command(menu, id, text, key);
    };
    QMenu* file = menuBar()->addMenu("&File");
    add(file, cmd::kFileOpen, "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O));
    add(file, cmd::kFileSave, "&Save", QKeySequence(Qt::CTRL | Qt::Key_S));
    add(file, cmd::kFileSaveAs, "Save &As...", {});
    add(file, cmd::kExportCsv, "E&xport to CSV...", {});
    add(file, cmd::kExportImage, "Export &Image...", {});
    file->addSeparator();
    add(file, cmd::kFilePrint, "&Print...", QKeySequence(Qt::CTRL | Qt::Key_P));
    add(file, cmd::kFilePrintPreview, "Print Pre&view", {});
    add(file, cmd::kFilePrintSetup, "P&rint Setup...", {});
    file->addSeparator();
    add(file, cmd::kFileSend, "Sen&d...", {});
    QAction* recent_start = file->addSeparator();
    recent_start->setObjectName("recentFiles");
    for (int i = 0; i < cmd::kRecentFiles; ++i) add(file, cmd::kFileRecent1 + i, QString(), {})->setVisible(false);
    file->addSeparator();
    add(file, cmd::kFileClose, "&Close", {});

    QMenu* view_menu = menuBar()->addMenu("&View");
    add(view_menu, cmd::kViewToolbar, "&Toolbar", {})->setCheckable(true);
    add(view_menu, cmd::kToggleQuickSelectBar, "&Quick Selects", {})->setCheckable(true);
    add(view_menu, cmd::kViewPreferences, "&Preferences", {});

    build_chart_menu(*this, menuBar()->addMenu("&Chart"), add);
    build_help_menu();

    tool_bar_ = addToolBar("Toolbar");
    tool_bar_->setObjectName("129");
    add_tool_button(tool_bar_, cmd::kFileOpen);
    add_tool_button(tool_bar_, cmd::kFileSave);
    tool_bar_->addSeparator();
    add_tool_button(tool_bar_, cmd::kFilePrint);
    add_tool_button(tool_bar_, cmd::kAppAbout);
    add_tool_button(tool_bar_, cmd::kContextHelp);

    create_status_bar(true, false);
    SetPaneText(QString());
    if (view != nullptr) setCentralWidget(view);
    keep_minimum_size();
    resize(640, 480);
    refresh_on_menu_open(*this);
    refresh_while_shown(*this);
    connect(action(cmd::kViewToolbar), &QAction::triggered, this,
            [this] { tool_bar_->setVisible(tool_bar_->isHidden()); });
}

void CDisplayFrame::SetRecentFiles(const QStringList& paths) {
    recent_ = paths;
    for (int i = 0; i < cmd::kRecentFiles; ++i) {
        QAction* item = action(cmd::kFileRecent1 + i);
        if (i < paths.size()) {
            item->setText(QString("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(paths[i])));
            item->setVisible(true);
        } else {
            item->setVisible(false);
        }
    }
}

}  // namespace korv::boxlogger
