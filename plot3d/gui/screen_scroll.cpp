#include "plot3d/gui/screen_scroll.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace korv::plot3d {

namespace {

// Left for the title bar and the frame around the client area.
constexpr int kFrameAllowance = 60;

}  // namespace

QWidget* new_scroll_page(QDialog& dialog, QSize size) {
    auto* page = new QWidget(&dialog);
    page->setObjectName("page");
    page->setFixedSize(size);
    page->setAutoFillBackground(true);
    return page;
}

int screen_room(const QDialog& dialog) {
    const QScreen* screen = dialog.screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return QWIDGETSIZE_MAX;
    return std::max(100, screen->availableGeometry().height() - kFrameAllowance);
}

QSize scroll_page(QDialog& dialog, QWidget& page, bool resizable) {
    auto* area = new QScrollArea(&dialog);
    area->setObjectName("scroll");
    area->setFrameShape(QFrame::NoFrame);
    area->viewport()->setBackgroundRole(QPalette::Window);
    area->viewport()->setAutoFillBackground(true);
    area->setWidget(&page);
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(area);

    QSize size = page.size();
    const int room = screen_room(dialog);
    const bool cut = size.height() > room;
    if (cut) {
        size.setHeight(room);
        size.rwidth() += area->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, area->verticalScrollBar());
    }
    if (!resizable) {
        // Known now, so the bars never show for a moment while the dialog settles.
        area->setVerticalScrollBarPolicy(cut ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    return size;
}

}  // namespace korv::plot3d
