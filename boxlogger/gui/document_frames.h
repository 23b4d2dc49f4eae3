#pragma once
// The capture window (one at most) and the review windows (one per file):
// their menus, toolbars, accelerators and panes. The view inside is given.
#include <QStringList>

#include "boxlogger/gui/main_frame.h"

namespace korv::boxlogger {

class CCaptureFrame : public CMainFrame {
    Q_OBJECT
public:
    explicit CCaptureFrame(QWidget* view, QWidget* parent = nullptr);
    QToolBar* tool_bar() const { return tool_bar_; }

private:
    QToolBar* tool_bar_ = nullptr;
};

class CDisplayFrame : public CMainFrame {
    Q_OBJECT
public:
    explicit CDisplayFrame(QWidget* view, QWidget* parent = nullptr);
    QToolBar* tool_bar() const { return tool_bar_; }

    // The six recent files, newest first, as the "&File" menu shows them.
    void SetRecentFiles(const QStringList& paths);
    QStringList recent_files() const { return recent_; }

private:
    QToolBar* tool_bar_ = nullptr;
    QStringList recent_;
};

// Refreshes a frame's menu entries and toolbar each time one of its menus
// opens, as the frames do on menu initialisation.
void refresh_on_menu_open(CMainFrame& frame);

}  // namespace korv::boxlogger
