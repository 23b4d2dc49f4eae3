#pragma once
// The power and torque chart of the main window, the bitmap and the print.
#include "common/core/chart_drawing.h"
#include "dyno/core/dyno_sample.h"
#include "dyno/core/dyno_settings.h"

#include <string>

namespace korv::dyno {

inline constexpr const char* kChartTitle = "Ergomark, no relation to actual HP expressed or implied";

// Peaks over the range, start up to but not including end; first
// occurrences win ties. All zero for an empty range.
struct ChartPeaks {
    bool empty = true;
    float peak_hp = 0, peak_hp_rpm = 0;
    float peak_torque = 0, peak_torque_rpm = 0;
    float low_rpm = 0, high_rpm = 0;
    int curve_start = 0;  // the lowest-RPM sample when it comes before the highest
    int curve_end = 0;    // one past the last drawn sample
};

ChartPeaks FindChartPeaks(const SampleArray& samples, SampleRange range);

// Top of the vertical scale: the peak rounded down to 50, plus 50; at least 50.
int ChartTopValue(float peak_hp, float peak_torque);

// Horizontal axis in RPM: lowest down to 500, highest up past the next 500.
struct RpmAxis {
    long long min = 0, max = 500;
};
RpmAxis RpmAxisFor(float low_rpm, float high_rpm);

std::string SummaryLine1(const ChartPeaks& peaks, const DynoSettings& settings);
std::string SummaryLine2(SampleRange range, const DynoSettings& settings);

struct DynoChartInput {
    const SampleArray* samples = nullptr;
    SampleRange range;
    const DynoSettings* settings = nullptr;
    std::string file_name;
    int pen_width = 1;  // of every line, in device pixels
};

// Everything the chart draws into `rect`, for text lines `line_height`
// pixels apart (text height + 2), its lines in Ergomark's pens.
ChartDrawing DrawDynoChart(const DynoChartInput& input, ChartRect rect, int line_height);

}  // namespace korv::dyno
