#include "boxlogger/gui/chart_dc.h"

#include "common/core/colour.h"
#include "common/gui/qt_colour.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace korv::boxlogger {

QFont chart_font() {
    QFont font(QStringLiteral("Arial"), 10);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

ChartDC::ChartDC(QPaintDevice* device, QPainter* painter, std::uint32_t background, std::uint32_t foreground)
    : device_(device),
      painter_(painter),
      font_(chart_font()),
      background_(to_qcolor(colour_from_bgr(background))),
      foreground_(to_qcolor(colour_from_bgr(foreground))) {
    if (device_ != nullptr) {
        sx_ = std::max(1, device_->logicalDpiX()) / double(chart::kUnitsPerInch);
        sy_ = std::max(1, device_->logicalDpiY()) / double(chart::kUnitsPerInch);
    }
    const QFontMetricsF metrics(font_, device_);
    text_height_ = static_cast<int>(std::lround(metrics.height() / sy_));
    if (painter_ != nullptr) {
        painter_->setFont(font_);
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setBackgroundMode(Qt::TransparentMode);
    }
}

QRectF ChartDC::map(const chart::LRect& r) const {
    return QRectF(map(r.left, r.top), map(r.right, r.bottom)).normalized();
}

chart::LRect ChartDC::to_logical(const QRect& d) const {
    return {static_cast<int>(std::lround(d.left() / sx_)), -static_cast<int>(std::lround(d.top() / sy_)),
            static_cast<int>(std::lround((d.right() + 1) / sx_)),
            -static_cast<int>(std::lround((d.bottom() + 1) / sy_))};
}

QPoint ChartDC::to_logical(const QPoint& p) const {
    return {static_cast<int>(std::lround(p.x() / sx_)), -static_cast<int>(std::lround(p.y() / sy_))};
}

int ChartDC::text_width(const QString& text) const {
    const QFontMetricsF metrics(font_, device_);
    return static_cast<int>(std::lround(metrics.horizontalAdvance(text) / sx_));
}

int ChartDC::text_height() const { return text_height_; }

int ChartDC::pen_width(int logical) const { return std::max(1, static_cast<int>(std::lround(logical * sx_))); }

void ChartDC::line(int x1, int y1, int x2, int y2, QColor colour, int width, bool dotted) const {
    if (painter_ == nullptr) return;
    QPen pen(colour, pen_width(width), dotted ? Qt::DotLine : Qt::SolidLine, Qt::FlatCap);
    painter_->setPen(pen);
    painter_->drawLine(map(x1, y1), map(x2, y2));
}

void ChartDC::polyline(const std::vector<chart::ChartPointXY>& points, std::size_t from, QColor colour, int width,
                       const chart::LRect& clip) const {
    if (painter_ == nullptr || from >= points.size()) return;
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(points.size() - from));
    for (std::size_t i = from; i < points.size(); ++i) polygon << map(points[i].x, points[i].y);
    painter_->save();
    // Points before the window's first second lie left of the plot.
    painter_->setClipRect(map(clip).adjusted(0, -pen_width(width), 1, pen_width(width)));
    painter_->setPen(QPen(colour, pen_width(width), Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    if (polygon.size() == 1)
        painter_->drawPoint(polygon.front());
    else
        painter_->drawPolyline(polygon);
    painter_->restore();
}

void ChartDC::fill(const chart::LRect& r, QColor colour) const {
    if (painter_ == nullptr) return;
    painter_->fillRect(map(r), colour);
}

void ChartDC::outline(const chart::LRect& r, QColor colour) const {
    if (painter_ == nullptr) return;
    painter_->setPen(QPen(colour, pen_width(1)));
    painter_->setBrush(Qt::NoBrush);
    painter_->drawRect(map(r));
}

void ChartDC::text(int x, int top, const QString& text, Align align, QColor colour) const {
    if (painter_ == nullptr) return;
    const QFontMetricsF metrics(font_, device_);
    const double w = metrics.horizontalAdvance(text);
    QPointF at = map(x, top);
    if (align == Align::Right) at.rx() -= w;
    if (align == Align::Centre) at.rx() -= w / 2;
    painter_->setPen(colour);
    painter_->drawText(QPointF(at.x(), at.y() + metrics.ascent()), text);
}

void ChartDC::vertical_text(int x, int y, const QString& text, QColor colour) const {
    if (painter_ == nullptr) return;
    const QFontMetricsF metrics(font_, device_);
    painter_->save();
    painter_->translate(map(x, y));
    painter_->rotate(-90);
    painter_->setPen(colour);
    painter_->drawText(QPointF(-metrics.horizontalAdvance(text) / 2, metrics.ascent() - metrics.height() / 2), text);
    painter_->restore();
}

QString ChartDC::fit_upright(const QString& text, int length) const {
    const QFontMetricsF metrics(font_, device_);
    // Upward text runs along the device's y.
    const double room = length * sy_;
    if (metrics.horizontalAdvance(text) <= room) return text;
    const QString cut = metrics.elidedText(text, Qt::ElideRight, room);
    const QString ellipsis(QChar(0x2026));
    if (cut.size() < 2 || !cut.endsWith(ellipsis) || metrics.horizontalAdvance(cut) > room) return {};
    return cut;
}

}  // namespace korv::boxlogger
