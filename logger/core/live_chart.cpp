#include "logger/core/live_chart.h"

#include <cstdint>

namespace korv::logger {

void chart_live_sample(LiveChart& chart, int port, const LiveValue& sample) {
    // A chart with no range and a chart's first sample both take the
    // preset; a new chart is both, and takes it twice.
    if (chart.chart_high() == -1) chart.setrange(sample.slot);
    if (chart.test_delta() == 0) {
        chart.setrange(sample.slot);
        chart.set_test_delta(1);
    }
    std::int32_t point = chart_point(sample.value);
    const bool demonstration = port == kDemonstrationPort;
    if (demonstration) {
        int delta = chart.test_delta();
        point = demo_wave_point(chart.test_point(), delta, chart.chart_low(), chart.chart_high());
        chart.set_test_delta(delta);
    }
    chart.plot_point(point);
    if (demonstration) {
        int test_point = chart.test_point();
        demo_wave_step(test_point, chart.test_delta());
        chart.set_test_point(test_point);
    }
}

}  // namespace korv::logger
