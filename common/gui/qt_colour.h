#pragma once
// A `Colour` as Qt's QColor and back, for every widget that paints a colour
// worked out in core or kept in a file. Both colours are opaque red, green
// and blue bytes; a QColor's alpha is dropped on the way back.
#include "common/core/colour.h"

#include <QColor>

namespace korv {

inline QColor to_qcolor(Colour colour) { return QColor(colour.r, colour.g, colour.b); }

inline Colour to_colour(const QColor& colour) {
    return Colour{static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
                  static_cast<std::uint8_t>(colour.blue())};
}

}  // namespace korv
