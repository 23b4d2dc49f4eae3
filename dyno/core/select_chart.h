#pragma once
// The RPM-over-time drawing of the Select dialog and its mouse selection.
#include "common/core/chart_drawing.h"
#include "dyno/core/dyno_sample.h"

#include <optional>

namespace korv::dyno {

// Raw RPM in black, smoothed RPM and the selection box in red; x by blended
// time over the whole log, 8000 RPM filling the height. A log whose blended
// times do not increase draws nothing.
ChartDrawing DrawSelectChart(const SampleArray& samples, ChartRect area, SampleRange selection);

// Strictly inside the area's edges.
bool StrictlyInside(ChartRect area, int x, int y);

struct PixelSample {
    int index = 0;
    float rpm = 0;   // smoothed
    float time = 0;  // blended
};

// The first sample whose blended time is at least the time at x (the last
// sample when none is); empty without samples.
std::optional<PixelSample> PixelToSample(const SampleArray& samples, int x, ChartRect area);

// Press-drag-release selection. The stop follows the pointer while the left
// button is held; releasing orders start before stop; the first move after
// release ends the drag.
class SelectionDrag {
public:
    explicit SelectionDrag(SampleRange selection = {}) : selection_(selection) {}

    void press(int sample);
    void move_held(int sample);
    void release(int sample);
    void move_free();

    SampleRange selection() const { return selection_; }
    void set_selection(SampleRange s) {
        selection_ = s;
        dragging_ = false;
    }
    bool dragging() const { return dragging_; }

private:
    SampleRange selection_;
    bool dragging_ = false;
};

}  // namespace korv::dyno
