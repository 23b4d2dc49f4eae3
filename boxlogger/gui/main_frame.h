#pragma once
// The frames' common ground: commands by id with their prompts and tool
// tips, the status panes and the rate timer, the quick-select bar and menu,
// and the window's placement.
#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <map>
#include <string>

#include "boxlogger/core/app_settings.h"
#include "boxlogger/core/command_state.h"

class QLabel;
class QMenu;
class QPushButton;
class QTimer;
class QToolBar;

namespace korv::boxlogger {

struct QuickSelectEntry {
    QString name;
    bool enabled = true;
};
using QuickSelectEntries = std::array<QuickSelectEntry, 5>;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    using RateText = std::function<std::string()>;
    using QuickSelectSource = std::function<QuickSelectEntries()>;
    using StateSource = std::function<CommandState(int id)>;

    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    void set_rate_text(RateText source) { rate_text_ = std::move(source); }
    void set_quick_selects(QuickSelectSource source) { quick_selects_ = std::move(source); }
    void set_command_state(StateSource source) { command_state_ = std::move(source); }
    // Where the frame keeps its placement when it closes.
    void set_placement_slot(WindowPlacement* slot) { placement_slot_ = slot; }

    // Pane 59142: "Rate: n/s" or "Link Down".
    void SetStatusRate();
    // Pane 59143, the chart read-out, when the frame has it.
    void SetPaneText(const QString& text);
    // A lasting note in the message pane (a prompt covers it only while
    // shown); empty removes it.
    void SetStatusNote(const QString& text);
    QString status_note() const;
    // The bar's buttons and the "&Data" > "&Quick Selects" entries from the
    // five sets; a frame without the bar does nothing.
    void UpdateQuickSelectMenus();
    void OnToggleQuickSelectBar();
    // Enables and checks every command from the state source.
    void UpdateCommandUI();

    QAction* action(int id) const;
    QLabel* pane(int id) const;
    QToolBar* quick_select_bar() const { return quick_select_bar_; }
    QPushButton* quick_select_button(int set_index) const;
    QMenu* find_menu(const QString& title) const;

    // Asked before the frame closes: false keeps it open.
    std::function<bool()> can_close;

    WindowPlacement CurrentPlacement() const;
    // The saved placement, moved onto a screen; nothing when invalid.
    void ApplyPlacement(const WindowPlacement& placement, bool position_only);

signals:
    void command(int id);
    void closing(CMainFrame* frame);
    void frame_activated(CMainFrame* frame);

protected:
    QAction* add_command(QMenu* menu, int id, const QString& text, const QKeySequence& shortcut = {});
    QAction* make_command(int id, const QString& text, const QKeySequence& shortcut = {});
    void add_tool_button(QToolBar* bar, int id);
    void create_status_bar(bool value_pane, bool rate_pane);
    void start_rate_timer();
    void create_quick_select_bar(QToolBar* beside);
    void keep_minimum_size();

    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::map<int, QAction*> actions_;
    std::map<int, QLabel*> panes_;
    RateText rate_text_;
    QuickSelectSource quick_selects_;
    StateSource command_state_;
    WindowPlacement* placement_slot_ = nullptr;
    QTimer* rate_timer_ = nullptr;
    QLabel* status_note_ = nullptr;
    QToolBar* quick_select_bar_ = nullptr;
    std::array<QPushButton*, 5> quick_select_buttons_{};
};

// The prompt and tool tip of a command ("prompt\ntip").
QString command_prompt(int id);

}  // namespace korv::boxlogger
