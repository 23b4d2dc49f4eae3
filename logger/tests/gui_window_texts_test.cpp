// Korvlog's fixed-size windows show every text whole and readable in the
// fonts they choose, whatever font the desktop offers.
#include <QApplication>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "logger/core/chart_presets.h"
#include "logger/core/data_value_table.h"
#include "logger/gui/actuatordialog.h"
#include "logger/gui/chartcontrol.h"
#include "logger/gui/datavalues.h"
#include "logger/gui/linkframe.h"
#include "logger/gui/triggerframe.h"
#include "logger/tests/frame_fixture.h"
#include "testsupport/window_texts.h"

namespace korv::logger {
namespace {

using korv::testsupport::cut_texts;
using korv::testsupport::listed;
using korv::testsupport::pale_texts;

// Shown once so that layouts and text panes settle, then checked.
void expect_readable(QWidget& window) {
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(listed(cut_texts(window)), "");
    EXPECT_EQ(listed(pale_texts(window)), "");
}

class LoggerWindowTexts : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!library) library = KorvioLibrary::load_from(KORVIO_FRAME_STANDIN_PATH).release();
    }
    static inline KorvioLibrary* library = nullptr;
    testing::FrameSession session{library};
};

TEST_F(LoggerWindowTexts, StartWindowAndSettingsFramesShowEveryText) {
    expect_readable(*session.window);
    for (LogFamily family : {LogFamily::obd, LogFamily::dsm}) {
        LOGOBDframe* frame = session.open(family);
        ASSERT_NE(frame, nullptr);
        for (QWidget* w : frame->findChildren<QWidget*>()) {
            if (!w->isWindow()) w->show();  // items and buttons the chosen cable hides
        }
        expect_readable(*frame);
        actuatordialog tests(frame, nullptr, 0);
        expect_readable(tests);
    }
}

TEST_F(LoggerWindowTexts, ChartControlButtonsFitAndStayReadableDisabled) {
    auto* bar = chartcontrol_of(*session.window);
    ASSERT_NE(bar, nullptr);
    expect_readable(*bar);
    for (const ChartButton& b : kChartButtons) {
        QPushButton* button = bar->button_flag[static_cast<std::size_t>(b.slot)];
        EXPECT_GE(korv::testsupport::rendered_text_contrast(*button), korv::testsupport::kReadableContrast)
            << button->text().toStdString() << " disabled";
        button->setEnabled(true);
        EXPECT_GE(korv::testsupport::rendered_text_contrast(*button), korv::testsupport::kReadableContrast)
            << button->text().toStdString() << " enabled";
    }
}

TEST_F(LoggerWindowTexts, DataValuePanelReadsEveryLabelAndValueWhileGreyed) {
    datavalues panel;
    expect_readable(panel);
    for (int cable : {-1, -2}) {
        std::vector<int> labelled;
        for (int code = 0; code < DataValueTable::kCodes; ++code) {
            if (DataValueTable::label_for(code, cable)) labelled.push_back(code);
        }
        // Ten rows at a time: the first ten labels, then the last ten.
        for (bool from_end : {false, true}) {
            if (from_end) std::reverse(labelled.begin(), labelled.end());
            panel.set_table_index(0);
            for (int code : labelled) {
                panel.define_fields(code, cable);
                panel.set_value(code, -12345.678f);
            }
            expect_readable(panel);
        }
    }
}

TEST_F(LoggerWindowTexts, TriggersAndHelpShowEveryLine) {
    Triggerframe triggers;
    expect_readable(triggers);
    Linkframe help;
    expect_readable(help);
}

}  // namespace
}  // namespace korv::logger
