#include "plot3d/gui/widget_pictures.h"

#include "common/gui/qt_colour.h"
#include "plot3d/core/plot_colours.h"

#include <QPainter>

namespace korv::plot3d {

namespace {

// A raised face: white top and left edges, dark grey bottom and right.
void bevel(QPainter& g, const QRect& r, bool sunk) {
    g.fillRect(r, to_qcolor(kLightGrey));
    const QColor light = sunk ? to_qcolor(kDarkGrey) : to_qcolor(kWhite);
    const QColor dark = sunk ? to_qcolor(kWhite) : to_qcolor(kDarkGrey);
    g.setPen(light);
    g.drawLine(r.left(), r.top(), r.right(), r.top());
    g.drawLine(r.left(), r.top(), r.left(), r.bottom());
    g.setPen(dark);
    g.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    g.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

// One end of the wheel: the rim seen turning away, its lines closer together
// towards the outer edge and shifted by the phase.
void wheel_end(QPainter& g, const QRect& r, bool vertical, bool near, int state) {
    g.fillRect(r, to_qcolor(kLightGrey));
    const int length = vertical ? r.height() : r.width();
    g.setPen(to_qcolor(kDarkGrey));
    if (vertical) {
        g.drawLine(r.left(), r.top(), r.left(), r.bottom());
        g.drawLine(r.right(), r.top(), r.right(), r.bottom());
    } else {
        g.drawLine(r.left(), r.top(), r.right(), r.top());
        g.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    }
    int gap = 7;
    for (int p = 1 + (state * 2) % gap; p < length - 1; p += gap) {
        // Measured from the outer edge: the near end's outer edge is its start.
        const int at = near ? p : length - 1 - p;
        g.setPen(to_qcolor(kBlack));
        if (vertical)
            g.drawLine(r.left() + 1, r.top() + at, r.right() - 1, r.top() + at);
        else
            g.drawLine(r.left() + at, r.top() + 1, r.left() + at, r.bottom() - 1);
        gap = gap > 3 ? gap - 1 : gap;
    }
}

QImage make_wheel_picture(WheelOrientation o) {
    const bool vertical = o == WheelOrientation::VERTICAL;
    QImage strip(vertical ? QSize(80, 79) : QSize(59, 159), QImage::Format_RGB32);
    strip.fill(to_qcolor(kLightGrey));
    QPainter g(&strip);
    for (int state = 0; state < 4; ++state) {
        const StripRect n = wheel_near_end(o, state);
        const StripRect f = wheel_far_end(o, state);
        wheel_end(g, QRect(n.x, n.y, n.width, n.height), vertical, true, state);
        wheel_end(g, QRect(f.x, f.y, f.width, f.height), vertical, false, state);
    }
    for (bool down : {false, true}) {
        const StripRect b = wheel_reset_button(down);
        const QRect r(b.x, b.y, b.width, b.height);
        bevel(g, r, down);
        g.fillRect(r.adjusted(7, 7, -7, -7), to_qcolor(down ? kDarkGrey : kRed));
    }
    return strip;
}

}  // namespace

const QImage& slider_picture() {
    static const QImage picture = [] {
        QImage p(17, 8, QImage::Format_RGB32);
        p.fill(to_qcolor(kLightGrey));
        QPainter g(&p);
        g.fillRect(QRect(0, 1, 4, 6), to_qcolor(kGrey));
        g.setPen(to_qcolor(kDarkGrey));
        g.drawRect(QRect(0, 1, 3, 5));
        bevel(g, QRect(4, 0, 13, 8), false);
        g.setPen(to_qcolor(kBlack));
        g.drawLine(10, 1, 10, 6);
        return p;
    }();
    return picture;
}

const QImage& wheel_picture(WheelOrientation orientation) {
    static const QImage vertical = make_wheel_picture(WheelOrientation::VERTICAL);
    static const QImage horizontal = make_wheel_picture(WheelOrientation::HORIZONTAL);
    return orientation == WheelOrientation::VERTICAL ? vertical : horizontal;
}

QImage button_picture(const QString& label, int width, int height) {
    QImage p(2 * width, height, QImage::Format_RGB32);
    QPainter g(&p);
    QFont font("DejaVu Sans");
    font.setPixelSize(std::max(8, height / 2));
    g.setFont(font);
    for (int look = 0; look < 2; ++look) {
        const QRect r(look * width, 0, width, height);
        bevel(g, r, look == 1);
        g.setPen(to_qcolor(kBlack));
        g.drawText(r.translated(look, look), Qt::AlignCenter, label);
    }
    return p;
}

}  // namespace korv::plot3d
