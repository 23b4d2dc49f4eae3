#include "boxlogger/gui/color_menu.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmap>

#include "boxlogger/core/app_settings.h"
#include "common/core/colour.h"
#include "common/gui/qt_colour.h"

namespace korv::boxlogger {

namespace {

// A 40-pixel swatch, as wide as the original's, outlined so that white and
// the menu's own background still show.
QIcon swatch(std::uint32_t bgr, int height) {
    QPixmap pixmap(40, height);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.fillRect(QRect(0, 2, 40, height - 4), to_qcolor(colour_from_bgr(bgr)));
    painter.setPen(Qt::black);
    painter.drawRect(QRect(0, 2, 39, height - 5));
    return QIcon(pixmap);
}

}  // namespace

CColorMenu::CColorMenu(QWidget* parent) : QMenu(parent) {
    setObjectName("colorMenu");
    const int height = fontMetrics().height();
    for (int n = 0; n < kColorMenuEntries; ++n) {
        QAction* action = addAction(swatch(kColorMenu[n].bgr, height), QString::fromLatin1(kColorMenu[n].name));
        action->setData(cmd::kColourFirst + n);
    }
    setStyleSheet("QMenu { icon-size: 40px; }");
}

std::uint32_t CColorMenu::ColorFromCommandId(int id) {
    const int n = id - cmd::kColourFirst;
    if (n < 0 || n >= kColorMenuEntries) {
        return bgr_of(to_colour(QApplication::palette().color(QPalette::WindowText)));
    }
    return color_of_menu_index(n);
}

int CColorMenu::Track(const QPoint& global_pos) {
    QAction* chosen = exec(global_pos);
    return chosen != nullptr ? chosen->data().toInt() : 0;
}

QAction* CColorMenu::action_for(int id) const {
    for (QAction* action : actions())
        if (action->data().toInt() == id) return action;
    return nullptr;
}

}  // namespace korv::boxlogger
