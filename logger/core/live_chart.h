#pragma once
// What one charted live sample does to its strip chart: the chart gets its
// slot's range when it has none and again on its first sample, then shows
// the sample's value, or on the demonstration port the next point of the
// triangle wave instead.
#include "logger/core/live_scaling.h"

namespace korv::logger {

// A strip chart as the live samples drive it.
class LiveChart {
public:
    virtual ~LiveChart() = default;

    // The configured range; chart_high -1 means no range yet.
    virtual int chart_low() const = 0;
    virtual int chart_high() const = 0;
    // The slot's preset title, item and range.
    virtual void setrange(int slot) = 0;

    // The demonstration wave's state; test_delta 0 also marks a chart that
    // has had no sample since it was made or cleared.
    virtual int test_point() const = 0;
    virtual void set_test_point(int point) = 0;
    virtual int test_delta() const = 0;
    virtual void set_test_delta(int delta) = 0;

    // One value, the quantity times 100.
    virtual void plot_point(int v) = 0;
};

// Charts one scaled sample that arrived from port in the chart of its slot.
void chart_live_sample(LiveChart& chart, int port, const LiveValue& sample);

}  // namespace korv::logger
