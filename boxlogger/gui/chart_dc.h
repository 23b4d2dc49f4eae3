#pragma once
// A drawing context for the chart: logical units of 0.01 inch with y growing
// upward from the client area's top-left corner, mapped through the device's
// logical resolution, so the screen, an image and a printer page show the
// same layout.
#include "boxlogger/core/chart_maths.h"

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

class QPainter;
class QPaintDevice;

namespace korv::boxlogger {

// The chart font: Arial 10, or the nearest sans-serif font there is.
QFont chart_font();

class ChartDC {
public:
    // `painter` may be null for measuring only.
    ChartDC(QPaintDevice* device, QPainter* painter, std::uint32_t background, std::uint32_t foreground);

    QPainter* painter() const { return painter_; }
    QColor background() const { return background_; }
    QColor foreground() const { return foreground_; }
    const QFont& font() const { return font_; }

    // Logical <-> device.
    QPointF map(double x, double y) const { return {x * sx_, -y * sy_}; }
    QRectF map(const chart::LRect& r) const;
    chart::LRect to_logical(const QRect& device_rect) const;
    QPoint to_logical(const QPoint& device_point) const;

    int text_width(const QString& text) const;
    int text_height() const;

    // Drawing; all do nothing without a painter. Widths are logical units.
    void line(int x1, int y1, int x2, int y2, QColor colour, int width = 1, bool dotted = false) const;
    void polyline(const std::vector<chart::ChartPointXY>& points, std::size_t from, QColor colour, int width,
                  const chart::LRect& clip) const;
    void fill(const chart::LRect& r, QColor colour) const;
    void outline(const chart::LRect& r, QColor colour) const;
    enum class Align { Left, Centre, Right };
    // Text whose top is at y; Right/Centre place x at the text's right edge or middle.
    void text(int x, int top, const QString& text, Align align, QColor colour) const;
    // Text turned to read upward, centred at (x, y).
    void vertical_text(int x, int y, const QString& text, QColor colour) const;
    // The text as it fits `length` units of such an upward run: whole, cut
    // short with an ellipsis, or empty where not even a letter and the
    // ellipsis fit.
    QString fit_upright(const QString& text, int length) const;

private:
    int pen_width(int logical) const;

    QPaintDevice* device_;
    QPainter* painter_;
    QFont font_;
    QColor background_, foreground_;
    double sx_ = 1.0, sy_ = 1.0;  // device pixels per logical unit
    int text_height_ = 0;
};

}  // namespace korv::boxlogger
