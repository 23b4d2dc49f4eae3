#include "boxlogger/gui/vxmlog_view.h"

#include "common/core/png_writer.h"
#include "platform/gui/qt_file_chooser.h"
#include "platform/gui/qt_message_box.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

namespace korv::boxlogger {

using chart::LRect;
using chart::LSize;

namespace {}  // namespace

int CVXMlogView::RunChartMenu(QWidget* owner, int menu_id, const QPoint& global) {
    QMenu menu(owner);
    auto add = [&](QMenu& m, const char* text, int id) { m.addAction(QString::fromLatin1(text))->setData(id); };
    switch (menu_id) {
    case kMenuTimeAxis:
        add(menu, "S&hrink", cmd::kShrink);
        add(menu, "E&xpand", cmd::kExpand);
        add(menu, "&Scaling...", cmd::kTimeScaling);
        add(menu, "&Forward", cmd::kForward);
        add(menu, "&Back", cmd::kBack);
        break;
    case kMenuTraceWidth:
        menu.setTitle(QStringLiteral("&Width"));
        add(menu, "&Hide", cmd::kTraceHide);
        add(menu, "Thi&n", cmd::kTraceThin);
        add(menu, "Thi&ck", cmd::kTraceThick);
        break;
    case kMenuTitle: add(menu, "Change", cmd::kTitleChange); break;
    default: return 0;
    }
    QAction* chosen = menu.exec(global);
    return chosen != nullptr ? chosen->data().toInt() : 0;
}

namespace {

// The scroll bar's action as the axes' scroll code.
int scroll_code(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: return chart::kLineUp;
    case QAbstractSlider::SliderSingleStepAdd: return chart::kLineDown;
    case QAbstractSlider::SliderPageStepSub: return chart::kPageUp;
    case QAbstractSlider::SliderPageStepAdd: return chart::kPageDown;
    case QAbstractSlider::SliderToMinimum: return chart::kTop;
    case QAbstractSlider::SliderToMaximum: return chart::kBottom;
    case QAbstractSlider::SliderMove: return chart::kThumbTrack;
    default: return -1;
    }
}

// The proposed export name: the document's path less its extension.
std::string export_name(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) return path.substr(0, dot);
    return path;
}

void match_resolution(QImage& image, const QWidget& widget) {
    image.setDotsPerMeterX(static_cast<int>(std::lround(widget.logicalDpiX() / 0.0254)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(widget.logicalDpiY() / 0.0254)));
}

}  // namespace

CVXMlogView::CVXMlogView(ChartDocument& doc, ChartColours* colours, QWidget* parent)
    : QWidget(parent),
      doc_(doc),
      own_colours_(colours == nullptr ? std::make_unique<ChartColours>() : nullptr),
      background_(colours != nullptr ? &colours->background : &own_colours_->background),
      foreground_(colours != nullptr ? &colours->foreground : &own_colours_->foreground),
      hbar_(new QScrollBar(Qt::Horizontal, this)),
      vbar_(new QScrollBar(Qt::Vertical, this)),
      title_(std::make_unique<CGraphTitle>(this)),
      legend_(std::make_unique<CGraphContainer>(this)),
      stack_(std::make_unique<CTraceStack>(this)),
      time_axis_(std::make_unique<CTimeAxis>(this, hbar_)),
      value_axis_(std::make_unique<CYAxis>(this, vbar_)) {
    legend_->SetTraceStack(stack_.get());
    stack_->SetAxes(time_axis_.get(), value_axis_.get());
    time_axis_->SetTraceStack(stack_.get());
    value_axis_->SetTraceStack(stack_.get());
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    hbar_->hide();
    vbar_->hide();
    connect(hbar_, &QAbstractSlider::actionTriggered, this, &CVXMlogView::OnHorizontalAction);
    connect(vbar_, &QAbstractSlider::actionTriggered, this, &CVXMlogView::OnVerticalAction);
    run_dialog_ = [](QDialog& dialog) { return dialog.exec() == QDialog::Accepted; };
    run_menu_ = [this](int menu_id, const QPoint& global) { return RunChartMenu(window(), menu_id, global); };
    printer_source_ = [] {
        auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        p->setPageOrientation(QPageLayout::Landscape);
        return p;
    };
    colour_of_ = [this](int) { return *foreground_; };
}

CVXMlogView::CVXMlogView(std::unique_ptr<ChartDocument> doc, ChartColours* colours, QWidget* parent)
    : CVXMlogView(*doc, colours, parent) {
    own_doc_ = std::move(doc);
}

CVXMlogView::~CVXMlogView() = default;

void CVXMlogView::TitleChanged() {
    if (title_changed_) title_changed_();
}

std::array<CGraphObject*, chart::kViewSlots> CVXMlogView::GraphSlots() const {
    return {title_.get(), legend_.get(), stack_.get(), time_axis_.get(), value_axis_.get(), nullptr};
}

ChartDC CVXMlogView::MeasureDC() { return ChartDC(this, nullptr, *background_, *foreground_); }

int CVXMlogView::ClientWidth(const ChartDC& dc) const { return dc.to_logical(rect()).width(); }

QPoint CVXMlogView::ToLogical(const QPoint& client_point) { return MeasureDC().to_logical(client_point); }

void CVXMlogView::Layout() {
    if (width() <= 0 || height() <= 0) return;
    const ChartDC dc = MeasureDC();
    const LRect client = dc.to_logical(rect());
    std::array<LSize, 5> sizes;
    const auto objects = GraphSlots();
    for (int i = 0; i < 5; ++i) sizes[i] = objects[i]->GetSize(doc_, dc);
    const std::array<LRect, 5> r = chart::LayoutViewSlots(client, sizes);
    for (int i : {0, 1, 2, 4, 3}) objects[i]->Layout(r[i], dc);
    layout_done_ = true;
    // The axes first: their ranges decide where the traces start.
    time_axis_->Update(doc_, dc);
    value_axis_->Update(doc_, dc);
    stack_->Restack(doc_);
    stack_->Update(doc_, dc);
    PlaceScrollBars();
    buffer_dirty_ = true;
    update();
}

void CVXMlogView::PlaceScrollBars() {
    const ChartDC dc = MeasureDC();
    const LRect& labels = time_axis_->label_rect();
    const QRectF h = dc.map(LRect{labels.left, labels.bottom, labels.right, time_axis_->rect().bottom});
    // Two pixels below the labels, at least as tall as the style wants.
    const int h_height = std::max(hbar_->sizeHint().height(), static_cast<int>(h.height()) - 2);
    hbar_->setGeometry(static_cast<int>(h.left()), static_cast<int>(h.top()) + 2, static_cast<int>(h.width()),
                       h_height);
    const QRectF v = dc.map(value_axis_->rect());
    vbar_->setGeometry(static_cast<int>(v.left()), static_cast<int>(v.top()), std::max(static_cast<int>(v.width()), 6),
                       static_cast<int>(v.height()));
    hbar_->show();
    vbar_->show();
}

void CVXMlogView::DrawChart(QPaintDevice* device, QPainter& painter, bool background) {
    const ChartDC dc(device, &painter, *background_, *foreground_);
    if (background) painter.fillRect(QRect(0, 0, device->width(), device->height()), dc.background());
    for (CGraphObject* object : GraphSlots())
        if (object != nullptr) object->Draw(doc_, dc);
}

void CVXMlogView::RenderBuffer() {
    if (buffer_.size() != size()) {
        buffer_ = QImage(size(), QImage::Format_RGB32);
        match_resolution(buffer_, *this);
    }
    QPainter painter(&buffer_);
    DrawChart(&buffer_, painter, true);
    buffer_dirty_ = false;
    ++full_renders_;
}

void CVXMlogView::paintEvent(QPaintEvent*) {
    if (!layout_done_) Layout();
    if (buffer_dirty_ || buffer_.size() != size()) RenderBuffer();
    QPainter painter(this);
    painter.drawImage(0, 0, buffer_);
}

void CVXMlogView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Layout();
}

void CVXMlogView::Recolour() {
    buffer_dirty_ = true;
    update();
}

void CVXMlogView::InvalidateChart(const LRect&) {
    buffer_dirty_ = true;
    update();
}

void CVXMlogView::OnUpdate(int hint, std::size_t first_new) {
    if (hint == 1125) {
        Layout();
        buffer_dirty_ = true;
        update();
        return;
    }
    if (hint != 1124 || !layout_done_) return;
    ChartSamples& samples = doc_.ChartSampleList();
    if (first_new >= samples.count()) return;
    const std::size_t last = samples.count() - 1;
    const bool can_draw = !buffer_dirty_ && buffer_.size() == size() && !buffer_.isNull();
    if (can_draw) {
        // Only the new stretch goes into the back buffer; the region shows it.
        QPainter painter(&buffer_);
        const ChartDC dc(&buffer_, &painter, *background_, *foreground_);
        for (CGraphObject* object : GraphSlots())
            if (object != nullptr) object->Append(first_new, last, dc, doc_);
        painter.end();
        update(dc.map(stack_->rect()).toAlignedRect());
    } else {
        const ChartDC dc = MeasureDC();
        for (CGraphObject* object : GraphSlots())
            if (object != nullptr) object->Append(first_new, last, dc, doc_);
    }
}

void CVXMlogView::OnCommand(int id) {
    const ChartDC dc = MeasureDC();
    switch (id) {
    case cmd::kTimeScaling:
    case cmd::kForward:
    case cmd::kBack: time_axis_->OnCommand(doc_, id, dc); break;
    case cmd::kShrink: time_axis_->NextScale(); break;
    case cmd::kExpand: time_axis_->PrevScale(); break;
    case cmd::kTitleChange: title_->OnCommand(doc_, id, dc); break;
    case cmd::kExportImage: ExportImage(); break;
    case cmd::kFilePrint: Print(); break;
    case cmd::kFilePrintDirect: PrintDirect(); break;
    case cmd::kFilePrintPreview: PrintPreview(); break;
    default: break;
    }
}

bool CVXMlogView::IsCommandEnabled(int id) const {
    if (id == cmd::kExportImage) return !doc_.IsCapturing() && doc_.ChartSampleList().count() > 0;
    return true;
}

void CVXMlogView::RelayTraces() {
    const ChartDC dc = MeasureDC();
    stack_->GetSize(doc_, dc);
    value_axis_->Update(doc_, dc);
    stack_->Restack(doc_);
    stack_->Update(doc_, dc);
    value_axis_->Invalidate();
    stack_->Invalidate();
}

void CVXMlogView::OnHorizontalAction(int action) {
    const int code = scroll_code(action);
    if (code >= 0) time_axis_->OnScroll(code, hbar_->sliderPosition());
    hbar_->setSliderPosition(time_axis_->position());
}

void CVXMlogView::OnVerticalAction(int action) {
    const int code = scroll_code(action);
    if (code >= 0) value_axis_->OnScroll(code, vbar_->sliderPosition());
    vbar_->setSliderPosition(value_axis_->position());
}

void CVXMlogView::wheelEvent(QWheelEvent* event) {
    const int step = wheel_.Add(event->angleDelta().y());
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    if (step > 0) {
        if (ctrl)
            time_axis_->PrevScale();
        else
            time_axis_->OnScroll(chart::kLineDown, 0);
    } else if (step < 0) {
        if (ctrl)
            time_axis_->NextScale();
        else
            time_axis_->OnScroll(chart::kLineUp, 0);
    }
    event->accept();
}

void CVXMlogView::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() != Qt::NoButton || event->modifiers() != Qt::NoModifier) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPoint p = ToLogical(event->position().toPoint());
    stack_->ShowValueAt(p.x(), p.y(), doc_);
}

void CVXMlogView::contextMenuEvent(QContextMenuEvent* event) {
    // A menu key has no point on the chart to act on.
    if (event->reason() == QContextMenuEvent::Keyboard) return;
    HandleContextMenu(event->pos(), event->globalPos());
}

void CVXMlogView::HandleContextMenu(const QPoint& client_point, const QPoint& global) {
    const QPoint p = ToLogical(client_point);
    CGraphObject* hit_object = nullptr;
    int hit = 0;
    for (CGraphObject* object : GraphSlots()) {
        if (object == nullptr) continue;
        hit = object->HitTest(p.x(), p.y());
        if (hit != 0) {
            hit_object = object;
            break;
        }
    }
    if (hit < 0) return;
    if (hit == 0) {
        const int id = run_menu_(0, global);
        if (id < cmd::kColourFirst || id > cmd::kColourLast) return;
        *background_ = ColourOfCommand(id);
        buffer_dirty_ = true;
        update();
        return;
    }
    const int id = run_menu_(hit, global);
    if (id != 0) hit_object->OnCommand(doc_, id, MeasureDC());
}

bool CVXMlogView::RunDialog(QDialog& dialog) { return run_dialog_(dialog); }

void CVXMlogView::Report(const std::string& text) {
    if (messages_ == nullptr) {
        own_messages_ = std::make_unique<platform::QtMessageBox>(this);
        messages_ = own_messages_.get();
    }
    messages_->show(text, "VXMlog", platform::MessageButtons::Ok, platform::MessageIcon::Warning);
}

std::uint32_t CVXMlogView::ColourOfCommand(int id) const { return colour_of_(id); }

void CVXMlogView::SetValuePane(const QString& text) {
    if (value_pane_) value_pane_(text);
}

QImage CVXMlogView::RenderImage() {
    if (!layout_done_) Layout();
    QImage image(size(), QImage::Format_RGB888);
    match_resolution(image, *this);
    QPainter painter(&image);
    DrawChart(&image, painter, true);
    painter.end();
    return image;
}

void CVXMlogView::ExportImage() {
    if (!IsCommandEnabled(cmd::kExportImage)) return;
    if (width() <= 0 || height() <= 0) {
        Report(kNoAreaToExport);
        return;
    }
    if (chooser_ == nullptr) {
        own_chooser_ = std::make_unique<platform::QtFileChooser>(this);
        chooser_ = own_chooser_.get();
    }
    platform::FileChooserRequest request;
    request.mode = platform::FileChooserMode::Save;
    request.file_name = export_name(doc_.ChartPathName());
    request.filters = {{"PNG (Portable Network Graphics)", {"*.png"}}, {"All Files", {"*.*"}}};
    request.default_extension = "png";
    request.overwrite_prompt = true;
    const std::optional<std::string> path = chooser_->choose(request);
    if (!path) return;
    const QImage image = RenderImage();
    if (const auto error = WritePngRgb(*path, image.width(), image.height(), image.constBits(),
                                       static_cast<std::size_t>(image.bytesPerLine())))
        Report("Unable to export the image to " + *path + ": " + *error);
}

QPrinter* CVXMlogView::printer() {
    if (!printer_) printer_ = printer_source_();
    return printer_.get();
}

void CVXMlogView::PrintOn(QPrinter* target) {
    if (!layout_done_) Layout();
    QPainter painter;
    if (!painter.begin(target)) {
        Report("Unable to print the chart.");
        return;
    }
    DrawChart(target, painter, false);
    painter.end();
}

void CVXMlogView::Print() {
    QPrinter* target = printer();
    if (target == nullptr) {
        Report("No printer to print on.");
        return;
    }
    QPrintDialog dialog(target, this);
    if (RunDialog(dialog)) PrintOn(target);
}

void CVXMlogView::PrintDirect() {
    QPrinter* target = printer();
    if (target == nullptr) {
        Report("No printer to print on.");
        return;
    }
    PrintOn(target);
}

void CVXMlogView::PrintPreview() {
    QPrinter* target = printer();
    if (target == nullptr) {
        Report("No printer to print on.");
        return;
    }
    QPrintPreviewDialog dialog(target, this);
    if (auto* preview = dialog.findChild<QPrintPreviewWidget*>()) preview->setSinglePageViewMode();
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { PrintOn(p); });
    RunDialog(dialog);
}

void CVXMlogView::PrintSetup() {
    QPrinter* target = printer();
    if (target == nullptr) {
        Report("No printer to print on.");
        return;
    }
    QPageSetupDialog dialog(target, this);
    RunDialog(dialog);
}

}  // namespace korv::boxlogger
