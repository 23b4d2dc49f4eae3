#pragma once
// Checks of where windows open: what of another window's controls a
// window's frame covers, and whether it lies on the screen. For GUI tests
// only (needs Qt Widgets).
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include <string>

namespace korv::testsupport {

// The controls of `owner` (buttons, boxes, sliders, fields, text panes,
// labels) that a window frame at `frame` covers, by name; empty when none.
inline std::string controls_covered(const QWidget& owner, const QRect& frame) {
    std::string covered;
    for (const QWidget* w : owner.findChildren<QWidget*>()) {
        if (w->window() != &owner || !w->isVisibleTo(&owner)) continue;
        if (!qobject_cast<const QAbstractButton*>(w) && !qobject_cast<const QAbstractSlider*>(w) &&
            !qobject_cast<const QLineEdit*>(w) && !qobject_cast<const QAbstractScrollArea*>(w) &&
            !qobject_cast<const QComboBox*>(w) && !qobject_cast<const QLabel*>(w)) {
            continue;
        }
        const QRect at(w->mapToGlobal(QPoint(0, 0)), w->size());
        if (!frame.intersects(at)) continue;
        const QString name =
            w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
        covered += (covered.empty() ? "" : ", ") + name.toStdString();
    }
    return covered;
}

// Whether the window's frame lies within its screen's free area.
inline bool on_screen(const QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen && screen->availableGeometry().contains(window.frameGeometry());
}

}  // namespace korv::testsupport
