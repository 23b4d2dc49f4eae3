#pragma once
// The capture window (one at most) and the review windows (one per file):
// their menus, toolbars, accelerators and panes. The view inside is given.
#include <QStringList>

#include "boxlogger/core/frame_menus.h"
#include "boxlogger/gui/main_frame.h"

namespace korv::boxlogger {

// What the capture and review windows share: menus and toolbar built from
// the one table, the view and the window's sizes.
class CDocumentFrame : public CMainFrame {
    Q_OBJECT
public:
    QToolBar* tool_bar() const { return tool_bar_; }

protected:
    CDocumentFrame(FrameKind kind, QWidget* parent);
    // Sets the view, the sizes and the refreshes once the panes are made.
    void finish_layout(QWidget* view);

    QToolBar* tool_bar_ = nullptr;
};

class CCaptureFrame : public CDocumentFrame {
    Q_OBJECT
public:
    explicit CCaptureFrame(QWidget* view, QWidget* parent = nullptr);
    // The size it opens at without a saved placement: wide enough for the
    // toolbar and the five quick selects beside it, as they read now.
    void SizeToToolBarRow();
};

class CDisplayFrame : public CDocumentFrame {
    Q_OBJECT
public:
    explicit CDisplayFrame(QWidget* view, QWidget* parent = nullptr);

    // The six recent files, newest first, as the "&File" menu shows them.
    void SetRecentFiles(const QStringList& paths);
    QStringList recent_files() const { return recent_; }

private:
    QStringList recent_;
};

// Refreshes a frame's menu entries and toolbar each time one of its menus
// opens, as the frames do on menu initialisation.
void refresh_on_menu_open(CMainFrame& frame);

}  // namespace korv::boxlogger
