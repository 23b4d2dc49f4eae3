// A dialog in a grey of its own: filled with it, its disabled texts readable
// on it, its enabled texts left alone.
#include "common/gui/window_style.h"

#include <QDialog>
#include <QImage>
#include <QPalette>
#include <gtest/gtest.h>

#include "common/gui/qt_colour.h"

namespace korv {
namespace {

TEST(DialogGrey, FillsTheDialogAndKeepsDisabledTextsReadable) {
    const QColor light_grey = to_qcolor({192, 192, 192});
    QDialog dialog;
    use_window_style(dialog);
    const QColor enabled_text = dialog.palette().color(QPalette::Active, QPalette::WindowText);
    paint_dialog_grey(dialog, light_grey);

    const QPalette colours = dialog.palette();
    EXPECT_EQ(colours.color(QPalette::Window), light_grey);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        EXPECT_EQ(colours.color(QPalette::Disabled, role), disabled_text_on(light_grey)) << role;
    EXPECT_EQ(colours.color(QPalette::Active, QPalette::WindowText), enabled_text);

    dialog.resize(40, 30);
    EXPECT_EQ(dialog.grab().toImage().pixelColor(20, 15), light_grey);
}

}  // namespace
}  // namespace korv
