#include "common/gui/window_style.h"

#include "common/core/colour_contrast.h"
#include "common/gui/qt_colour.h"

#include <QPalette>
#include <QWidget>

namespace korv {

QFont window_font(int pixels, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QColor disabled_text_colour() { return QColor(80, 80, 80); }

namespace {

void set_disabled_text(QPalette& colours, const QColor& text) {
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        colours.setColor(QPalette::Disabled, role, text);
    }
}

}  // namespace

QColor disabled_text_on(const QColor& background) {
    return to_qcolor(readable_grey_on(to_colour(background), static_cast<std::uint8_t>(disabled_text_colour().red())));
}

QColor text_colour_on(const QColor& background) { return to_qcolor(readable_text_on(to_colour(background))); }

void use_readable_disabled_text(QWidget& widget) {
    QPalette colours = widget.palette();
    set_disabled_text(colours, disabled_text_colour());
    widget.setPalette(colours);
}

void paint_dialog_grey(QWidget& dialog, const QColor& grey) {
    QPalette colours = dialog.palette();
    colours.setColor(QPalette::Window, grey);
    set_disabled_text(colours, disabled_text_on(grey));
    dialog.setPalette(colours);
    dialog.setAutoFillBackground(true);
}

void use_window_style(QWidget& window, int pixels) {
    window.setFont(window_font(pixels));
    use_readable_disabled_text(window);
}

}  // namespace korv
