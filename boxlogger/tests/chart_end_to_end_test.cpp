// The chart in the program's windows, against the simulated box on COM1: a
// live capture drawn through new-sample hints only, the image and the
// printout exported, and the stored capture reviewed with the same traces.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

#include "boxlogger/core/command_table.h"
#include "boxlogger/gui/document_view.h"
#include "boxlogger/gui/vxmlog_app.h"
#include "boxlogger/tests/app_on_box.h"
#include "platform/core/scripted_file_chooser.h"
#include "platform/core/scripted_message_box.h"
#include "platform/gui/qt_settings_store.h"
#include "sim/core/com_port_binding.h"
#include "sim/core/vxm_box.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

namespace korv::boxlogger {
namespace {

using ChartEndToEnd = AppOnBox;

TEST_F(ChartEndToEnd, LiveCaptureExportsAndReviewDrawsTheSameTraces) {
    store.write_string({"QuickSelects"}, "QuickSelect1", "Engine\nEngine Speed\nBattery Voltage");
    ASSERT_TRUE(start());
    ASSERT_TRUE(connect());
    app->OnFileNew();
    CCaptureFrame* capture = app->capture_frame();
    ASSERT_NE(capture, nullptr);
    capture->resize(700, 500);
    capture->quick_select_button(0)->click();
    auto* view = capture->findChild<CDocumentView*>();
    ASSERT_NE(view, nullptr);
    QApplication::processEvents();
    ASSERT_GE(view->stack()->traces(), 1u);
    ASSERT_EQ(view->stack()->traces(), app->FindCaptureDocument()->channels().size());
    view->OnCommand(cmd::kExpand);  // 1 second per inch
    view->grab();
    const int renders = view->full_renders();
    EXPECT_FALSE(capture->action(cmd::kExportImage)->isEnabled());  // no samples yet

    capture->action(cmd::kStart)->trigger();
    CVXMlogDoc* doc = app->FindCaptureDocument();
    QTRY_VERIFY_WITH_TIMEOUT(doc->samples().size() >= 5 && doc->samples().time(doc->samples().size() - 1) > 0.2f,
                             20000);
    capture->action(cmd::kStop)->trigger();
    view->grab();
    EXPECT_EQ(view->full_renders(), renders) << "a live capture draws its new samples only";
    const std::vector<chart::ChartPointXY> points = view->stack()->trace(0).points();
    EXPECT_GE(points.size(), 2u);

    capture->UpdateCommandUI();
    ASSERT_TRUE(capture->action(cmd::kExportImage)->isEnabled());
    files.queue_path(folder.file("run.png"));
    capture->action(cmd::kExportImage)->trigger();
    EXPECT_EQ(testsupport::read_text(folder.file("run.png")).substr(1, 3), "PNG");
    view->set_printer_source([&] {
        auto p = std::make_unique<QPrinter>();
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(QString::fromStdString(folder.file("run.pdf")));
        return p;
    });
    view->set_dialog_runner([](QDialog&) { return true; });  // the print dialog's OK
    capture->action(cmd::kFilePrint)->trigger();
    EXPECT_EQ(testsupport::read_text(folder.file("run.pdf")).substr(0, 4), "%PDF");

    const std::string vxg = folder.file("run.vxg");
    files.queue_path(vxg);
    capture->action(cmd::kFileSaveAs)->trigger();
    EXPECT_TRUE(messages.messages().empty()) << messages.messages().front().text;

    CDisplayFrame* review = app->OpenReviewWindow(QString::fromStdString(vxg));
    ASSERT_NE(review, nullptr);
    auto* review_view = review->findChild<CDocumentView*>();
    ASSERT_NE(review_view, nullptr);
    review->resize(capture->size());
    QApplication::processEvents();
    ASSERT_EQ(review_view->size(), view->size());
    review_view->OnCommand(cmd::kExpand);
    ASSERT_EQ(review_view->stack()->traces(), view->stack()->traces());
    EXPECT_EQ(review_view->stack()->trace(0).points(), points);
    for (std::size_t i = 1; i < view->stack()->traces(); ++i)
        EXPECT_EQ(review_view->stack()->trace(i).points(), view->stack()->trace(i).points()) << i;

    messages.queue_answer(platform::MessageButton::No);
    app->command_frame()->close();
    EXPECT_TRUE(app->exited());
}

}  // namespace
}  // namespace korv::boxlogger
