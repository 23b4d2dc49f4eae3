#include "common/gui/window_place.h"

#include "common/core/window_place.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QWidget>

namespace korv {

namespace {

constexpr const char* kPlaced = "korv_window_placed";

ScreenRect rect_of(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

// What a person reads or works in the owner: its buttons, boxes, sliders,
// fields, text panes and labels.
bool is_control(const QWidget& w) {
    return qobject_cast<const QAbstractButton*>(&w) || qobject_cast<const QAbstractSlider*>(&w) ||
           qobject_cast<const QLineEdit*>(&w) || qobject_cast<const QAbstractScrollArea*>(&w) ||
           qobject_cast<const QComboBox*>(&w) || qobject_cast<const QAbstractSpinBox*>(&w) ||
           qobject_cast<const QLabel*>(&w);
}

void add_controls(const QWidget& window, std::vector<ScreenRect>& controls) {
    for (const QWidget* child : window.findChildren<QWidget*>()) {
        // A dialog the window holds is a window of its own, with its controls.
        if (child->window() != &window || !child->isVisibleTo(&window) || !is_control(*child)) continue;
        controls.push_back(rect_of(QRect(child->mapToGlobal(QPoint(0, 0)), child->size())));
    }
}

WindowScene scene_of(const QWidget& window, const QWidget& owner) {
    WindowScene scene;
    const QScreen* screen = owner.screen() ? owner.screen() : QGuiApplication::primaryScreen();
    if (screen) scene.screen = rect_of(screen->availableGeometry());
    scene.owner = rect_of(owner.frameGeometry());
    add_controls(owner, scene.controls);
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other == &window || other == &owner || !other->isVisible()) continue;
        if (other->windowType() == Qt::Popup || other->windowType() == Qt::ToolTip) continue;
        scene.others.push_back(rect_of(other->frameGeometry()));
        add_controls(*other, scene.other_controls);
    }
    return scene;
}

}  // namespace

bool has_own_place(const QWidget& window) {
    return window.property(kPlaced).toBool() || window.testAttribute(Qt::WA_Moved);
}

void place_for_first_show(QWidget& window, const QWidget* owner, std::optional<QPoint> given) {
    if (has_own_place(window)) return;
    window.setProperty(kPlaced, true);
    if (!owner || !owner->isVisible()) {
        if (given) window.move(*given);
        return;
    }
    // Not shown yet, the window has no frame: it gets the owner's.
    const QSize frame = window.testAttribute(Qt::WA_WState_Created)
                            ? window.frameGeometry().size()
                            : window.size() + (owner->frameGeometry().size() - owner->size());
    std::optional<ScreenPoint> wanted;
    if (given) wanted = ScreenPoint{given->x(), given->y()};
    const ScreenPoint at = place_window(scene_of(window, *owner), frame.width(), frame.height(), wanted);
    window.move(at.x, at.y);
}

}  // namespace korv
