#pragma once
// Mouse events sent straight to a widget, with the left button held between
// press and release as a real drag has it.
#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace korv::plot3d::test {

inline void mouse(QWidget& w, QEvent::Type type, QPoint at) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(at), w.mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}
inline void press(QWidget& w, QPoint at) { mouse(w, QEvent::MouseButtonPress, at); }
inline void drag(QWidget& w, QPoint at) { mouse(w, QEvent::MouseMove, at); }
inline void release(QWidget& w, QPoint at) { mouse(w, QEvent::MouseButtonRelease, at); }

}  // namespace korv::plot3d::test
