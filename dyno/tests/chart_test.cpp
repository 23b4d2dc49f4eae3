// Chart geometry and texts of the dyno chart and the Select dialog's drawing.
#include "dyno/core/chart_pens.h"
#include "dyno/core/dyno_chart.h"
#include "dyno/core/select_chart.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace korv::dyno {
namespace {

// Peak hp 187.3 at 5000 rpm, peak torque 201.9 at 4000 rpm, RPM 2310..6480.
SampleArray pull() {
    SampleArray s(5);
    const float rpm[] = {2310, 4000, 5000, 6000, 6480};
    const float hp[] = {80, 150, 187.3f, 180, 170};
    const float tq[] = {150, 201.9f, 190, 160, 140};
    for (int i = 0; i < 5; ++i) {
        s[i][kBlendedTime] = static_cast<float>(i);
        s[i][kSmoothRpm] = s[i][kRawRpm] = rpm[i];
        s[i][kPower] = hp[i];
        s[i][kTorque] = tq[i];
    }
    return s;
}

std::vector<std::string> texts_of(const ChartDrawing& d) {
    std::vector<std::string> out;
    for (const auto& t : d.texts) out.push_back(t.text);
    return out;
}

bool has_text(const ChartDrawing& d, const std::string& text) {
    const auto all = texts_of(d);
    return std::find(all.begin(), all.end(), text) != all.end();
}

TEST(DynoChart, ScalesFromPeaks) {
    EXPECT_EQ(ChartTopValue(187.3f, 201.9f), 250);
    EXPECT_EQ(ChartTopValue(0, 0), 50);
    EXPECT_EQ(ChartTopValue(-500, -20), 50);
    const RpmAxis axis = RpmAxisFor(2310, 6480);
    EXPECT_EQ(axis.min, 2000);
    EXPECT_EQ(axis.max, 6500);
}

TEST(DynoChart, GridLabelsAndSummary) {
    const SampleArray s = pull();
    DynoSettings settings;
    const ChartDrawing d = DrawDynoChart({&s, {0, 5}, &settings, "/logs/run.csv"}, {0, 0, 640, 480}, 16);
    for (const char* label : {"0", "50", "100", "150", "200", "2500", "3000", "5500", "6000"})
        EXPECT_TRUE(has_text(d, label)) << label;
    for (const char* label : {"250", "2000", "6500"}) EXPECT_FALSE(has_text(d, label)) << label;
    EXPECT_TRUE(has_text(d, kChartTitle));
    EXPECT_TRUE(has_text(d, "/logs/run.csv"));
    EXPECT_TRUE(has_text(d, "187.3hp@5000rpm, 201.9ft/lb@4000rpm            Galant VR4, 3251 lbs,  2nd gear   "));
    EXPECT_TRUE(has_text(d, "Ergomark samples:   5,  blend: 0.70s,  AA: +1 pts"));

    // Baseline 3 lines above the bottom; 0 lies on it, 50 a fifth of 400 px up.
    const auto zero = std::find_if(d.texts.begin(), d.texts.end(), [](const ChartText& t) { return t.text == "0"; });
    EXPECT_EQ(zero->y, 480 - 48 + 1);
    EXPECT_EQ(zero->x, 53);
}

TEST(DynoChart, CurvesStartAtTheLowestRpmBeforeTheHighest) {
    SampleArray s = pull();
    s[0][kSmoothRpm] = 3000;                        // the lowest is now sample 0 anyway
    std::swap(s[0][kSmoothRpm], s[1][kSmoothRpm]);  // 4000, 3000, ...: lowest at 1
    const ChartPeaks p = FindChartPeaks(s, {0, 5});
    EXPECT_EQ(p.curve_start, 1);
    EXPECT_EQ(p.curve_end, 5);
    // End past the log is clamped for reading.
    EXPECT_EQ(FindChartPeaks(s, {0, 9}).curve_end, 5);
}

TEST(DynoChart, CorrectionSuffixes) {
    DynoSettings settings;
    settings.sae_en = 1;
    EXPECT_EQ(SummaryLine2({10, 110}, settings),
              "Ergomark samples: 100,  blend: 0.70s,  AA: +1 pts,  SAE Corrected at 1013.0mbar, 80.0 F, 0%hum");
    settings.loss_en = 1;
    settings.loss = 15;
    settings.drag_en = 1;
    EXPECT_EQ(SummaryLine2({0, 12345}, settings),
              "Ergomark samples:12345,  blend: 0.70s,  AA: +1 pts,  Drivetrain Loss 15.0%,  Drag Corrected,"
              "  SAE Corrected at 1013.0mbar, 80.0 F, 0%hum");
}

TEST(DynoChart, EmptyRangeDrawsAxesAndZeroPeaks) {
    const SampleArray s = pull();
    DynoSettings settings;
    const ChartDrawing d = DrawDynoChart({&s, {3, 3}, &settings, "f"}, {0, 0, 640, 480}, 16);
    EXPECT_TRUE(has_text(d, "0.0hp@0rpm, 0.0ft/lb@0rpm            Galant VR4, 3251 lbs,  2nd gear   "));
    for (const auto& line : d.lines) EXPECT_LE(line.points.size(), 2u);  // grid and axes only

    const SampleArray none;
    EXPECT_EQ(DrawDynoChart({&none, {}, &settings, "f"}, {0, 0, 640, 480}, 16).texts.size(), 2u);
}

TEST(DynoChart, NegativeValuesSitOnTheBaseline) {
    SampleArray s = pull();
    s[3][kPower] = -40;
    DynoSettings settings;
    const ChartDrawing d = DrawDynoChart({&s, {0, 5}, &settings, ""}, {0, 0, 640, 480}, 16);
    const auto power = std::find_if(d.lines.begin(), d.lines.end(), [](const ChartPolyline& l) {
        return l.colour == pen_colour(ChartPen::Power) && l.points.size() > 2;
    });
    ASSERT_NE(power, d.lines.end());
    EXPECT_EQ(power->points[3].y, 480 - 48);
}

TEST(DynoChart, EveryLineIsDrawnInThePenWidthAsked) {
    const SampleArray s = pull();
    DynoSettings settings;
    const ChartDrawing screen = DrawDynoChart({&s, {0, 5}, &settings, ""}, {0, 0, 640, 480}, 16);
    const ChartDrawing print = DrawDynoChart({&s, {0, 5}, &settings, "", 6}, {0, 0, 640, 480}, 16);
    ASSERT_EQ(screen.lines.size(), print.lines.size());
    for (std::size_t i = 0; i < print.lines.size(); ++i) {
        EXPECT_EQ(screen.lines[i].width, 1);
        EXPECT_EQ(print.lines[i].width, 6);
        EXPECT_EQ(print.lines[i].colour, screen.lines[i].colour);
        EXPECT_EQ(print.lines[i].points, screen.lines[i].points);
    }
}

TEST(DynoChart, AbsurdValuesKeepTheDrawingSmall) {
    SampleArray s = pull();
    s[2][kPower] = 1e30f;
    s[4][kSmoothRpm] = 2e9f;
    DynoSettings settings;
    const ChartDrawing d = DrawDynoChart({&s, {0, 5}, &settings, ""}, {0, 0, 640, 480}, 16);
    EXPECT_LT(d.lines.size(), 20u);
    EXPECT_LT(d.texts.size(), 20u);
}

TEST(DynoSelectChart, CurvesAndBox) {
    const SampleArray s = pull();
    const ChartRect area{12, 12, 762, 212};
    const ChartDrawing d = DrawSelectChart(s, area, {1, 5});
    ASSERT_EQ(d.lines.size(), 3u);
    EXPECT_EQ(d.lines[0].colour, pen_colour(ChartPen::RawRpm));
    EXPECT_EQ(d.lines[1].colour, pen_colour(ChartPen::SmoothRpm));
    EXPECT_EQ(d.lines[1].points.front(), (ChartPoint{12, 154}));  // 212 - 2310 * 200 / 8000
    EXPECT_EQ(d.lines[1].points.back().x, 762);
    // The box: start sample's time to the last sample's, 7800 down to 200 RPM.
    EXPECT_EQ(d.lines[2].points[0], (ChartPoint{12 + 187, 212 - 195}));
    EXPECT_EQ(d.lines[2].points[2], (ChartPoint{762, 212 - 5}));
    EXPECT_EQ(pen_colour(ChartPen::SmoothRpm), (Colour{200, 20, 20}));
}

TEST(DynoSelectChart, TimesThatDoNotIncreaseDrawNothing) {
    SampleArray s = pull();
    s[4][kBlendedTime] = 0;
    EXPECT_TRUE(DrawSelectChart(s, {12, 12, 762, 212}, {0, 4}).lines.empty());
    EXPECT_TRUE(DrawSelectChart(SampleArray(1), {12, 12, 762, 212}, {0, 0}).lines.empty());
}

TEST(DynoSelectChart, PixelToSampleAndInside) {
    const SampleArray s = pull();  // blended times 0..4
    const ChartRect area{12, 12, 762, 212};
    EXPECT_EQ(PixelToSample(s, 12, area)->index, 0);
    const auto mid = PixelToSample(s, 12 + 375, area);  // time 2.0
    EXPECT_EQ(mid->index, 2);
    EXPECT_EQ(mid->rpm, 5000.0f);
    EXPECT_EQ(PixelToSample(s, 12 + 376, area)->index, 3);  // just past 2.0
    EXPECT_EQ(PixelToSample(s, 900, area)->index, 4);
    EXPECT_FALSE(PixelToSample({}, 100, area));
    EXPECT_TRUE(StrictlyInside(area, 13, 13));
    EXPECT_FALSE(StrictlyInside(area, 12, 100));
    EXPECT_FALSE(StrictlyInside(area, 100, 212));
}

TEST(DynoSelectionDrag, PressDragReleaseAndSwaps) {
    SelectionDrag drag({3, 9});
    drag.press(40);
    EXPECT_EQ(drag.selection(), (SampleRange{40, 40}));
    drag.move_held(30);
    EXPECT_EQ(drag.selection(), (SampleRange{40, 30}));
    drag.release(20);  // start not before stop: swapped
    EXPECT_EQ(drag.selection(), (SampleRange{20, 40}));
    EXPECT_TRUE(drag.dragging());
    drag.move_free();
    EXPECT_FALSE(drag.dragging());
    EXPECT_EQ(drag.selection(), (SampleRange{20, 40}));

    // Released outside the area: the next free move puts the ends in order.
    drag.press(50);
    drag.move_held(10);
    drag.move_free();
    EXPECT_EQ(drag.selection(), (SampleRange{10, 50}));
    drag.move_held(99);  // not dragging any more
    EXPECT_EQ(drag.selection(), (SampleRange{10, 50}));
}

}  // namespace
}  // namespace korv::dyno
