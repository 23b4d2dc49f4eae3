// Ergomark's fixed-size dialogs show every text whole and readable in the
// fonts they choose, whatever font the desktop offers.
#include "dyno/gui/about_dialog.h"
#include "dyno/gui/config_dialog.h"
#include "dyno/gui/ergomark_window.h"
#include "dyno/gui/select_dialog.h"

#include "dyno/tests/gui_test_support.h"
#include "platform/core/memory_settings_store.h"
#include "platform/core/scripted_file_chooser.h"
#include "platform/core/scripted_message_box.h"
#include "testsupport/window_texts.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <gtest/gtest.h>

namespace korv::dyno {
namespace {

using korv::testsupport::cut_texts;
using korv::testsupport::listed;
using korv::testsupport::pale_texts;
using namespace testing_support;

void expect_readable(QWidget& window) {
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(listed(cut_texts(window)), "");
    EXPECT_EQ(listed(pale_texts(window)), "");
}

TEST(DynoWindowTexts, AboutAndConfigShowEveryText) {
    AboutDialog about;
    expect_readable(about);
    DynoSettings settings;
    ConfigDialog config(settings);
    // Every car's gearing, the longest texts the labels are given.
    auto* cars = config.findChild<QComboBox*>("carList");
    ASSERT_NE(cars, nullptr);
    for (int car = 0; car < cars->count(); ++car) {
        emit cars->activated(car);
        expect_readable(config);
    }
}

TEST(DynoWindowTexts, SelectShowsEveryTextWithALogOpen) {
    platform::MemorySettingsStore store;
    platform::ScriptedFileChooser chooser;
    platform::ScriptedMessageBox messages;
    QTemporaryDir dir;
    Ergomark window(store, &chooser, &messages);
    chooser.queue_path(write_file(dir, "pull.csv", pull_csv()));
    window.OpenLogFile();
    SelectDialog select(window.session());
    // The longest texts the pointer writes: a clock far into the day.
    select.findChild<QLabel*>("rpmText")->setText("RPM: 12345.67");
    select.findChild<QLabel*>("timeText")->setText("Time: 86399.99 (773,371)");
    select.findChild<QLabel*>("startText")->setText("Start: 86399.999000");
    select.findChild<QLabel*>("stopText")->setText("Stop: 86399.999000");
    expect_readable(select);
}

}  // namespace
}  // namespace korv::dyno
