#pragma once
// Fonts and disabled-text colours of the fixed-layout windows. Their sizes
// and positions were laid out for the original's fonts, whose sizes count
// pixels (a 12-point font of its 72-dpi world is 12 pixels high); with the
// desktop's font and DPI, texts were cut.
#include <QColor>
#include <QFont>

class QWidget;

namespace korv {

// The pixel size a window uses when its own description gives none.
inline constexpr int kWindowFontPixels = 12;

// DejaVu Sans at the given pixel size: the font every machine the suite is
// installed on has (fonts-dejavu-core), so a text measured offscreen in a
// test measures the same on the user's screen.
QFont window_font(int pixels = kWindowFontPixels, bool bold = false);

// Disabled text: visibly greyer than enabled black, yet dark enough to read
// on the window grey, on white fields and on the light desktop grey.
QColor disabled_text_colour();

// The disabled-text colour for a control painted in a colour of its own
// (the red and green toggle buttons, the editors' map cells): the grey above
// where it stands out enough from that colour, else the lightest darker grey
// that does, else (on a dark colour) the darkest lighter one.
QColor disabled_text_on(const QColor& background);

// Black or white, whichever reads better on a control's own colour (the
// editors' map cells in their highlight colours).
QColor text_colour_on(const QColor& background);

// Gives a window its font and readable disabled texts; children inherit both.
void use_window_style(QWidget& window, int pixels = kWindowFontPixels);

// Only the disabled-text colours, for a widget whose font is set elsewhere.
void use_readable_disabled_text(QWidget& widget);

// Fills a dialog with a grey of its own (lighter than the window grey of
// grey_window.h), its disabled texts still reading on it.
void paint_dialog_grey(QWidget& dialog, const QColor& grey);

}  // namespace korv
