// Config and Select dialogs driven as a user would, headless.
#include "dyno/gui/config_dialog.h"
#include "dyno/gui/ergomark_window.h"
#include "dyno/gui/select_dialog.h"

#include "dyno/core/car_table.h"
#include "dyno/tests/gui_test_support.h"
#include "platform/core/memory_settings_store.h"
#include "platform/core/scripted_file_chooser.h"
#include "platform/core/scripted_message_box.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <bit>

namespace korv::dyno {
namespace {

using namespace testing_support;

template <typename T>
T* child(QWidget& parent, const char* name) {
    T* found = parent.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
}

void type_into(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

TEST(DynoConfigDialog, OpensWithTheSettingsAndAppliesUserEdits) {
    DynoSettings settings;
    ConfigDialog dialog(settings);
    EXPECT_EQ(child<QLineEdit>(dialog, "weightEdit")->text(), "3251.0");
    EXPECT_EQ(child<QLineEdit>(dialog, "tyreEdit")->text(), "861.0");
    EXPECT_EQ(child<QLineEdit>(dialog, "aaEdit")->text(), "1");
    EXPECT_EQ(child<QLabel>(dialog, "gearText")->text(), "Gear: 1.684000");
    EXPECT_EQ(child<QLabel>(dialog, "finalText")->text(), "Final: 4.929000");
    EXPECT_EQ(child<QComboBox>(dialog, "carList")->count(), 16);

    type_into(child<QLineEdit>(dialog, "aaEdit"), "3");
    type_into(child<QLineEdit>(dialog, "pressureEdit"), "990.5");
    type_into(child<QLineEdit>(dialog, "tyreEdit"), "abc");  // no number reads 0; the power step refuses it
    EXPECT_EQ(settings.aa, 3);
    EXPECT_EQ(settings.sae_pressure, 990.5f);
    EXPECT_EQ(settings.tyre_revs, 0.0f);

    QTest::mouseClick(child<QCheckBox>(dialog, "saeEnable"), Qt::LeftButton);
    QTest::mouseClick(child<QCheckBox>(dialog, "dragEnable"), Qt::LeftButton);
    EXPECT_EQ(settings.sae_en, 1);
    EXPECT_EQ(settings.drag_en, 1);
    EXPECT_EQ(settings.loss_en, 0);
}

TEST(DynoConfigDialog, CarAndGearTakeTheTableValues) {
    DynoSettings settings;
    ConfigDialog dialog(settings);
    auto* cars = child<QComboBox>(dialog, "carList");
    emit cars->activated(12);  // what a user's pick in the list emits
    EXPECT_EQ(settings.car, 12);
    EXPECT_EQ(settings.mass, 3793.0f);
    EXPECT_EQ(child<QLineEdit>(dialog, "weightEdit")->text(), "3793.000000");
    EXPECT_EQ(child<QLabel>(dialog, "gearText")->text(), "Gear: 1.740000");
    EXPECT_EQ(child<QLabel>(dialog, "finalText")->text(), "Final: 3.970000");
    emit child<QComboBox>(dialog, "gearList")->activated(0);
    EXPECT_EQ(settings.gear_ratio, 3.07);
}

TEST(DynoConfigDialog, OkSavesAndRecomputesThroughTheMainWindow) {
    platform::MemorySettingsStore store;
    platform::ScriptedFileChooser chooser;
    platform::ScriptedMessageBox messages;
    QTemporaryDir dir;
    Ergomark window(store, &chooser, &messages);
    chooser.queue_path(write_file(dir, "pull.csv", pull_csv()));
    window.OpenLogFile();
    const float before = window.session().samples()[40][kPower];
    window.set_dialog_runner([](QDialog& dialog) {
        type_into(dialog.findChild<QLineEdit*>("weightEdit"), "4000");
        QTest::mouseClick(dialog.findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    window.ShowConfig();
    EXPECT_EQ(store.read_dword({}, "Mass"), std::bit_cast<std::uint32_t>(4000.0f));
    EXPECT_NEAR(window.session().samples()[40][kPower] / before, 4000.0 / 3251.0, 1e-4);
}

class DynoSelectDialog : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(session_.load_text(pull_csv(), "pull.csv"), LogReadStatus::ok);
        dialog_ = std::make_unique<SelectDialog>(session_);
        dialog_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
    }

    QString text(const char* name) { return child<QLabel>(*dialog_, name)->text(); }

    void held_move(QPoint p) {
        QMouseEvent move(QEvent::MouseMove, p, dialog_->mapToGlobal(p), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(dialog_.get(), &move);
    }

    DynoSession session_;
    std::unique_ptr<SelectDialog> dialog_;
};

TEST_F(DynoSelectDialog, HoverShowsTheSampleOnlyStrictlyInside) {
    QTest::mouseMove(dialog_.get(), QPoint(12 + 375, 100));
    const auto sample = PixelToSample(session_.samples(), 12 + 375, SelectDialog::kArea);
    EXPECT_EQ(text("rpmText"), "RPM: " + QString::number(sample->rpm, 'f', 2));
    EXPECT_EQ(text("timeText"), "Time: " + QString::number(sample->time, 'f', 2) + " (387,100)");

    QTest::mouseMove(dialog_.get(), QPoint(762, 100));  // on the right edge
    EXPECT_TRUE(text("timeText").endsWith("(387,100)"));
    QTest::mouseMove(dialog_.get(), QPoint(300, 12));  // on the top edge
    EXPECT_TRUE(text("timeText").endsWith("(387,100)"));
}

TEST_F(DynoSelectDialog, DragRightToLeftSelectsInOrder) {
    const int a = PixelToSample(session_.samples(), 600, SelectDialog::kArea)->index;
    const int b = PixelToSample(session_.samples(), 200, SelectDialog::kArea)->index;
    QTest::mousePress(dialog_.get(), Qt::LeftButton, Qt::NoModifier, QPoint(600, 100));
    EXPECT_EQ(dialog_->selection(), (SampleRange{a, a}));
    held_move(QPoint(400, 100));
    held_move(QPoint(200, 100));
    EXPECT_EQ(dialog_->selection(), (SampleRange{a, b}));
    QTest::mouseRelease(dialog_.get(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 100));
    EXPECT_EQ(dialog_->selection(), (SampleRange{b, a}));
    EXPECT_EQ(text("timeText"), "Time: " + QString::number(session_.samples()[b][kBlendedTime], 'f', 2));
    EXPECT_TRUE(text("startText").startsWith("Start: "));

    // Cancel keeps the range the session had.
    const SampleRange before = session_.range();
    dialog_->reject();
    EXPECT_EQ(session_.range(), before);
}

TEST_F(DynoSelectDialog, ApplyTakesTheSelection) {
    QTest::mousePress(dialog_.get(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 100));
    QTest::mouseRelease(dialog_.get(), Qt::LeftButton, Qt::NoModifier, QPoint(500, 100));
    QSignalSpy applied(dialog_.get(), &SelectDialog::applyRequested);
    QTest::mouseClick(child<QPushButton>(*dialog_, "applyButton"), Qt::LeftButton);
    EXPECT_EQ(applied.count(), 1);
    EXPECT_EQ(session_.range(), dialog_->selection());
    const int inside = (dialog_->selection().start + dialog_->selection().end) / 2;
    EXPECT_NE(session_.samples()[inside][kPower], 0.0f);
    EXPECT_EQ(session_.samples()[dialog_->selection().start - 1][kPower], 0.0f);
}

TEST_F(DynoSelectDialog, BlockButtonsStartFromTheBeginningWhenTheKindChanges) {
    QTest::mouseClick(child<QPushButton>(*dialog_, "tpsButton"), Qt::LeftButton);
    // Throttle is full from sample 10 to the end of the log: no block.
    EXPECT_EQ(dialog_->selection(), (SampleRange{0, 0}));
    QTest::mouseClick(child<QPushButton>(*dialog_, "risingButton"), Qt::LeftButton);
    EXPECT_EQ(dialog_->selection(), session_.range());  // the longest again
    EXPECT_EQ(text("stopText"), "Stop: " + QString::number(session_.samples().back()[kBlendedTime], 'f', 6));
}

// Times are kept since the first sample; the texts show the log's own clock.
TEST(DynoSelectDialogClock, TextsShowTheLogsOwnTimes) {
    std::string csv = "x\nTime,RPM\n";
    for (int i = 0; i <= 200; ++i)
        csv += std::to_string(18852051 + 16 * i) + "e-3," + std::to_string(2500 + 20 * i) + "\n";
    DynoSession session;
    session.settings.bspline_en = 0;  // blended times are then the logged ones
    ASSERT_EQ(session.load_text(csv, "clock.csv"), LogReadStatus::ok);
    ASSERT_EQ(session.range(), (SampleRange{0, 201}));
    SelectDialog dialog(session);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(child<QLabel>(dialog, "startText")->text(), "Start: 18852.051000");
    EXPECT_EQ(child<QLabel>(dialog, "stopText")->text(), "Stop: 18855.251000");
    // The middle of the area falls on 1.6 s into the log.
    QTest::mouseMove(&dialog, QPoint(387, 100));
    EXPECT_TRUE(child<QLabel>(dialog, "timeText")->text().startsWith("Time: 18853.6"))
        << child<QLabel>(dialog, "timeText")->text().toStdString();
    QTest::mousePress(&dialog, Qt::LeftButton, Qt::NoModifier, QPoint(200, 100));
    QTest::mouseRelease(&dialog, Qt::LeftButton, Qt::NoModifier, QPoint(387, 100));
    EXPECT_TRUE(child<QLabel>(dialog, "timeText")->text().startsWith("Time: 18853.6"));
    EXPECT_EQ(child<QLabel>(dialog, "startText")->text(), "Start: 18852.867000");
}

TEST_F(DynoSelectDialog, SmoothingEditsResmoothAtOnce) {
    const float blended = session_.samples()[50][kSmoothRpm];
    QTest::mouseClick(child<QCheckBox>(*dialog_, "splineEnable"), Qt::LeftButton);
    EXPECT_EQ(session_.settings.bspline_en, 0);
    EXPECT_EQ(session_.samples()[50][kSmoothRpm], session_.samples()[50][kRawRpm]);
    QTest::mouseClick(child<QCheckBox>(*dialog_, "splineEnable"), Qt::LeftButton);
    EXPECT_EQ(session_.samples()[50][kSmoothRpm], blended);

    type_into(child<QLineEdit>(*dialog_, "blendEdit"), "0.3");
    EXPECT_EQ(session_.settings.blend, 0.3f);
    EXPECT_NE(session_.samples()[50][kSmoothRpm], blended);

    auto* arrows = child<QWidget>(*dialog_, "cutoffEditArrows");
    QTest::mouseClick(arrows->findChild<QToolButton*>("up"), Qt::LeftButton);
    EXPECT_EQ(session_.settings.cutoff, 33.0f);
    EXPECT_EQ(child<QLineEdit>(*dialog_, "cutoffEdit")->text(), "33.000000");

    QTest::mouseClick(child<QCheckBox>(*dialog_, "filterEnable"), Qt::LeftButton);
    EXPECT_EQ(session_.settings.smoothing_mode(), 3);
}

}  // namespace
}  // namespace korv::dyno
