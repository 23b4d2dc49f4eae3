#pragma once
// A push button drawn from a picture: the up look at (x, y), the down look
// width to its right. While held it shows its info on the status line.
#include "plot3d/gui/picture_button.h"

namespace korv::plot3d {

class ButtonClient;

class ImageButton : public PictureButton {
public:
    ImageButton(const QImage& picture, int x, int y, int width, int height, const QString& info, const QString& text,
                ButtonClient* client, InfoLine* infoline, QWidget* parent = nullptr);

    // Held down.
    bool pressed() const { return held(); }

protected:
    void clicked() override;

private:
    ButtonClient* client_;
};

}  // namespace korv::plot3d
