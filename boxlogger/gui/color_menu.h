#pragma once
// The 16-colour popup: each entry a swatch and its name, command ids
// cmd::kColourFirst to cmd::kColourLast.
#include <QMenu>
#include <cstdint>

#include "boxlogger/core/command_table.h"

namespace korv::boxlogger {

class CColorMenu : public QMenu {
    Q_OBJECT
public:
    explicit CColorMenu(QWidget* parent = nullptr);

    // The colour (0x00BBGGRR) of an entry's command id; an id outside the
    // menu gives the window-text colour.
    static std::uint32_t ColorFromCommandId(int id);
    static std::uint32_t ColorFromMenuIndex(int n) { return ColorFromCommandId(cmd::kColourFirst + n); }

    // Shows the menu at a point and returns the chosen command id, or 0.
    int Track(const QPoint& global_pos);

    // The entry of a command id, for tests.
    QAction* action_for(int id) const;
};

}  // namespace korv::boxlogger
