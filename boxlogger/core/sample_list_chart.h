#pragma once
// A document's sample list as the chart reads it.
#include "boxlogger/core/chart_source.h"
#include "boxlogger/core/sample_store.h"

namespace korv::boxlogger {

class SampleListChartSamples final : public ChartSamples {
public:
    explicit SampleListChartSamples(CSampleList& list) : list_(list) {}

    std::size_t count() const override { return list_.size(); }
    float time(std::size_t i) const override { return list_.time(i); }
    float value(std::size_t i, std::size_t channel) const override {
        const auto values = list_.values(i);
        return channel < values.size() ? values[channel] : 0.0f;
    }
    std::optional<std::size_t> FindByTime(float t) override { return list_.FindByTime(t); }
    std::optional<std::size_t> SeekTime(float t) override { return list_.SeekTime(t); }

private:
    CSampleList& list_;
};

}  // namespace korv::boxlogger
