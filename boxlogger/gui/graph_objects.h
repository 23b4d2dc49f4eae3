#pragma once
// The drawable parts of the chart view: title, legend, trace stack, time
// axis and value axis. The view asks each for its size, gives it a
// rectangle, lets it draw, forwards hits and commands and tells it about new
// samples. Coordinates are logical units (0.01 inch), y upward.
#include "boxlogger/core/chart_maths.h"
#include "boxlogger/core/chart_source.h"
#include "boxlogger/core/command_table.h"
#include "boxlogger/gui/chart_dc.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class QScrollBar;

namespace korv::boxlogger {

class CVXMlogView;
class CTraceStack;
class CTimeAxis;
class CYAxis;

// Context-menu ids a hit test answers; the commands are in command_table.h.
enum ChartMenu : int { kMenuTimeAxis = 102, kMenuTraceWidth = 130, kMenuColour = 144, kMenuTitle = 140 };

class CGraphObject {
public:
    explicit CGraphObject(CVXMlogView* view) : view_(view) {}
    virtual ~CGraphObject() = default;
    CGraphObject(const CGraphObject&) = delete;
    CGraphObject& operator=(const CGraphObject&) = delete;

    // Marks the object's rectangle (or the given one) for repainting.
    virtual void Invalidate(const chart::LRect* r = nullptr);
    virtual chart::LSize GetSize(ChartDocument& doc, const ChartDC& dc) = 0;
    virtual void Layout(const chart::LRect& r, const ChartDC& dc) = 0;
    virtual void Update(ChartDocument&, const ChartDC&) {}
    // Samples first_new..last were added.
    virtual void Append(std::size_t, std::size_t, const ChartDC&, ChartDocument&) {}
    virtual void Draw(ChartDocument& doc, const ChartDC& dc) = 0;
    // A context menu id, -1 inside without a menu, 0 outside.
    virtual int HitTest(int x, int y) const { return rect_.contains(x, y) ? -1 : 0; }
    virtual void OnCommand(ChartDocument&, int, const ChartDC&) {}
    virtual bool ShowValueAt(int, int, ChartDocument&) { return false; }

    const chart::LRect& rect() const { return rect_; }

protected:
    CVXMlogView* view_;
    chart::LRect rect_;
};

class CGraphTitle : public CGraphObject {
public:
    using CGraphObject::CGraphObject;
    chart::LSize GetSize(ChartDocument& doc, const ChartDC& dc) override;
    void Layout(const chart::LRect& r, const ChartDC& dc) override;
    void Draw(ChartDocument& doc, const ChartDC& dc) override;
    int HitTest(int x, int y) const override;
    void OnCommand(ChartDocument& doc, int id, const ChartDC& dc) override;
    // The title as last laid out.
    const QString& text() const { return text_; }

private:
    QString text_;
    chart::LRect text_rect_;
};

class CLegendItem : public CGraphObject {
public:
    CLegendItem(CVXMlogView* view, std::size_t channel) : CGraphObject(view), channel_(channel) {}
    chart::LSize GetSize(ChartDocument& doc, const ChartDC& dc) override;
    void Layout(const chart::LRect& r, const ChartDC& dc) override;
    void Draw(ChartDocument& doc, const ChartDC& dc) override;
    int HitTest(int x, int y) const override;
    void OnCommand(ChartDocument& doc, int id, const ChartDC& dc) override;

    // The colour swatch: as wide as the item is high (the rectangle is
    // taller by the layout's margins), a quarter of that height in from
    // the top and the bottom. The label starts 2 units right of it.
    chart::LRect Swatch() const;
    int LabelLeft() const { return Swatch().right + 2; }

private:
    std::size_t channel_;
    int item_height_ = 0;
};

// The legend: one item per channel, in columns across the view.
class CGraphContainer : public CGraphObject {
public:
    using CGraphObject::CGraphObject;
    void SetTraceStack(CTraceStack* stack) { stack_ = stack; }
    chart::LSize GetSize(ChartDocument& doc, const ChartDC& dc) override;
    void Layout(const chart::LRect& r, const ChartDC& dc) override;
    void Draw(ChartDocument& doc, const ChartDC& dc) override;
    int HitTest(int x, int y) const override;
    void OnCommand(ChartDocument& doc, int id, const ChartDC& dc) override;

    std::size_t items() const { return items_.size(); }
    const CLegendItem& item(std::size_t i) const { return *items_[i]; }

private:
    std::vector<std::unique_ptr<CLegendItem>> items_;
    std::vector<std::int32_t> ids_;
    chart::LegendGrid grid_;
    mutable CLegendItem* hit_ = nullptr;  // the item a hit test found, for its command
    CTraceStack* stack_ = nullptr;
};

// A value channel's trace: frame, grid, scale labels and the polyline.
class CTrace : public CGraphObject {
public:
    CTrace(CVXMlogView* view, std::size_t channel) : CGraphObject(view), channel_(channel) {}
    chart::LSize GetSize(ChartDocument& doc, const ChartDC& dc) override;
    void Layout(const chart::LRect& r, const ChartDC& dc) override;
    void Draw(ChartDocument& doc, const ChartDC& dc) override;
    bool ShowValueAt(int x, int y, ChartDocument& doc) override;
    virtual bool IsSwitch() const { return false; }

    // Lays the trace into a band, its plot starting `label_column` in.
    void Place(const chart::LRect& band, int label_column, const CDataAttributes& attributes);
    void SetTimeAxis(CTimeAxis* axis) { axis_ = axis; }
    void SetShown(bool shown) { shown_ = shown; }
    bool shown() const { return shown_; }
    std::size_t channel() const { return channel_; }
    const chart::LRect& plot() const { return plot_; }
    const std::vector<chart::ChartPointXY>& points() const { return points_; }

    void ClearPoints() { points_.clear(); }
    void AddPoint(int x, float value) { points_.push_back({x, mapping_.ToY(value)}); }
    // Draws the points from `from` on (after new samples).
    virtual void DrawFrom(std::size_t from, ChartDocument& doc, const ChartDC& dc);

protected:
    void DrawFrameAndTimeGrid(const CDataAttributes& a, const ChartDC& dc) const;
    // The channel's label upright at the band's left edge, within the band.
    void DrawBandLabel(const CDataAttributes& a, const ChartDC& dc) const;

    std::size_t channel_;
    CTimeAxis* axis_ = nullptr;
    bool shown_ = false;
    std::vector<chart::ChartPointXY> points_;
    chart::ValueMapping mapping_;
    int grid_divisions_ = 0;
    chart::LRect plot_;
};

// Any channel other than a value: the runs where it is on, filled.
class CSwitchTrace : public CTrace {
public:
    using CTrace::CTrace;
    chart::LSize GetSize(ChartDocument& doc, const ChartDC& dc) override;
    void Draw(ChartDocument& doc, const ChartDC& dc) override;
    void DrawFrom(std::size_t from, ChartDocument& doc, const ChartDC& dc) override;
    bool IsSwitch() const override { return true; }

private:
    void FillRuns(std::size_t from, const CDataAttributes& a, const ChartDC& dc) const;
};

class CTraceStack : public CGraphObject {
public:
    using CGraphObject::CGraphObject;
    void SetAxes(CTimeAxis* time_axis, CYAxis* value_axis);
    chart::LSize GetSize(ChartDocument& doc, const ChartDC& dc) override;
    void Layout(const chart::LRect& r, const ChartDC& dc) override;
    void Update(ChartDocument& doc, const ChartDC& dc) override;
    void Append(std::size_t first_new, std::size_t last, const ChartDC& dc, ChartDocument& doc) override;
    void Draw(ChartDocument& doc, const ChartDC& dc) override;
    bool ShowValueAt(int x, int y, ChartDocument& doc) override;

    // Stacks the traces again at the value axis's position.
    void Restack(ChartDocument& doc);
    int label_column() const { return label_column_; }
    int content_height() const { return content_height_; }
    int line_up() const { return line_up_; }
    int line_down() const { return line_down_; }
    std::size_t traces() const { return traces_.size(); }
    const CTrace& trace(std::size_t i) const { return *traces_[i]; }
    // The plot area the traces share (empty before layout).
    chart::LRect plot_area() const;

private:
    void Rebuild(ChartDocument& doc);

    std::vector<std::unique_ptr<CTrace>> traces_;
    std::vector<std::int32_t> ids_;
    CTimeAxis* time_axis_ = nullptr;
    CYAxis* value_axis_ = nullptr;
    int label_column_ = 0;
    int content_height_ = 0;
    int line_up_ = 0, line_down_ = 0;
    int previous_x_ = INT_MIN;   // x of the last point kept
    bool reached_edge_ = false;  // the plot is full to its right edge
    std::size_t next_sample_ = 0;
};

class CTimeAxis : public CGraphObject {
public:
    CTimeAxis(CVXMlogView* view, QScrollBar* bar) : CGraphObject(view), bar_(bar) {}
    void SetTraceStack(CTraceStack* stack) { stack_ = stack; }
    chart::LSize GetSize(ChartDocument& doc, const ChartDC& dc) override;
    void Layout(const chart::LRect& r, const ChartDC& dc) override;
    void Update(ChartDocument& doc, const ChartDC& dc) override;
    void Append(std::size_t first_new, std::size_t last, const ChartDC& dc, ChartDocument& doc) override;
    void Draw(ChartDocument& doc, const ChartDC& dc) override;
    int HitTest(int x, int y) const override;
    void OnCommand(ChartDocument& doc, int id, const ChartDC& dc) override;

    void OnScroll(int code, int position);
    void NextScale();
    void PrevScale();
    bool SetScaleIndex(int index) { return state_.SetScaleIndex(index); }

    const chart::TimeAxisState& state() const { return state_; }
    const chart::LabelStep& label_step() const { return step_; }
    double scale() const { return state_.scale; }
    int position() const { return state_.position; }
    const chart::LRect& label_rect() const { return label_rect_; }

private:
    void Changed();
    void SyncBar();

    QScrollBar* bar_;
    CTraceStack* stack_ = nullptr;
    chart::TimeAxisState state_;
    chart::LabelStep step_;
    chart::LRect label_rect_;
    int last_width_ = -1, last_scale_ = -1, label_width_ = 1;
};

class CYAxis : public CGraphObject {
public:
    CYAxis(CVXMlogView* view, QScrollBar* bar) : CGraphObject(view), bar_(bar) {}
    void SetTraceStack(CTraceStack* stack) { stack_ = stack; }
    chart::LSize GetSize(ChartDocument& doc, const ChartDC& dc) override;
    void Layout(const chart::LRect& r, const ChartDC& dc) override;
    void Update(ChartDocument& doc, const ChartDC& dc) override;
    void Draw(ChartDocument& doc, const ChartDC& dc) override;
    void OnScroll(int code, int position);

    const chart::YAxisState& state() const { return state_; }
    int position() const { return state_.position; }

private:
    void SyncBar();

    QScrollBar* bar_;
    CTraceStack* stack_ = nullptr;
    chart::YAxisState state_;
};

}  // namespace korv::boxlogger
