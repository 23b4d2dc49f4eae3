#pragma once
// Dialogs whose height grows with the table's fields: their controls sit on
// a page of their own size inside a scroll area, and the dialog is never
// taller than the screen leaves room for, so every row can still be reached.
#include <QSize>

class QDialog;
class QScrollArea;
class QWidget;

namespace korv::plot3d {

// The page the dialog's controls go on; `scroll_page` puts it in place.
QWidget* new_scroll_page(QDialog& dialog, QSize size);

// Puts the page into a scroll area over the whole dialog and returns the
// dialog's size: the page's, cut to the screen's height (and widened by the
// scroll bar when cut). A dialog of fixed size shows the bar exactly when
// the page is cut; a resizable one whenever the page does not fit.
QSize scroll_page(QDialog& dialog, QWidget& page, bool resizable);

// The most height a dialog's client area may take on the dialog's screen.
int screen_room(const QDialog& dialog);

}  // namespace korv::plot3d
