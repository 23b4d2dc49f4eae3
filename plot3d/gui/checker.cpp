#include "plot3d/gui/checker.h"

#include "plot3d/gui/widget_clients.h"

namespace korv::plot3d {

Checker::Checker(const QImage& picture, int x, int y, int cwidth, int cheight, const QString& info, const QString& text,
                 CheckerClient* client, InfoLine* infoline, QWidget* parent)
    : PictureButton(picture, x, y, cwidth, cheight, info, text, true, infoline, parent), client_(client) {}

void Checker::clicked() {
    if (client_ != nullptr) client_->onCheckerClick(*this, pressed());
}

}  // namespace korv::plot3d
