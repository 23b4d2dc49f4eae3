#pragma once
// How the logger's live strip charts use the shared model: chart_low on the
// bottom edge and values clamped to the range, the view moved to the newest
// point on each sample, nothing scaled or drawn while chart_high is not
// above chart_low, a resizable window, the title divided by 100 for O2 and
// TPS without Min/Max or brackets, and 32-bit record counters.
#include "common/core/strip_chart_model.h"

namespace korv::logger {

inline StripChartOptions strip_chart_options() {
    StripChartOptions o;
    o.bottom = StripChartBottom::chart_low;
    o.clamp_to_range = true;
    o.require_high_above_low = true;
    o.hover_offset = 1;
    o.whole_hover_value = true;
    o.follows_newest = true;
    o.drawn_index_limit = StripChartModel::kNoLimit;
    o.clear_when_empty = true;
    o.mark_rebuilds_title = false;
    o.record_bits = 32;
    o.resizable = true;
    o.title = StripChartTitleFormat{false, false, true};
    return o;
}

}  // namespace korv::logger
