#pragma once
// The toolbar's Print button: the desktop theme's printer when there is
// one, else a printer drawn here (the style offers none).
#include <QIcon>

namespace korv::boxlogger {

QIcon printer_icon();

}  // namespace korv::boxlogger
