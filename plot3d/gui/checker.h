#pragma once
// A two-state toggle drawn from a picture: the up look at (x, y), the down
// look cwidth to its right. While held it shows its info on the status line.
#include "plot3d/gui/picture_button.h"

namespace korv::plot3d {

class CheckerClient;

class Checker : public PictureButton {
public:
    Checker(const QImage& picture, int x, int y, int cwidth, int cheight, const QString& info, const QString& text,
            CheckerClient* client, InfoLine* infoline, QWidget* parent = nullptr);

    // The toggle's state.
    bool pressed() const { return on(); }
    bool mousedown() const { return held(); }

protected:
    void clicked() override;

private:
    CheckerClient* client_;
};

}  // namespace korv::plot3d
