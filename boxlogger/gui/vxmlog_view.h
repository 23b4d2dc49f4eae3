#pragma once
// The chart view of a capture or review window: title, legend, trace stack,
// time axis and value axis laid out in the client area, drawn at 100 logical
// units per inch, with scrolling, the wheel, the pointer read-out, context
// menus, the chart commands, PNG export and printing.
#include "boxlogger/core/chart_maths.h"
#include "boxlogger/core/chart_source.h"
#include "boxlogger/gui/chart_dc.h"
#include "boxlogger/gui/graph_objects.h"
#include "platform/core/file_chooser.h"
#include "platform/core/message_box.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QDialog;
class QPrinter;
class QScrollBar;

namespace korv::boxlogger {

// The program-wide chart colours (0x00BBGGRR): every view reads them when
// it paints.
struct ChartColours {
    std::uint32_t background = 0x000000;  // Black
    std::uint32_t foreground = 0x808080;  // Gray
};

inline constexpr char kNoAreaToExport[] = "The chart has no area to export.";

class CVXMlogView : public QWidget {
    Q_OBJECT
public:
    // `colours` is shared by the program's views; null gives the view its own.
    explicit CVXMlogView(ChartDocument& doc, ChartColours* colours = nullptr, QWidget* parent = nullptr);
    // The same over a document the view keeps.
    explicit CVXMlogView(std::unique_ptr<ChartDocument> doc, ChartColours* colours = nullptr,
                         QWidget* parent = nullptr);
    ~CVXMlogView() override;

    ChartDocument& document() { return doc_; }
    std::uint32_t background() const { return *background_; }
    std::uint32_t foreground() const { return *foreground_; }
    // Reads (and, from the background menu, writes) the colours where the
    // program keeps them.
    void set_colour_source(std::uint32_t* background, std::uint32_t* foreground) {
        background_ = background;
        foreground_ = foreground;
    }
    // Repaints everything, after a colour change elsewhere.
    void Recolour();

    // The document's update hints: 1124 samples appended from `first_new`,
    // 1125 everything changed.
    void OnUpdate(int hint, std::size_t first_new = 0);
    // The chart commands (scaling, title, shrink, expand, forward, back,
    // export image, print, print direct, print preview).
    void OnCommand(int id);
    bool IsCommandEnabled(int id) const;
    void ExportImage();
    void Print();        // with the print dialog
    void PrintDirect();  // without it
    void PrintPreview();
    void PrintSetup();

    // The chart of the client area as 8-bit RGB, background included.
    QImage RenderImage();

    // Seams for the windows around the view and for tests.
    using DialogRunner = std::function<bool(QDialog&)>;  // true when accepted
    // Shows menu `menu_id` (0 and 144: the colour popup) at a screen point;
    // the chosen command id, or 0.
    using MenuRunner = std::function<int(int menu_id, const QPoint& global)>;
    using PrinterSource = std::function<std::unique_ptr<QPrinter>()>;
    using ColourSource = std::function<std::uint32_t(int id)>;
    using ValuePane = std::function<void(const QString&)>;
    using TitleListener = std::function<void()>;
    void set_title_changed(TitleListener t) { title_changed_ = std::move(t); }
    // The time-axis, trace-width and title menus as the view shows them.
    static int RunChartMenu(QWidget* owner, int menu_id, const QPoint& global);
    void set_dialog_runner(DialogRunner r) { run_dialog_ = std::move(r); }
    void set_menu_runner(MenuRunner r) { run_menu_ = std::move(r); }
    void set_printer_source(PrinterSource s) { printer_source_ = std::move(s); }
    void set_colour_of_command(ColourSource c) { colour_of_ = std::move(c); }
    void set_value_pane(ValuePane p) { value_pane_ = std::move(p); }
    void set_file_chooser(platform::FileChooser* c) { chooser_ = c; }
    void set_message_box(platform::MessageBox* m) { messages_ = m; }

    // What the graph objects call.
    void InvalidateChart(const chart::LRect& r);
    bool RunDialog(QDialog& dialog);
    void Report(const std::string& text);
    std::uint32_t ColourOfCommand(int id) const;
    void SetValuePane(const QString& text);
    void TitleChanged();
    int ClientWidth(const ChartDC& dc) const;
    ChartDC MeasureDC();
    // Sizes, stacks and refills the traces after a legend change.
    void RelayTraces();

    CGraphTitle* title() const { return title_.get(); }
    CGraphContainer* legend() const { return legend_.get(); }
    CTraceStack* stack() const { return stack_.get(); }
    CTimeAxis* time_axis() const { return time_axis_.get(); }
    CYAxis* value_axis() const { return value_axis_.get(); }
    QScrollBar* horizontal_bar() const { return hbar_; }
    QScrollBar* vertical_bar() const { return vbar_; }
    bool layout_done() const { return layout_done_; }
    // How often the whole chart was drawn into the back buffer.
    int full_renders() const { return full_renders_; }
    // The logical point of a point in the client area.
    QPoint ToLogical(const QPoint& client_point);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void Layout();
    void PlaceScrollBars();
    void DrawChart(QPaintDevice* device, QPainter& painter, bool background);
    void RenderBuffer();
    void OnHorizontalAction(int action);
    void OnVerticalAction(int action);
    void HandleContextMenu(const QPoint& client_point, const QPoint& global);
    void PrintOn(QPrinter* printer);
    QPrinter* printer();
    std::array<CGraphObject*, chart::kViewSlots> GraphSlots() const;

    ChartDocument& doc_;
    std::unique_ptr<ChartDocument> own_doc_;
    std::unique_ptr<ChartColours> own_colours_;
    std::uint32_t* background_;
    std::uint32_t* foreground_;
    QScrollBar* hbar_;
    QScrollBar* vbar_;
    std::unique_ptr<CGraphTitle> title_;
    std::unique_ptr<CGraphContainer> legend_;
    std::unique_ptr<CTraceStack> stack_;
    std::unique_ptr<CTimeAxis> time_axis_;
    std::unique_ptr<CYAxis> value_axis_;
    bool layout_done_ = false;
    chart::WheelAccumulator wheel_;
    QImage buffer_;
    bool buffer_dirty_ = true;
    int full_renders_ = 0;

    DialogRunner run_dialog_;
    MenuRunner run_menu_;
    PrinterSource printer_source_;
    std::unique_ptr<QPrinter> printer_;
    ColourSource colour_of_;
    ValuePane value_pane_;
    TitleListener title_changed_;
    platform::FileChooser* chooser_ = nullptr;
    platform::MessageBox* messages_ = nullptr;
    std::unique_ptr<platform::FileChooser> own_chooser_;
    std::unique_ptr<platform::MessageBox> own_messages_;
};

}  // namespace korv::boxlogger
