#pragma once
// What a chart draws, as plain lines and texts, so the maths can be checked
// without a window and every device (screen, bitmap, printer) paints alike.
#include <cstdint>
#include <string>
#include <vector>

namespace korv::dyno {

struct ChartRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

struct ChartPoint {
    int x = 0, y = 0;
    bool operator==(const ChartPoint&) const = default;
};

enum class ChartPen { Default, Grid, Torque, Power, RawRpm, SmoothRpm };

struct ChartPolyline {
    ChartPen pen = ChartPen::Default;
    std::vector<ChartPoint> points;
};

enum class TextAnchor { TopLeft, TopCentre };

struct ChartText {
    int x = 0, y = 0;  // of the anchor; y is the top of the text
    TextAnchor anchor = TextAnchor::TopLeft;
    std::string text;
};

struct ChartDrawing {
    std::vector<ChartPolyline> lines;
    std::vector<ChartText> texts;

    void line(ChartPen pen, int x1, int y1, int x2, int y2) { lines.push_back({pen, {{x1, y1}, {x2, y2}}}); }
    void text(int x, int y, TextAnchor anchor, std::string t) { texts.push_back({x, y, anchor, std::move(t)}); }
};

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// A colour value in the 0x00BBGGRR layout.
constexpr Rgb colour_from_bgr(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>((v >> 8) & 0xFF),
            static_cast<std::uint8_t>((v >> 16) & 0xFF)};
}

Rgb pen_colour(ChartPen pen);

// Pixel coordinate of a computed position, kept in a range any painter takes.
int to_pixel(double v);

} // namespace korv::dyno
