// VXMlog from the command screen to a saved capture, as a person uses it,
// against the simulated data-logger box on COM1.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "boxlogger/core/channel_table.h"
#include "boxlogger/core/command_table.h"
#include "boxlogger/gui/vxmlog_app.h"
#include "boxlogger/tests/app_on_box.h"
#include "common/core/vxm_document_reader.h"
#include "platform/core/scripted_file_chooser.h"
#include "platform/core/scripted_message_box.h"
#include "platform/gui/qt_settings_store.h"
#include "sim/core/com_port_binding.h"
#include "sim/core/vxm_box.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

namespace korv::boxlogger {
namespace {

using CaptureEndToEnd = AppOnBox;

TEST_F(CaptureEndToEnd, ConnectQuickSelectCaptureSaveExportAndReview) {
    store.write_string({"QuickSelects"}, "QuickSelect2", "Engine\nEngine Speed\nrpm\nBattery Voltage");
    ASSERT_TRUE(start());

    CCmdView* screen = app->command_frame()->view();
    ASSERT_TRUE(connect());
    ASSERT_EQ(screen->button(cmd::kConnect)->text(), "Dis&connect");
    const QRegularExpression rate("^Rate: [1-9][0-9]*/s$");
    QTRY_VERIFY_WITH_TIMEOUT(rate.match(app->command_frame()->pane(cmd::kPaneRate)->text()).hasMatch(), 20000);

    screen->button(cmd::kCollectData)->click();
    CCaptureFrame* capture = app->capture_frame();
    ASSERT_NE(capture, nullptr);
    CVXMlogDoc* doc = app->FindCaptureDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(capture->quick_select_button(1)->text(), "Engine");
    EXPECT_TRUE(capture->quick_select_button(1)->isEnabled());
    EXPECT_FALSE(capture->quick_select_button(0)->isEnabled());  // a set without channels
    capture->quick_select_button(1)->click();
    std::vector<std::int32_t> ids = doc->GetChannelIds();
    ASSERT_GE(ids.size(), 2u);
    EXPECT_EQ(ids.front(), 9);  // "rpm" named the same channel and counts once

    capture->action(cmd::kStart)->trigger();
    ASSERT_TRUE(doc->capturing());
    QTRY_VERIFY_WITH_TIMEOUT(doc->samples().size() >= 5, 20000);
    capture->action(cmd::kStop)->trigger();
    EXPECT_FALSE(doc->capturing());
    const std::size_t samples = doc->samples().size();

    const std::string vxg = folder.file("run.vxg");
    const std::string csv = folder.file("run.csv");
    files.queue_path(vxg);
    capture->action(cmd::kFileSaveAs)->trigger();
    files.queue_path(csv);
    capture->action(cmd::kExportCsv)->trigger();
    EXPECT_TRUE(messages.messages().empty()) << messages.messages().front().text;

    const VxmDocumentReadResult read = read_vxm_document(vxg);
    ASSERT_TRUE(read.document) << read.error;
    ASSERT_EQ(read.document->channels.size() + 1, ids.size());
    for (std::size_t i = 0; i < read.document->channels.size(); ++i) EXPECT_EQ(read.document->channels[i].id, ids[i]);
    EXPECT_EQ(read.document->samples.size(), samples);
    const std::string exported = testsupport::read_text(csv);
    EXPECT_EQ(exported.rfind("Calderis Datalogger\r\n\r\n", 0), 0u);

    CDisplayFrame* review = app->OpenReviewWindow(QString::fromStdString(vxg));
    ASSERT_NE(review, nullptr);
    EXPECT_EQ(app->review_frames().size(), 1u);
    EXPECT_EQ(app->recent_files().front(), QString::fromStdString(vxg));

    // Exit writes the four keys, the triggers among the data descriptions.
    app->command_frame()->close();
    ASSERT_TRUE(app->exited());
    for (const char* key : {"Settings", "State", "QuickSelects", "DataDescriptions"})
        EXPECT_TRUE(store.key_exists({key})) << key;
    EXPECT_EQ(store.read_string({"QuickSelects"}, "QuickSelect2")->rfind("Engine\nEngine Speed", 0), 0u);
}

TEST_F(CaptureEndToEnd, ExitAsksAboutAnUnsavedCaptureAndCancelKeepsTheProgram) {
    store.write_string({"QuickSelects"}, "QuickSelect1", "Speed\nEngine Speed");
    ASSERT_TRUE(start());
    ASSERT_TRUE(connect());
    app->OnFileNew();
    CCaptureFrame* capture = app->capture_frame();
    capture->quick_select_button(0)->click();
    capture->action(cmd::kStart)->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(app->FindCaptureDocument()->samples().size() >= 2, 20000);
    capture->action(cmd::kStop)->trigger();

    messages.queue_answer(platform::MessageButton::Cancel);
    app->command_frame()->close();
    EXPECT_FALSE(app->exited());
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text.rfind("Save changes to ", 0), 0u);
    messages.queue_answer(platform::MessageButton::No);
    app->command_frame()->close();
    EXPECT_TRUE(app->exited());
}

}  // namespace
}  // namespace korv::boxlogger
