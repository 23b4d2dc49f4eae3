#include "plot3d/gui/info_line.h"

#include "common/gui/qt_colour.h"
#include "plot3d/core/plot_colours.h"

#include <QPainter>

namespace korv::plot3d {

QFont plot_text_font() {
    // The serif every installation has; sizes count pixels, as the layouts assume.
    QFont font("DejaVu Serif");
    font.setPixelSize(12);
    font.setBold(true);
    return font;
}

InfoLine::InfoLine(QWidget* parent) : QWidget(parent) { resize(400, 20); }

void InfoLine::setText(const QString& text) {
    text_ = text;
    repaint();
}

void InfoLine::clearText() {
    text_.clear();
    repaint();
}

void InfoLine::paintEvent(QPaintEvent*) {
    QPainter g(this);
    g.fillRect(rect(), to_qcolor(kLightGrey));
    if (text_.isEmpty()) return;
    g.setFont(plot_text_font());
    g.setPen(Qt::white);
    g.drawText(6, 15, text_);
    g.setPen(to_qcolor(kDarkGrey));
    g.drawText(5, 14, text_);
}

}  // namespace korv::plot3d
