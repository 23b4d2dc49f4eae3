#pragma once
// The grey (204, 204, 204) that every fixed-layout window of the player and
// the logger is painted with.
#include <QColor>

class QWidget;

namespace korv {

QColor window_grey();
// Fills the widget's background with the window grey.
void paint_window_grey(QWidget& window);

}  // namespace korv
