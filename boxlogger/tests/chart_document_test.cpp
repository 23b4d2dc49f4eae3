// The chart over real capture and review documents: a capture through the
// link engine against the simulated box redraws through new-sample hints
// only; the stored file reviewed draws the same traces and exports.
#include "boxlogger/core/channel_table.h"
#include "boxlogger/core/document_chart.h"
#include "boxlogger/core/link_engine.h"
#include "boxlogger/gui/vxmlog_view.h"
#include "platform/core/scripted_file_chooser.h"
#include "platform/core/scripted_message_box.h"
#include "sim/core/com_port_binding.h"
#include "sim/core/vxm_box.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

#include <QApplication>
#include <QPrinter>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

namespace korv::boxlogger {
namespace {

using namespace std::chrono_literals;

constexpr int kSlot = 7;

void hook(CVXMlogDoc& doc, CVXMlogView& view, std::vector<int>& hints) {
    doc.SetViewUpdate([&view, &hints](int hint, std::size_t first_new) {
        hints.push_back(hint);
        view.OnUpdate(hint, first_new);
    });
}

TEST(ChartDocuments, LiveCaptureThenReviewOfTheStoredFile) {
    ResetChannelTable();
    testsupport::TempFolder folder;
    sim::VxmBox box;
    box.ecu().set_value(0x21, 96);  // 3000 rpm
    box.start();
    sim::ComPortBinding binding{kSlot, box.slave_path()};
    CSerialPort port;
    port.SetPort(kSlot);
    ASSERT_TRUE(port.is_open());

    std::vector<chart::ChartPointXY> captured_points;
    QImage captured_image;
    {
        CLinkEngine engine(port);
        QuickSelectSets sets;
        CVXMlogDoc doc(engine, sets, {});
        DocumentChart chart(doc);
        CVXMlogView view(chart);
        std::vector<int> hints;
        hook(doc, view, hints);
        view.resize(500, 300);
        view.show();
        doc.SetChannels({9, kChannelListEnd});
        EXPECT_EQ(hints, std::vector<int>{1125});
        view.OnCommand(cmd::kExpand);  // 1 second per inch: a second spans 100 units
        view.grab();
        const int renders = view.full_renders();
        hints.clear();

        std::atomic<int> cycles{0};
        engine.StartPollThread([&] { cycles.fetch_add(1); });
        doc.Start();
        const auto give_up = std::chrono::steady_clock::now() + 10s;
        auto span = [&] { return doc.samples().size() < 2 ? 0.0f : doc.samples().time(doc.samples().size() - 1); };
        while ((doc.samples().size() < 4 || span() < 0.3f) && std::chrono::steady_clock::now() < give_up) {
            std::this_thread::sleep_for(2ms);
            if (cycles.exchange(0) > 0) doc.AddSample();
        }
        EXPECT_FALSE(view.IsCommandEnabled(cmd::kExportImage));  // still capturing
        doc.Stop();
        engine.StopPollThread();
        ASSERT_GE(doc.samples().size(), 4u);
        for (int hint : hints) EXPECT_EQ(hint, 1124);
        view.grab();
        EXPECT_EQ(view.full_renders(), renders) << "new samples drawn into the back buffer only";
        captured_points = view.stack()->trace(0).points();
        ASSERT_GE(captured_points.size(), 2u);
        EXPECT_EQ(captured_points.front().y,
                  view.stack()->trace(0).plot().bottom +
                      static_cast<int>((view.stack()->trace(0).plot().height()) * 3000.0 / 8000.0 + 0.5));
        captured_image = view.RenderImage();
        ASSERT_EQ(doc.Store(folder.file("run.vxg")), std::nullopt);
    }
    port.Close();
    box.stop();

    // Reviewed: the same traces, exported as PNG and printed to PDF.
    CVXMlogDoc review({});
    DocumentChart chart(review);
    CVXMlogView view(chart);
    std::vector<int> hints;
    hook(review, view, hints);
    view.resize(500, 300);
    view.show();
    ASSERT_EQ(review.Load(folder.file("run.vxg")), std::nullopt);
    EXPECT_EQ(hints, std::vector<int>{1125});
    view.OnCommand(cmd::kExpand);  // the same scale as the capture's view
    EXPECT_EQ(view.stack()->trace(0).points(), captured_points);
    EXPECT_EQ(view.RenderImage(), captured_image);

    platform::ScriptedFileChooser files;
    platform::ScriptedMessageBox messages;
    view.set_file_chooser(&files);
    view.set_message_box(&messages);
    ASSERT_TRUE(view.IsCommandEnabled(cmd::kExportImage));
    files.queue_path(folder.file("run.png"));
    view.ExportImage();
    EXPECT_EQ(files.requests().at(0).file_name, folder.file("run"));
    EXPECT_EQ(testsupport::read_text(folder.file("run.png")).substr(1, 3), "PNG");
    view.set_printer_source([&] {
        auto p = std::make_unique<QPrinter>();
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(QString::fromStdString(folder.file("run.pdf")));
        return p;
    });
    view.PrintDirect();
    EXPECT_EQ(testsupport::read_text(folder.file("run.pdf")).substr(0, 4), "%PDF");
    EXPECT_TRUE(messages.messages().empty());
}

}  // namespace
}  // namespace korv::boxlogger
