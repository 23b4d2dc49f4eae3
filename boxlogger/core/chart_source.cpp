#include "boxlogger/core/chart_source.h"

#include <algorithm>

namespace korv::boxlogger {

void VectorChartSamples::Append(float t, std::vector<float> values) {
    times_.push_back(t);
    values_.push_back(std::move(values));
}

void VectorChartSamples::Clear() {
    times_.clear();
    values_.clear();
}

std::optional<std::size_t> VectorChartSamples::FindByTime(float t) {
    if (times_.empty()) return std::nullopt;
    const auto after = std::upper_bound(times_.begin(), times_.end(), t);
    return after == times_.begin() ? 0 : static_cast<std::size_t>(after - times_.begin() - 1);
}

std::optional<std::size_t> VectorChartSamples::SeekTime(float t) { return FindByTime(t); }

}  // namespace korv::boxlogger
