#pragma once
// Placing a window before it first shows (see common/core/window_place.h):
// at the position its description gives when that leaves its owner's
// controls clear, else beside the owner, clear of the program's other
// windows and on the owner's screen. A window placed once (by this, by
// kvt.cfg's restore, or moved by the user after) is never moved again here.
#include <QPoint>

#include <optional>

class QWidget;

namespace korv {

// Call before each show; after the first one it does nothing. Without a
// shown owner the window goes to `given`, or where the desktop puts it.
void place_for_first_show(QWidget& window, const QWidget* owner, std::optional<QPoint> given = std::nullopt);

// Whether the window has a place of its own: placed here, or moved.
bool has_own_place(const QWidget& window);

}  // namespace korv
