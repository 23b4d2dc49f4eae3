#include "player/gui/release_slider.h"

#include <QMouseEvent>

namespace korv::player {

void ReleaseSlider::mouseReleaseEvent(QMouseEvent* event) {
    const bool handle_released = isSliderDown();  // sliderReleased covers it
    QSlider::mouseReleaseEvent(event);
    // QSlider ignores a release it did not take the press for.
    if (!handle_released && event->isAccepted()) emit releasedOffHandle();
}

}  // namespace korv::player
