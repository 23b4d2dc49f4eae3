#include "common/gui/window_style.h"

#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace korv {
namespace {

// Text needs this contrast with its background to read easily.
constexpr double kReadableContrast = 4.5;

double luminance(const QColor& c) {
    auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace

QFont window_font(int pixels, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QColor disabled_text_colour() { return QColor(80, 80, 80); }

QColor disabled_text_on(const QColor& background) {
    for (int grey = disabled_text_colour().red(); grey > 0; --grey) {
        if (contrast(QColor(grey, grey, grey), background) >= kReadableContrast) return QColor(grey, grey, grey);
    }
    return QColor(0, 0, 0);
}

namespace {

void set_disabled_text(QPalette& colours, const QColor& text) {
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        colours.setColor(QPalette::Disabled, role, text);
    }
}

}  // namespace

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
