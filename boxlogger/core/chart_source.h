#pragma once
// What the chart reads from a document: its title, channels and samples, seen
// through small interfaces so the chart does not depend on how a document
// stores them.
#include "boxlogger/core/data_attributes.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace korv::boxlogger {

// A document's samples in time order.
class ChartSamples {
public:
    virtual ~ChartSamples() = default;
    virtual std::size_t count() const = 0;
    virtual float time(std::size_t i) const = 0;
    virtual float value(std::size_t i, std::size_t channel) const = 0;
    // The sample shown at time t (the sample store's search), or none when
    // there are no samples. SeekTime also remembers where it ended.
    virtual std::optional<std::size_t> FindByTime(float t) = 0;
    virtual std::optional<std::size_t> SeekTime(float t) = 0;
};

// The document as the chart sees it.
class ChartDocument {
public:
    virtual ~ChartDocument() = default;
    virtual const std::string& ChartTitle() const = 0;  // Windows-1252
    virtual void SetChartTitle(std::string title) = 0;
    virtual std::vector<CDataAttributes>& ChartChannels() = 0;
    virtual ChartSamples& ChartSampleList() = 0;
    virtual bool IsCapturing() const = 0;
    virtual const std::string& ChartPathName() const = 0;
};

// Samples held in plain vectors; a search finds the last sample at or
// before t (the first sample when t lies before all of them).
class VectorChartSamples : public ChartSamples {
public:
    void Append(float t, std::vector<float> values);
    void Clear();

    std::size_t count() const override { return times_.size(); }
    float time(std::size_t i) const override { return times_[i]; }
    float value(std::size_t i, std::size_t channel) const override {
        return channel < values_[i].size() ? values_[i][channel] : 0.0f;
    }
    std::optional<std::size_t> FindByTime(float t) override;
    std::optional<std::size_t> SeekTime(float t) override;

private:
    std::vector<float> times_;
    std::vector<std::vector<float>> values_;
};

// A document held in memory (review of loaded samples, tests).
class MemoryChartDocument : public ChartDocument {
public:
    const std::string& ChartTitle() const override { return title; }
    void SetChartTitle(std::string t) override { title = std::move(t); }
    std::vector<CDataAttributes>& ChartChannels() override { return channels; }
    ChartSamples& ChartSampleList() override { return samples; }
    bool IsCapturing() const override { return capturing; }
    const std::string& ChartPathName() const override { return path_name; }

    std::string title = "Calderis Datalogger";
    std::vector<CDataAttributes> channels;
    VectorChartSamples samples;
    bool capturing = false;
    std::string path_name;
};

}  // namespace korv::boxlogger
