#include "plot3d/gui/image_button.h"

#include "plot3d/gui/widget_clients.h"

namespace korv::plot3d {

ImageButton::ImageButton(const QImage& picture, int x, int y, int width, int height, const QString& info,
                         const QString& text, ButtonClient* client, InfoLine* infoline, QWidget* parent)
    : PictureButton(picture, x, y, width, height, info, text, false, infoline, parent), client_(client) {}

void ImageButton::clicked() {
    if (client_ != nullptr) client_->onButtonClick(*this);
}

}  // namespace korv::plot3d
