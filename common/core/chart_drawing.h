#pragma once
// What a chart draws, as plain lines and texts, so the maths can be checked
// without a window and every device (screen, bitmap, printer) paints alike.
#include "common/core/colour.h"

#include <string>
#include <utility>
#include <vector>

namespace korv {

struct ChartRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

struct ChartPoint {
    int x = 0, y = 0;
    bool operator==(const ChartPoint&) const = default;
};

struct ChartPolyline {
    Colour colour;  // black unless set
    int width = 1;  // device pixels
    std::vector<ChartPoint> points;
};

enum class TextAnchor { TopLeft, TopCentre };

// Texts are painted in black in the painter's font.
struct ChartText {
    int x = 0, y = 0;  // of the anchor; y is the top of the text
    TextAnchor anchor = TextAnchor::TopLeft;
    std::string text;
};

struct ChartDrawing {
    std::vector<ChartPolyline> lines;
    std::vector<ChartText> texts;

    void line(Colour colour, int width, int x1, int y1, int x2, int y2) {
        lines.push_back({colour, width, {{x1, y1}, {x2, y2}}});
    }
    void text(int x, int y, TextAnchor anchor, std::string t) { texts.push_back({x, y, anchor, std::move(t)}); }
};

// Pixel coordinate of a computed position, kept in a range any painter takes.
int to_pixel(double v);

}  // namespace korv
