#include "boxlogger/gui/graph_objects.h"

#include "boxlogger/gui/chart_dialogs.h"
#include "boxlogger/gui/vxmlog_view.h"
#include "common/core/colour.h"
#include "common/gui/qt_colour.h"
#include "platform/gui/windows1252_text.h"

#include <QScrollBar>

#include <algorithm>

namespace korv::boxlogger {

using chart::LRect;
using chart::LSize;

namespace {

QString text_of(const std::string& bytes) { return platform::qstring_from_windows1252(bytes); }

const CDataAttributes* attributes_of(ChartDocument& doc, std::size_t channel) {
    auto& channels = doc.ChartChannels();
    return channel < channels.size() ? &channels[channel] : nullptr;
}

std::vector<std::int32_t> ids_of(ChartDocument& doc) {
    std::vector<std::int32_t> ids;
    for (const CDataAttributes& a : doc.ChartChannels()) ids.push_back(a.id);
    return ids;
}

}  // namespace

void CGraphObject::Invalidate(const LRect* r) { view_->InvalidateChart(r != nullptr ? *r : rect_); }

// ---- Title -----------------------------------------------------------------

LSize CGraphTitle::GetSize(ChartDocument& doc, const ChartDC& dc) {
    text_ = text_of(doc.ChartTitle());
    return {dc.text_width(text_) + 4, dc.text_height() + 4};
}

void CGraphTitle::Layout(const LRect& r, const ChartDC& dc) {
    rect_ = r;
    const int w = dc.text_width(text_);
    const int x = r.left + (r.right - r.left) / 2 - w / 2 + 2;
    text_rect_ = {x, r.top - 2, x + w, r.top - 2 - dc.text_height()};
}

void CGraphTitle::Draw(ChartDocument&, const ChartDC& dc) {
    dc.text(text_rect_.left, text_rect_.top, text_, ChartDC::Align::Left, dc.foreground());
}

int CGraphTitle::HitTest(int x, int y) const { return text_rect_.contains(x, y) ? kMenuTitle : 0; }

void CGraphTitle::OnCommand(ChartDocument& doc, int id, const ChartDC& dc) {
    if (id != cmd::kTitleChange) return;
    CTitleDlg dialog(view_);
    dialog.SetTitle(text_of(doc.ChartTitle()));
    if (!view_->RunDialog(dialog)) return;
    const std::optional<std::string> bytes = platform::windows1252_from_qstring(dialog.Title());
    if (!bytes) {
        view_->Report("The title holds a character that cannot be stored.");
        return;
    }
    doc.SetChartTitle(*bytes);
    view_->TitleChanged();
    Invalidate();
    GetSize(doc, dc);
    Layout(rect_, dc);
    Invalidate();
}

// ---- Legend ----------------------------------------------------------------

LSize CLegendItem::GetSize(ChartDocument& doc, const ChartDC& dc) {
    const CDataAttributes* a = attributes_of(doc, channel_);
    const int th = dc.text_height();
    return {dc.text_width(a != nullptr ? text_of(a->label) : QString()) + th + 6, th + 4};
}

void CLegendItem::Layout(const LRect& r, const ChartDC&) {
    item_height_ = r.height();
    rect_ = {r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
}

LRect CLegendItem::Swatch() const {
    const int h = item_height_;
    return {rect_.left, rect_.top - h / 4, rect_.left + h, rect_.bottom + h / 4};
}

void CLegendItem::Draw(ChartDocument& doc, const ChartDC& dc) {
    const CDataAttributes* a = attributes_of(doc, channel_);
    if (a == nullptr) return;
    const LRect swatch = Swatch();
    dc.fill(swatch, a->trace_width != 0 ? to_qcolor(colour_from_bgr(a->colour)) : dc.background());
    dc.outline(swatch, dc.foreground());
    const int text_top = rect_.top - (rect_.height() - dc.text_height()) / 2;
    dc.text(LabelLeft(), text_top, text_of(a->label), ChartDC::Align::Left, dc.foreground());
}

int CLegendItem::HitTest(int x, int y) const {
    if (!rect_.contains(x, y)) return 0;
    return x >= Swatch().right ? kMenuTraceWidth : kMenuColour;
}

void CLegendItem::OnCommand(ChartDocument& doc, int id, const ChartDC&) {
    auto& channels = doc.ChartChannels();
    if (channel_ >= channels.size()) return;
    CDataAttributes& a = channels[channel_];
    if (id >= cmd::kTraceHide && id <= cmd::kTraceThick)
        a.trace_width = id - cmd::kTraceHide;
    else if (id >= cmd::kColourFirst && id <= cmd::kColourLast)
        a.colour = view_->ColourOfCommand(id);
    else
        return;
    Invalidate();
}

LSize CGraphContainer::GetSize(ChartDocument& doc, const ChartDC& dc) {
    const std::vector<std::int32_t> ids = ids_of(doc);
    if (ids != ids_) {
        ids_ = ids;
        hit_ = nullptr;
        items_.clear();
        for (std::size_t i = 0; i < ids.size(); ++i) items_.push_back(std::make_unique<CLegendItem>(view_, i));
    }
    std::vector<LSize> sizes;
    for (auto& item : items_) sizes.push_back(item->GetSize(doc, dc));
    grid_ = chart::LayoutLegend(sizes, view_->ClientWidth(dc));
    return grid_.size;
}

void CGraphContainer::Layout(const LRect& r, const ChartDC& dc) {
    rect_ = r;
    for (std::size_t k = 0; k < items_.size(); ++k) {
        const auto [x, y] = grid_.ItemOrigin(static_cast<int>(k), r.left, r.top);
        items_[k]->Layout({x, y, x + grid_.column_width, y - grid_.item_height}, dc);
    }
}

void CGraphContainer::Draw(ChartDocument& doc, const ChartDC& dc) {
    for (auto& item : items_) item->Draw(doc, dc);
}

int CGraphContainer::HitTest(int x, int y) const {
    for (auto& item : items_) {
        const int hit = item->HitTest(x, y);
        if (hit > 0) {
            hit_ = item.get();
            return hit;
        }
    }
    return CGraphObject::HitTest(x, y);
}

void CGraphContainer::OnCommand(ChartDocument& doc, int id, const ChartDC& dc) {
    if (hit_ == nullptr) return;
    hit_->OnCommand(doc, id, dc);
    if (stack_ != nullptr) view_->RelayTraces();
}

// ---- Traces ----------------------------------------------------------------

LSize CTrace::GetSize(ChartDocument& doc, const ChartDC&) {
    const CDataAttributes* a = attributes_of(doc, channel_);
    return a == nullptr || a->trace_width == 0 ? LSize{} : chart::kValueTraceSize;
}

LSize CSwitchTrace::GetSize(ChartDocument& doc, const ChartDC&) {
    const CDataAttributes* a = attributes_of(doc, channel_);
    return a == nullptr || a->trace_width == 0 ? LSize{} : chart::kSwitchTraceSize;
}

void CTrace::Layout(const LRect& r, const ChartDC&) { rect_ = r; }

void CTrace::Place(const LRect& band, int label_column, const CDataAttributes& a) {
    rect_ = band;
    plot_ = band;
    plot_.left += label_column;
    grid_divisions_ = chart::GridDivisions(plot_.top, plot_.bottom);
    mapping_ = chart::MapValues(plot_.top, plot_.bottom, a.min, a.max);
}

void CTrace::DrawFrameAndTimeGrid(const CDataAttributes&, const ChartDC& dc) const {
    const QColor fg = dc.foreground();
    const LRect& p = plot_;
    dc.line(p.right, p.bottom - 1, p.left - 1, p.bottom - 1, fg);
    dc.line(p.left - 1, p.bottom - 1, p.left - 1, p.top + 1, fg);
    dc.line(p.left - 1, p.top + 1, p.right, p.top + 1, fg);
    const double spacing = axis_ != nullptr ? axis_->label_step().spacing : 0.0;
    if (spacing >= 1.0)
        for (int k = 1;; ++k) {
            const int x = p.left + static_cast<int>(k * spacing + 0.5);
            if (x >= p.right) break;
            dc.line(x, p.bottom, x, p.top, fg, 1, true);
        }
}

void CTrace::Draw(ChartDocument& doc, const ChartDC& dc) {
    const CDataAttributes* a = attributes_of(doc, channel_);
    if (!shown_ || a == nullptr) return;
    DrawFrameAndTimeGrid(*a, dc);
    const QColor fg = dc.foreground();
    const LRect& p = plot_;
    // The range's ends first: a reader needs them most.
    std::vector<int> lines{p.bottom, p.top};
    std::vector<float> fractions{0.0f, 1.0f};
    for (int j = 1; j < grid_divisions_; ++j) {
        const float fraction = static_cast<float>(j) / grid_divisions_;
        const int y = p.bottom + static_cast<int>((p.top - p.bottom) * static_cast<double>(fraction) + 0.5);
        lines.push_back(y);
        fractions.push_back(fraction);
        dc.line(p.left, y, p.right, y, fg, 1, true);
    }
    const std::vector<std::optional<int>> tops =
        chart::PlaceScaleLabels(lines, rect_.top, rect_.bottom, dc.text_height());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        dc.line(p.left - 7, lines[i], p.left - 2, lines[i], fg);
        if (!tops[i]) continue;
        dc.text(p.left - 10, *tops[i],
                QString::fromStdString(chart::FormatScaleLabel(a->ValueAtFraction(fractions[i]))),
                ChartDC::Align::Right, fg);
    }
    DrawBandLabel(*a, dc);
    DrawFrom(0, doc, dc);
}

void CTrace::DrawBandLabel(const CDataAttributes& a, const ChartDC& dc) const {
    // A label longer than its band is shortened, and left out where not even
    // its first letter fits: a thin switch band shows its name in the legend.
    const QString label = dc.fit_upright(text_of(a.label), rect_.top - rect_.bottom);
    if (label.isEmpty()) return;
    dc.vertical_text(rect_.left + dc.text_height() / 2, (rect_.top + rect_.bottom) / 2, label, dc.foreground());
}

void CTrace::DrawFrom(std::size_t from, ChartDocument& doc, const ChartDC& dc) {
    const CDataAttributes* a = attributes_of(doc, channel_);
    if (!shown_ || a == nullptr || a->trace_width == 0) return;
    dc.polyline(points_, from, to_qcolor(colour_from_bgr(a->colour)), a->trace_width, plot_);
}

bool CTrace::ShowValueAt(int x, int y, ChartDocument&) { return shown_ && plot_.contains(x, y); }

void CSwitchTrace::Draw(ChartDocument& doc, const ChartDC& dc) {
    const CDataAttributes* a = attributes_of(doc, channel_);
    if (!shown_ || a == nullptr) return;
    DrawFrameAndTimeGrid(*a, dc);
    DrawBandLabel(*a, dc);
    FillRuns(0, *a, dc);
}

void CSwitchTrace::DrawFrom(std::size_t from, ChartDocument& doc, const ChartDC& dc) {
    const CDataAttributes* a = attributes_of(doc, channel_);
    if (!shown_ || a == nullptr) return;
    FillRuns(from, *a, dc);
}

void CSwitchTrace::FillRuns(std::size_t from, const CDataAttributes& a, const ChartDC& dc) const {
    const int middle = (plot_.top + plot_.bottom) / 2;
    for (const auto& [x1, x2] : chart::SwitchRuns(points_, middle, from)) {
        const int left = std::max(x1, plot_.left), right = std::min(x2, plot_.right);
        if (right > left) dc.fill({left, plot_.top + 1, right, plot_.bottom - 1}, to_qcolor(colour_from_bgr(a.colour)));
    }
}

// ---- Trace stack -----------------------------------------------------------

void CTraceStack::SetAxes(CTimeAxis* time_axis, CYAxis* value_axis) {
    time_axis_ = time_axis;
    value_axis_ = value_axis;
    for (auto& t : traces_) t->SetTimeAxis(time_axis);
}

void CTraceStack::Rebuild(ChartDocument& doc) {
    const std::vector<std::int32_t> ids = ids_of(doc);
    if (ids == ids_) return;
    ids_ = ids;
    traces_.clear();
    const auto& channels = doc.ChartChannels();
    for (std::size_t i = 0; i < channels.size(); ++i) {
        if (channels[i].kind == 0)
            traces_.push_back(std::make_unique<CTrace>(view_, i));
        else
            traces_.push_back(std::make_unique<CSwitchTrace>(view_, i));
        traces_.back()->SetTimeAxis(time_axis_);
    }
}

LSize CTraceStack::GetSize(ChartDocument& doc, const ChartDC& dc) {
    Rebuild(doc);
    LSize size;
    for (auto& t : traces_) {
        const LSize s = t->GetSize(doc, dc);
        size.width = std::max(size.width, s.width);
        size.height += s.height;
    }
    content_height_ = size.height;
    return size;
}

void CTraceStack::Layout(const LRect& r, const ChartDC& dc) {
    rect_ = r;
    rect_.right -= 2;
    label_column_ = dc.text_width(QStringLiteral("0000.0000")) + dc.text_height() + 4;
    Restack(view_->document());
}

void CTraceStack::Restack(ChartDocument& doc) {
    Rebuild(doc);
    std::vector<chart::StackEntry> entries;
    const ChartDC measure = view_->MeasureDC();
    content_height_ = 0;
    for (auto& t : traces_) {
        const LSize s = t->GetSize(doc, measure);
        entries.push_back({s.height, !t->IsSwitch()});
        content_height_ += s.height;
    }
    const int offset = value_axis_ != nullptr ? value_axis_->position() : 0;
    const chart::StackResult r = chart::StackTraces(entries, rect_.top, rect_.bottom, offset);
    line_up_ = r.line_up;
    line_down_ = r.line_down;
    const auto& channels = doc.ChartChannels();
    for (std::size_t i = 0; i < traces_.size(); ++i) {
        traces_[i]->SetShown(r.bands[i].shown);
        if (r.bands[i].shown)
            traces_[i]->Place({rect_.left, r.bands[i].top, rect_.right, r.bands[i].bottom}, label_column_,
                              channels[traces_[i]->channel()]);
    }
}

LRect CTraceStack::plot_area() const { return {rect_.left + label_column_, rect_.top, rect_.right, rect_.bottom}; }

void CTraceStack::Update(ChartDocument& doc, const ChartDC&) {
    Rebuild(doc);
    for (auto& t : traces_) t->ClearPoints();
    previous_x_ = INT_MIN;
    reached_edge_ = false;
    next_sample_ = 0;
    if (time_axis_ == nullptr) return;
    ChartSamples& samples = doc.ChartSampleList();
    const std::optional<std::size_t> first = samples.SeekTime(static_cast<float>(time_axis_->position()));
    if (!first) return;
    Append(*first, samples.count() - 1, view_->MeasureDC(), doc);
}

void CTraceStack::Append(std::size_t first_new, std::size_t last, const ChartDC& dc, ChartDocument& doc) {
    if (time_axis_ == nullptr || reached_edge_) return;
    ChartSamples& samples = doc.ChartSampleList();
    const std::size_t end = std::min(last + 1, samples.count());
    first_new = std::max(first_new, next_sample_);
    if (first_new >= end) return;
    std::vector<CTrace*> shown;
    std::vector<std::size_t> before;
    for (auto& t : traces_)
        if (t->shown()) {
            shown.push_back(t.get());
            before.push_back(t->points().size());
        }
    const LRect plot = plot_area();
    reached_edge_ = !chart::CollectPoints(
        first_new, end, [&](std::size_t i) { return samples.time(i); }, plot.left, plot.right, time_axis_->scale(),
        time_axis_->position(), previous_x_,
        [&](std::size_t i, int x) {
            for (CTrace* t : shown) t->AddPoint(x, samples.value(i, t->channel()));
        });
    next_sample_ = end;
    if (dc.painter() == nullptr) return;
    for (std::size_t k = 0; k < shown.size(); ++k)
        if (shown[k]->points().size() > before[k]) shown[k]->DrawFrom(before[k] > 0 ? before[k] - 1 : 0, doc, dc);
}

void CTraceStack::Draw(ChartDocument& doc, const ChartDC& dc) {
    for (auto& t : traces_) t->Draw(doc, dc);
}

bool CTraceStack::ShowValueAt(int x, int y, ChartDocument& doc) {
    if (time_axis_ == nullptr) return false;
    for (auto& t : traces_) {
        if (!t->ShowValueAt(x, y, doc)) continue;
        const double time = chart::XToTime(t->plot().left, time_axis_->scale(), x, time_axis_->position());
        const std::optional<std::size_t> i = doc.ChartSampleList().FindByTime(static_cast<float>(time));
        const CDataAttributes* a = attributes_of(doc, t->channel());
        if (!i || a == nullptr) return false;
        view_->SetValuePane(text_of(a->FormatValue(doc.ChartSampleList().value(*i, t->channel()), false)));
        return true;
    }
    return false;
}

// ---- Time axis -------------------------------------------------------------

LSize CTimeAxis::GetSize(ChartDocument&, const ChartDC& dc) {
    return {view_->ClientWidth(dc), 2 * dc.text_height() + 7};
}

void CTimeAxis::Layout(const LRect& r, const ChartDC& dc) {
    rect_ = r;
    const int column = stack_ != nullptr ? stack_->label_column() : 0;
    label_rect_ = {r.left + column, r.top, r.right - 2, r.top - (dc.text_height() + 7)};
    label_width_ = static_cast<int>(dc.text_width(QStringLiteral("00:00:00")) * 1.25 + 2);
}

void CTimeAxis::Update(ChartDocument& doc, const ChartDC&) {
    const int width = label_rect_.width();
    if (width != last_width_ || state_.scale != last_scale_) {
        step_ = chart::ComputeLabelStep(width, state_.scale, label_width_);
        last_width_ = width;
        last_scale_ = state_.scale;
    }
    ChartSamples& samples = doc.ChartSampleList();
    const std::size_t n = samples.count();
    state_.SetRange(n > 0, n > 0 ? samples.time(n - 1) : 0.0f, step_.visible_seconds);
    SyncBar();
}

void CTimeAxis::Append(std::size_t, std::size_t last, const ChartDC& dc, ChartDocument& doc) {
    ChartSamples& samples = doc.ChartSampleList();
    if (last >= samples.count()) return;
    const double right_edge = state_.position + label_rect_.width() * state_.scale / 100.0;
    if (right_edge >= samples.time(last)) {
        Update(doc, dc);
        return;
    }
    Update(doc, dc);  // the range now reaches the new samples
    OnScroll(chart::kLineDown, 0);
}

void CTimeAxis::Draw(ChartDocument&, const ChartDC& dc) {
    if (step_.spacing <= 0.0) return;
    for (int k = 0;; ++k) {
        const int x = label_rect_.left + static_cast<int>(k * step_.spacing + 0.5);
        if (x > label_rect_.right) break;
        dc.line(x, label_rect_.top, x, label_rect_.top - 5, dc.foreground());
        const int seconds = static_cast<int>(std::min<long long>(
            INT_MAX, static_cast<long long>(state_.position) + static_cast<long long>(k) * step_.step));
        dc.text(x, label_rect_.top - 5, QString::fromStdString(chart::FormatClock(seconds)), ChartDC::Align::Centre,
                dc.foreground());
    }
}

int CTimeAxis::HitTest(int x, int y) const { return label_rect_.contains(x, y) ? kMenuTimeAxis : 0; }

void CTimeAxis::OnCommand(ChartDocument&, int id, const ChartDC&) {
    switch (id) {
    case cmd::kTimeScaling: {
        CScaleDlg dialog(view_);
        const int index = chart::IndexOfScale(state_.scale);
        dialog.SetSelection(chart::kTimeScales[index] == state_.scale ? index : -1);
        if (!view_->RunDialog(dialog) || dialog.Selection() < 0) return;
        if (SetScaleIndex(dialog.Selection())) Changed();
        return;
    }
    case cmd::kShrink: NextScale(); return;
    case cmd::kExpand: PrevScale(); return;
    case cmd::kForward: OnScroll(chart::kLineDown, 0); return;
    case cmd::kBack: OnScroll(chart::kLineUp, 0); return;
    default: return;
    }
}

void CTimeAxis::NextScale() {
    if (state_.NextScale()) Changed();
}

void CTimeAxis::PrevScale() {
    if (state_.PrevScale()) Changed();
}

void CTimeAxis::OnScroll(int code, int position) {
    if (state_.Scroll(code, position))
        Changed();
    else
        SyncBar();
}

void CTimeAxis::Changed() {
    ChartDocument& doc = view_->document();
    const ChartDC dc = view_->MeasureDC();
    Update(doc, dc);
    if (stack_ != nullptr) stack_->Update(doc, dc);
    Invalidate();
    if (stack_ != nullptr) stack_->Invalidate();
}

void CTimeAxis::SyncBar() {
    if (bar_ == nullptr) return;
    const QSignalBlocker block(bar_);
    bar_->setRange(0, state_.maximum);
    bar_->setPageStep(std::max(1, state_.page));
    bar_->setSingleStep(state_.scale);
    bar_->setValue(state_.position);
}

// ---- Value axis ------------------------------------------------------------

LSize CYAxis::GetSize(ChartDocument&, const ChartDC& dc) { return {10, dc.text_height() + 2}; }

void CYAxis::Layout(const LRect& r, const ChartDC&) { rect_ = {r.left + 2, r.top, r.right, r.bottom}; }

void CYAxis::Update(ChartDocument&, const ChartDC&) {
    if (stack_ == nullptr) return;
    if (state_.Update(stack_->content_height(), stack_->rect().height())) SyncBar();
}

void CYAxis::Draw(ChartDocument&, const ChartDC&) { SyncBar(); }

void CYAxis::OnScroll(int code, int position) {
    if (stack_ == nullptr) return;
    if (!state_.Scroll(code, position, stack_->line_up(), stack_->line_down())) {
        SyncBar();
        return;
    }
    SyncBar();
    ChartDocument& doc = view_->document();
    stack_->Restack(doc);
    stack_->Update(doc, view_->MeasureDC());
    stack_->Invalidate();
}

void CYAxis::SyncBar() {
    if (bar_ == nullptr) return;
    const QSignalBlocker block(bar_);
    bar_->setRange(0, std::max(0, state_.maximum - state_.page));
    bar_->setPageStep(std::max(1, state_.page));
    bar_->setSingleStep(std::max(1, stack_ != nullptr ? stack_->line_down() : 1));
    bar_->setValue(state_.position);
}

}  // namespace korv::boxlogger
