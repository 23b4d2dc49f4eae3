#include "boxlogger/core/sample_list_chart.h"
#include "common/core/colour.h"
#include "common/gui/qt_colour.h"
#include "boxlogger/gui/chart_dialogs.h"
#include "boxlogger/gui/vxmlog_view.h"
#include "platform/core/scripted_file_chooser.h"
#include "platform/core/scripted_message_box.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>

namespace korv::boxlogger {
namespace {

constexpr std::uint32_t kRed = 0x0000FF;  // 0x00BBGGRR
constexpr std::uint32_t kLime = 0x00FF00;

CDataAttributes channel(int id, std::uint32_t colour, int width = 2) {
    CDataAttributes a(id);
    a.colour = colour;
    a.trace_width = width;
    return a;
}

// Engine speed (0-8000) and the A/C switch, one sample every half second.
struct ChartFixture : ::testing::Test {
    void SetUp() override {
        doc.title = "Run";
        doc.path_name = "/tmp/runs/run.vxg";
        doc.channels = {channel(9, kRed), channel(19, kLime)};
        add_samples(0, 41);  // 0 .. 20 s
    }
    void add_samples(int from, int to) {
        for (int i = from; i < to; ++i) doc.samples.Append(i * 0.5f, {4000.0f, 1.0f});
    }
    std::unique_ptr<CVXMlogView> make_view(int w = 600, int h = 400) {
        auto view = std::make_unique<CVXMlogView>(doc);
        view->set_message_box(&messages);
        view->set_file_chooser(&files);
        view->set_menu_runner([this](int id, const QPoint&) {
            menus.push_back(id);
            return menu_answer;
        });
        view->set_colour_of_command([](int id) { return id == 32809 ? kRed : 0xFFFFFFu; });
        view->resize(w, h);
        view->show();
        QApplication::processEvents();
        return view;
    }
    // The device pixel of a logical point.
    static QPoint device(CVXMlogView& view, int x, int y) { return view.MeasureDC().map(x, y).toPoint(); }
    // True when a pixel within `reach` rows of p has the colour.
    static bool colour_near(const QImage& image, QPoint p, std::uint32_t bgr, int reach = 2) {
        for (int dy = -reach; dy <= reach; ++dy)
            if (image.pixelColor(p.x(), p.y() + dy) == to_qcolor(colour_from_bgr(bgr))) return true;
        return false;
    }

    MemoryChartDocument doc;
    platform::ScriptedMessageBox messages;
    platform::ScriptedFileChooser files;
    std::vector<int> menus;
    int menu_answer = 0;
};

TEST_F(ChartFixture, LaysOutTracesUnderTheLegendWithAxesBesideThem) {
    auto view = make_view();
    ASSERT_TRUE(view->layout_done());
    CTraceStack& stack = *view->stack();
    ASSERT_EQ(stack.traces(), 2u);
    EXPECT_FALSE(stack.trace(0).IsSwitch());
    EXPECT_TRUE(stack.trace(1).IsSwitch());
    EXPECT_TRUE(stack.trace(0).shown());
    EXPECT_TRUE(stack.trace(1).shown());
    EXPECT_LT(stack.rect().top, view->legend()->rect().bottom);
    EXPECT_EQ(view->value_axis()->rect().top, stack.rect().top);
    EXPECT_GT(view->time_axis()->rect().top, stack.rect().bottom - 2);
    // 20 s at 2 s per inch: 10 inches, beyond a 600-pixel plot, so it stops at the edge.
    const auto& points = stack.trace(0).points();
    ASSERT_FALSE(points.empty());
    EXPECT_EQ(points.front().x, stack.trace(0).plot().left);
    EXPECT_LE(points.back().x, stack.trace(0).plot().right);
    EXPECT_EQ(view->time_axis()->state().maximum, 20);
}

TEST_F(ChartFixture, HiddenTraceKeepsItsLegendItemWithABackgroundSwatch) {
    doc.channels[0].trace_width = 0;
    auto view = make_view();
    EXPECT_FALSE(view->stack()->trace(0).shown());
    EXPECT_TRUE(view->stack()->trace(1).shown());
    ASSERT_EQ(view->legend()->items(), 2u);
    const QImage image = view->RenderImage();
    auto swatch_centre = [&](std::size_t i) {
        const chart::LRect& r = view->legend()->item(i).rect();
        return device(*view, r.left + r.height() / 2, (r.top + r.bottom) / 2);
    };
    EXPECT_EQ(image.pixelColor(swatch_centre(0)), to_qcolor(colour_from_bgr(view->background())));
    EXPECT_EQ(image.pixelColor(swatch_centre(1)), to_qcolor(colour_from_bgr(kLime)));
}

// Each swatch is as wide as a legend item is high; its label starts 2 units
// after it and ends before the next item's swatch.
TEST_F(ChartFixture, LegendSwatchesAreItemHighAndLabelsClearTheNextSwatch) {
    doc.channels[0].label = "Coolant Temperature";
    doc.channels[1].label = "Engine Speed";
    auto view = make_view(900, 400);
    ASSERT_EQ(view->legend()->items(), 2u);
    const ChartDC dc = view->MeasureDC();
    const int item_height = dc.text_height() + 4;
    const QImage image = view->RenderImage();
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const CLegendItem& item = view->legend()->item(i);
        // The swatch as painted: the run of its colour along its middle.
        const std::uint32_t colour = doc.channels[i].colour;
        const int middle_y = (item.rect().top + item.rect().bottom) / 2;
        QPoint p = device(*view, item.rect().left + 2, middle_y);
        ASSERT_EQ(image.pixelColor(p), to_qcolor(colour_from_bgr(colour)));
        while (image.pixelColor(p.x() + 1, p.y()) == to_qcolor(colour_from_bgr(colour))) p.rx()++;
        EXPECT_NEAR(p.x(), device(*view, item.rect().left + item_height, middle_y).x(), 1);
        EXPECT_EQ(item.Swatch().right - item.Swatch().left, item_height);
        EXPECT_EQ(item.LabelLeft(), item.Swatch().right + 2);
    }
    const CLegendItem& first = view->legend()->item(0);
    const CLegendItem& second = view->legend()->item(1);
    ASSERT_EQ(first.rect().top, second.rect().top) << "one row";
    EXPECT_LT(first.LabelLeft() + dc.text_width("Coolant Temperature"), second.Swatch().left);
}

// The label column as painted: between two bands and under the last one
// (down to the time axis) nothing is drawn, so no band's labels, upright or
// scale, reach a neighbour or another item. Set KORV_KEEP_IMAGE to a .png
// path to look at the chart.
TEST_F(ChartFixture, LabelsStayInsideTheirBands) {
    doc.channels = {channel(9, kRed), channel(24, kLime), channel(19, kLime), channel(7, kRed), channel(10, kRed)};
    doc.samples = {};
    for (int i = 0; i < 41; ++i) doc.samples.Append(i * 0.5f, {4000.0f, 1.0f, 0.0f, 50.0f, 3.0f});
    auto view = make_view(600, 500);
    const CTraceStack& stack = *view->stack();
    ASSERT_EQ(stack.traces(), 5u);
    std::vector<chart::LRect> bands;
    for (std::size_t i = 0; i < stack.traces(); ++i) {
        ASSERT_TRUE(stack.trace(i).shown()) << i;
        bands.push_back(stack.trace(i).rect());
    }
    const QImage image = view->RenderImage();
    if (const char* keep = std::getenv("KORV_KEEP_IMAGE")) image.save(keep);
    const QColor background = to_qcolor(colour_from_bgr(view->background()));
    // The label column, short of the ticks and the frame.
    const int left = device(*view, stack.rect().left, 0).x();
    const int right = device(*view, stack.trace(0).plot().left - 8, 0).x();
    const auto painted_rows = [&](int from_row, int to_row) {
        std::vector<int> rows;
        for (int y = from_row; y <= to_row; ++y)
            for (int x = left; x <= right; ++x)
                if (image.pixelColor(x, y) != background) {
                    rows.push_back(y);
                    break;
                }
        return rows;
    };
    for (std::size_t i = 0; i + 1 < bands.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(painted_rows(device(*view, 0, bands[i].bottom).y() + 1, device(*view, 0, bands[i + 1].top).y() - 1),
                  std::vector<int>{});
    }
    // Down to where the time axis's own labels begin, under its ticks.
    EXPECT_EQ(painted_rows(device(*view, 0, bands.back().bottom).y() + 1,
                           device(*view, 0, view->time_axis()->label_rect().top - 5).y() - 1),
              std::vector<int>{})
        << "into the time axis";
    // The bands' own labels are there: the value bands' scales and names.
    EXPECT_NE(painted_rows(device(*view, 0, bands[0].top).y(), device(*view, 0, bands[0].bottom).y()),
              std::vector<int>{});
}

TEST_F(ChartFixture, SwitchOnThroughoutIsFilledEndToEnd) {
    auto view = make_view();
    const CTrace& sw = view->stack()->trace(1);
    const auto& points = sw.points();
    ASSERT_GE(points.size(), 3u);
    const QImage image = view->RenderImage();
    const int middle = (sw.plot().top + sw.plot().bottom) / 2;
    for (int x : {points.front().x + 1, (points.front().x + points.back().x) / 2, points.back().x - 2})
        EXPECT_EQ(image.pixelColor(device(*view, x, middle)), to_qcolor(colour_from_bgr(kLime))) << x;
}

TEST_F(ChartFixture, WheelNotchesAddUpAndCtrlShrinks) {
    auto view = make_view();
    auto wheel = [&](int delta, Qt::KeyboardModifiers mods) {
        QWheelEvent e(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.get(), &e);
    };
    wheel(40, Qt::NoModifier);
    wheel(40, Qt::NoModifier);
    EXPECT_EQ(view->time_axis()->position(), 0);
    wheel(40, Qt::NoModifier);
    EXPECT_EQ(view->time_axis()->position(), 2);
    wheel(-120, Qt::ControlModifier);
    EXPECT_EQ(view->time_axis()->state().scale, 5);
    EXPECT_EQ(view->time_axis()->position(), 0);
}

TEST_F(ChartFixture, ShrinkAtTheLastScaleAndBackAtTheStartChangeNothing) {
    auto view = make_view();
    view->OnCommand(cmd::kBack);
    EXPECT_EQ(view->time_axis()->position(), 0);
    for (int i = 0; i < 20; ++i) view->OnCommand(cmd::kShrink);
    EXPECT_EQ(view->time_axis()->state().scale, 36000);
    for (int i = 0; i < 20; ++i) view->OnCommand(cmd::kExpand);
    EXPECT_EQ(view->time_axis()->state().scale, 1);
    for (int i = 0; i < 30; ++i) view->OnCommand(cmd::kForward);
    EXPECT_EQ(view->time_axis()->position(), 20);  // the last whole second
    // Points follow the position: the first drawn sample is the one at 20 s.
    EXPECT_EQ(view->stack()->trace(0).points().size(), 1u);
}

TEST_F(ChartFixture, ScrollBarsMoveTheAxes) {
    doc.channels.clear();
    for (int id = 0; id < 12; ++id) doc.channels.push_back(channel(id, kRed));
    auto view = make_view();
    QScrollBar* v = view->vertical_bar();
    ASSERT_GT(v->maximum(), 0);  // twelve traces do not fit
    ASSERT_TRUE(view->stack()->trace(0).shown());
    v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(view->value_axis()->position(), 50);
    EXPECT_EQ(v->value(), 50);
    EXPECT_FALSE(view->stack()->trace(0).shown());
    EXPECT_TRUE(view->stack()->trace(1).shown());
    v->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_TRUE(view->stack()->trace(0).shown());

    QScrollBar* h = view->horizontal_bar();
    EXPECT_EQ(h->maximum(), 20);
    h->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(view->time_axis()->position(), view->time_axis()->state().page / 2 * 2);
    EXPECT_EQ(h->value(), view->time_axis()->position());
    h->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(view->time_axis()->position(), 20);
}

TEST_F(ChartFixture, RightClickOnEmptySpaceRecoloursThisViewAtOnce) {
    auto view = make_view();
    menu_answer = 32809;  // Red
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(2, 2), QPoint(2, 2));
    QApplication::sendEvent(view.get(), &key);
    EXPECT_TRUE(menus.empty());  // the menu key is ignored
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(2, 2), QPoint(2, 2));
    QApplication::sendEvent(view.get(), &click);
    EXPECT_EQ(menus, std::vector<int>{0});
    EXPECT_EQ(view->background(), kRed);
    QApplication::processEvents();
    EXPECT_EQ(view->grab().toImage().pixelColor(2, 2), to_qcolor(colour_from_bgr(kRed)));
}

TEST_F(ChartFixture, ContextMenusGoToTheObjectHit) {
    auto view = make_view();
    // The legend item's text: the width menu; "Hide" drops the trace from the stack.
    const chart::LRect item = view->legend()->item(0).rect();
    const QPoint on_text = device(*view, item.right - 3, (item.top + item.bottom) / 2);
    menu_answer = cmd::kTraceHide;
    QContextMenuEvent e(QContextMenuEvent::Mouse, on_text, on_text);
    QApplication::sendEvent(view.get(), &e);
    EXPECT_EQ(menus.back(), kMenuTraceWidth);
    EXPECT_EQ(doc.channels[0].trace_width, 0);
    EXPECT_FALSE(view->stack()->trace(0).shown());

    // The time axis labels: Shrink.
    const chart::LRect labels = view->time_axis()->label_rect();
    const QPoint on_axis = device(*view, labels.left + 20, labels.top - 3);
    menu_answer = cmd::kShrink;
    QContextMenuEvent a(QContextMenuEvent::Mouse, on_axis, on_axis);
    QApplication::sendEvent(view.get(), &a);
    EXPECT_EQ(menus.back(), kMenuTimeAxis);
    EXPECT_EQ(view->time_axis()->state().scale, 5);
}

TEST_F(ChartFixture, TitleAndScalingDialogs) {
    auto view = make_view();
    view->set_dialog_runner([](QDialog& d) {
        if (auto* t = qobject_cast<CTitleDlg*>(&d)) {
            EXPECT_EQ(t->windowTitle(), "Title Change");
            EXPECT_EQ(t->Title(), "Run");
            t->edit()->setText(QString::fromUtf8("Run 2 \xC2\xB0"));
        }
        if (auto* s = qobject_cast<CScaleDlg*>(&d)) {
            EXPECT_EQ(s->windowTitle(), "Time Axis Scaling");
            EXPECT_EQ(s->combo()->count(), 16);
            EXPECT_EQ(s->Selection(), 1);  // 2 seconds
            s->combo()->setCurrentIndex(6);
        }
        return true;
    });
    view->OnCommand(cmd::kTitleChange);
    EXPECT_EQ(doc.title, "Run 2 \xB0");  // stored in Windows-1252
    view->OnCommand(cmd::kTimeScaling);
    EXPECT_EQ(view->time_axis()->state().scale, 60);
}

TEST_F(ChartFixture, PointerShowsTheValueUnderIt) {
    auto view = make_view();
    QString pane;
    view->set_value_pane([&](const QString& t) { pane = t; });
    const CTrace& t = view->stack()->trace(0);
    const QPoint p = device(*view, t.plot().left + 100, (t.plot().top + t.plot().bottom) / 2);
    QMouseEvent move(QEvent::MouseMove, QPointF(p), QPointF(view->mapToGlobal(p)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view.get(), &move);
    EXPECT_EQ(pane, "4000 RPM");
}

TEST_F(ChartFixture, NewSamplesDrawIntoTheBackBufferOnly) {
    doc.samples.Clear();
    add_samples(0, 10);
    auto view = make_view();
    view->grab();
    const int renders = view->full_renders();
    const std::size_t before = view->stack()->trace(0).points().size();
    add_samples(10, 16);
    view->OnUpdate(1124, 10);
    const auto& points = view->stack()->trace(0).points();
    EXPECT_EQ(points.size(), before + 6);
    const QImage shown = view->grab().toImage();
    EXPECT_EQ(view->full_renders(), renders);
    const CTrace& t = view->stack()->trace(0);
    EXPECT_TRUE(colour_near(shown, device(*view, points.back().x - 1, (t.plot().top + t.plot().bottom) / 2), kRed));
}

TEST_F(ChartFixture, ExportsThePngOfTheClientArea) {
    auto view = make_view(301, 200);
    testsupport::TempFolder folder;
    files.queue_path(folder.file("chart.png"));
    view->ExportImage();
    ASSERT_EQ(files.requests().size(), 1u);
    const auto& request = files.requests()[0];
    EXPECT_EQ(request.file_name, "/tmp/runs/run");
    EXPECT_EQ(request.default_extension, "png");
    EXPECT_TRUE(request.overwrite_prompt);
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0], (platform::FileFilter{"PNG (Portable Network Graphics)", {"*.png"}}));
    EXPECT_EQ(request.filters[1], (platform::FileFilter{"All Files", {"*.*"}}));
    EXPECT_TRUE(messages.messages().empty());

    // Decoded by libpng itself, not through Qt.
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&png, folder.file("chart.png").c_str())) << png.message;
    EXPECT_EQ(png.width, 301u);
    EXPECT_EQ(png.height, 200u);
    EXPECT_EQ(png.format, PNG_FORMAT_RGB);  // 8-bit RGB, no alpha
    png.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(png));
    ASSERT_TRUE(png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr));
    auto pixel = [&](QPoint p) {
        const std::size_t at = (static_cast<std::size_t>(p.y()) * 301 + p.x()) * 3;
        return QColor(rgb[at], rgb[at + 1], rgb[at + 2]);
    };
    EXPECT_EQ(pixel({1, 1}), QColor(0, 0, 0));
    const CTrace& t = view->stack()->trace(0);
    const auto& points = t.points();
    ASSERT_GE(points.size(), 2u);
    bool found = false;
    const QPoint p = device(*view, points[1].x, points[1].y);
    for (int dy = -2; dy <= 2; ++dy) found = found || pixel({p.x(), p.y() + dy}) == QColor(255, 0, 0);
    EXPECT_TRUE(found);
}

TEST_F(ChartFixture, ExportRefusedWithoutAreaAndReportsWriteFailures) {
    QWidget holder;
    auto view = std::make_unique<CVXMlogView>(doc, nullptr, &holder);
    view->set_message_box(&messages);
    view->set_file_chooser(&files);
    view->resize(0, 0);
    view->ExportImage();
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, kNoAreaToExport);
    EXPECT_TRUE(files.requests().empty());

    view->resize(200, 150);
    testsupport::TempFolder folder;
    const std::string path = folder.file("missing/chart.png");
    files.queue_path(path);
    view->ExportImage();
    ASSERT_EQ(messages.messages().size(), 2u);
    EXPECT_EQ(messages.messages()[1].text.rfind("Unable to export the image to " + path, 0), 0u);
    EXPECT_TRUE(folder.names().empty());
}

TEST_F(ChartFixture, ExportOnlyWhenNotCapturingAndWithSamples) {
    auto view = make_view();
    EXPECT_TRUE(view->IsCommandEnabled(cmd::kExportImage));
    doc.capturing = true;
    EXPECT_FALSE(view->IsCommandEnabled(cmd::kExportImage));
    view->ExportImage();
    EXPECT_TRUE(files.requests().empty());
    doc.capturing = false;
    doc.samples.Clear();
    EXPECT_FALSE(view->IsCommandEnabled(cmd::kExportImage));
}

TEST_F(ChartFixture, PrintsToPdf) {
    auto view = make_view();
    testsupport::TempFolder folder;
    const std::string path = folder.file("chart.pdf");
    int printers = 0;
    view->set_printer_source([&] {
        ++printers;
        auto p = std::make_unique<QPrinter>();
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(QString::fromStdString(path));
        p->setPageOrientation(QPageLayout::Landscape);
        return p;
    });
    view->OnCommand(57608);  // Print Direct
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(testsupport::read_text(path).substr(0, 4), "%PDF");
    // Preview shows one page at a time, through the same printer.
    bool previewed = false;
    view->set_dialog_runner([&](QDialog& d) {
        previewed = qobject_cast<QPrintPreviewDialog*>(&d) != nullptr;
        return false;
    });
    view->PrintPreview();
    EXPECT_TRUE(previewed);
    EXPECT_EQ(printers, 1);
    EXPECT_TRUE(messages.messages().empty());
}

// The chart over the document's own sample store.
struct SampleListDocument final : ChartDocument {
    const std::string& ChartTitle() const override { return title; }
    void SetChartTitle(std::string t) override { title = std::move(t); }
    std::vector<CDataAttributes>& ChartChannels() override { return channels; }
    ChartSamples& ChartSampleList() override { return chart_samples; }
    bool IsCapturing() const override { return false; }
    const std::string& ChartPathName() const override { return title; }

    std::string title = "Run";
    std::vector<CDataAttributes> channels;
    CSampleList list;
    SampleListChartSamples chart_samples{list};
};

TEST(ChartOverSampleStore, DrawsAndReadsOutTheStoredSamples) {
    SampleListDocument doc;
    doc.channels = {channel(9, kRed)};
    doc.list.Reset(1);
    for (int i = 0; i <= 8; ++i) doc.list.Append({i * 0.5f, {i * 1000.0f}});
    CVXMlogView view(doc);
    view.resize(500, 300);
    view.show();
    QApplication::processEvents();
    const CTrace& t = view.stack()->trace(0);
    ASSERT_EQ(t.points().size(), 9u);
    EXPECT_EQ(t.points()[2].y, t.plot().bottom + static_cast<int>((t.plot().top - t.plot().bottom) * 0.25 + 0.5));
    QString pane;
    view.set_value_pane([&](const QString& text) { pane = text; });
    // 1.5 s lies 75 units into the plot at 2 s per inch.
    EXPECT_TRUE(view.stack()->ShowValueAt(t.plot().left + 76, t.plot().top - 5, doc));
    EXPECT_EQ(pane, "3000 RPM");
    // Past the newest sample the store shows the one before it.
    EXPECT_TRUE(view.stack()->ShowValueAt(t.plot().left + 300, t.plot().top - 5, doc));
    EXPECT_EQ(pane, "7000 RPM");
}

}  // namespace
}  // namespace korv::boxlogger
