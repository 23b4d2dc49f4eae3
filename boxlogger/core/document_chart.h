#pragma once
// A capture or review document as the chart reads it.
#include "boxlogger/core/chart_source.h"
#include "boxlogger/core/sample_list_chart.h"
#include "boxlogger/core/vxmlog_doc.h"

namespace korv::boxlogger {

class DocumentChart final : public ChartDocument {
public:
    explicit DocumentChart(CVXMlogDoc& doc) : doc_(doc), samples_(doc.samples()) {}

    const std::string& ChartTitle() const override { return doc_.title(); }
    void SetChartTitle(std::string title) override { doc_.SetTitle(std::move(title)); }
    std::vector<CDataAttributes>& ChartChannels() override { return doc_.channels(); }
    ChartSamples& ChartSampleList() override { return samples_; }
    bool IsCapturing() const override { return doc_.capturing(); }
    const std::string& ChartPathName() const override { return doc_.path_name(); }

    CVXMlogDoc& document() { return doc_; }

private:
    CVXMlogDoc& doc_;
    SampleListChartSamples samples_;
};

}  // namespace korv::boxlogger
