#pragma once
// The command screen: the program's main window, a fixed form of five
// buttons over a status bar whose pane shows the link's rate.
#include <QWidget>

#include "boxlogger/gui/main_frame.h"

class QPushButton;

namespace korv::boxlogger {

class CCmdView : public QWidget {
    Q_OBJECT
public:
    explicit CCmdView(QWidget* parent = nullptr);

    // Texts and states for linked or not.
    void UpdateButtons(bool linked);
    QPushButton* button(int id) const;

signals:
    void command(int id);

private:
    QPushButton* add_button(int id, const QString& text);
    std::map<int, QPushButton*> buttons_;
};

class CCommandFrame : public CMainFrame {
    Q_OBJECT
public:
    explicit CCommandFrame(QWidget* parent = nullptr);
    CCmdView* view() const { return view_; }

private:
    CCmdView* view_ = nullptr;
};

}  // namespace korv::boxlogger
