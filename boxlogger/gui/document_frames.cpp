#include "boxlogger/gui/document_frames.h"

#include <QDir>
#include <QFileInfo>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

#include "boxlogger/core/command_table.h"
#include "boxlogger/core/quick_select.h"

namespace korv::boxlogger {

namespace {

QString text_of(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

QKeySequence key_of(std::string_view shortcut) { return QKeySequence(text_of(shortcut), QKeySequence::PortableText); }

constexpr QSize kOpeningSize(640, 480);
// The space a toolbar row keeps beyond its bars' own widths.
constexpr int kRowSlack = 16;

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

CDocumentFrame::CDocumentFrame(FrameKind kind, QWidget* parent) : CMainFrame(parent) {
    QMenu* menu = nullptr;
    QMenu* submenu = nullptr;
    const auto into = [&] { return submenu != nullptr ? submenu : menu; };
    for (const MenuRow& row : frame_menu_rows()) {
        if ((row.frames & kind) == 0) continue;
        switch (row.kind) {
        case MenuRowKind::Menu:
            menu = menuBar()->addMenu(text_of(row.text));
            submenu = nullptr;
            break;
        case MenuRowKind::Submenu: submenu = menu->addMenu(text_of(row.text)); break;
        case MenuRowKind::EndSubmenu: submenu = nullptr; break;
        case MenuRowKind::Command:
            if (QAction* action = add_command(into(), row.id, text_of(row.text), key_of(row.shortcut)); row.checkable)
                action->setCheckable(true);
            break;
        case MenuRowKind::Separator: into()->addSeparator(); break;
        case MenuRowKind::QuickSelects:
            for (int i = 0; i < CQuickSelect::kSets; ++i)
                add_command(into(), cmd::kQuickSelect1 + i, QString("Quick Select #%1").arg(i + 1));
            break;
        case MenuRowKind::RecentFiles:
            into()->addSeparator()->setObjectName("recentFiles");
            for (int i = 0; i < cmd::kRecentFiles; ++i)
                add_command(into(), cmd::kFileRecent1 + i, QString())->setVisible(false);
            break;
        case MenuRowKind::KeyOnly: make_command(row.id, text_of(row.text), key_of(row.shortcut)); break;
        }
    }

    tool_bar_ = addToolBar("Toolbar");
    tool_bar_->setObjectName(kind == kCaptureFrame ? "131" : "129");
    for (const ToolbarRow& row : frame_toolbar_rows()) {
        if ((row.frames & kind) == 0) continue;
        if (row.id == 0)
            tool_bar_->addSeparator();
        else
            add_tool_button(tool_bar_, row.id);
    }
}

void CDocumentFrame::finish_layout(QWidget* view) {
    SetPaneText(QString());
    if (view != nullptr) setCentralWidget(view);
    keep_minimum_size();
    resize(kOpeningSize);
    refresh_on_menu_open(*this);
    refresh_while_shown(*this);
    connect(action(cmd::kViewToolbar), &QAction::triggered, this,
            [this] { tool_bar_->setVisible(tool_bar_->isHidden()); });
}

CCaptureFrame::CCaptureFrame(QWidget* view, QWidget* parent) : CDocumentFrame(kCaptureFrame, parent) {
    setObjectName("captureWindow");
    create_status_bar(true, true);
    start_rate_timer();
    create_quick_select_bar(tool_bar_);
    UpdateQuickSelectMenus();
    finish_layout(view);
    SizeToToolBarRow();
    connect(action(cmd::kViewStatusBar), &QAction::triggered, this,
            [this] { statusBar()->setVisible(statusBar()->isHidden()); });
    connect(action(cmd::kToggleQuickSelectBar), &QAction::triggered, this, &CMainFrame::OnToggleQuickSelectBar);
}

void CCaptureFrame::SizeToToolBarRow() {
    ensurePolished();
    // The buttons' new texts reach the bars' layouts only with the next
    // layout pass; measure them now.
    tool_bar_->layout()->invalidate();
    quick_select_bar()->layout()->invalidate();
    // Both bars share the top row; each keeps its handle and margins.
    const int row = tool_bar_->sizeHint().width() + quick_select_bar()->sizeHint().width();
    resize(std::max(kOpeningSize.width(), row + kRowSlack), kOpeningSize.height());
}

CDisplayFrame::CDisplayFrame(QWidget* view, QWidget* parent) : CDocumentFrame(kReviewFrame, parent) {
    setObjectName("reviewWindow");
    create_status_bar(true, false);
    finish_layout(view);
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
