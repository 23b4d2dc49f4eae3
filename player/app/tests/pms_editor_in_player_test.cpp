// The PMS editor as Korvview builds it from the editors' factory: restored
// from kvt.cfg by the start window, and animated by a played .dab log.
#include "editors/core/pms_cells.h"
#include "editors/gui/editor_factory.h"
#include "editors/gui/pms_frame.h"
#include "editors/tests/pms_test_files.h"
#include "platform/core/scripted_file_chooser.h"
#include "player/core/peak_analysis.h"
#include "player/gui/analysis_extensions.h"
#include "player/gui/analysis_grid.h"
#include "player/gui/fuel_simulator.h"
#include "player/gui/korvane.h"
#include "player/gui/play_frame.h"
#include "player/gui/player_analysis.h"
#include "player/tests/test_files.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

using namespace korv::player;
using namespace korv::player::testing_support;
using korv::editors::testing_support::sample_image;
namespace pms = korv::editors::pms;

namespace {

class PmsInPlayer : public InScratchFolder {
protected:
    void SetUp() override {
        InScratchFolder::SetUp();
        factory.services.chooser = &chooser;
        services.file_chooser = &chooser;
        services.editors = &pool;
        services.extensions = &extensions;
    }
    QString folder_text() const { return QString::fromStdString(path("")); }

    korv::platform::ScriptedFileChooser chooser;
    korv::editors::EditorFactory factory;
    EditorPool pool{&factory};
    AnalysisExtensions extensions;
    PlayerServices services;
};

TEST_F(PmsInPlayer, TheStartWindowRestoresTheEditorFromItsSlot) {
    write_bytes(path("map.e2p"), sample_image());
    kvt::KvtConfig stored;
    stored.pms = kvt::PmsSlot{kvt::EditorSlot{260, 270, true, "map.e2p", path("")}, {false, false, true, false, true}};
    ASSERT_FALSE(kvt::write_kvt_file(path("kvt.cfg"), stored));
    Korvane window(services);
    auto* frame = dynamic_cast<PMSframe*>(window.editors.pms_frame);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->pos(), QPoint(260, 270));
    EXPECT_EQ(frame->windowTitle(), "PMS settings file: " + folder_text() + "map.e2p");
    EXPECT_TRUE(frame->PMS_program_3->isChecked());
    EXPECT_TRUE(frame->PMS_timing->isChecked());
    EXPECT_EQ(frame->display_cells[16][13]->text(),
              QString::number(static_cast<std::int8_t>(sample_image()[1344 + pms::timing_offset(15, 12)])));

    // Recorded back as restored.
    window.record_cfg();
    kvt::KvtRead read;
    ASSERT_FALSE(kvt::read_kvt_file(path("kvt.cfg"), read));
    ASSERT_TRUE(read.config.pms);
    EXPECT_EQ(read.config.pms->editor.file, "map.e2p");
    EXPECT_EQ(read.config.pms->buttons, (kvt::PmsRadioButtons{false, false, true, false, true}));
}

TEST_F(PmsInPlayer, APlayedLogHandsTheSimulatedCorrectionToTheEditor) {
    PLAYframe frame(services);
    // 5000 rpm, full throttle, O2 0.90 V.
    const Bytes record =
        dab_record({{5, 0xF4}, {6, 0x01}, {25, 100}, {19, 46}, {13, 72}, {11, 70}, {8, 20}, {31, 0xE8}, {32, 3}});
    write_bytes(path("run.dab"), dab_log({record, record}));
    chooser.queue_path(path("run.dab"));
    frame.open_button->click();
    frame.animate_control->setChecked(true);
    auto* editor = dynamic_cast<PMSframe*>(frame.editors.pms_frame);
    ASSERT_NE(editor, nullptr);
    frame.play_to_end();

    // Lock the O2 cell of the 5000-rpm band and ask for 0.80 V: 12 % less fuel.
    auto& analysis = static_cast<PlayerAnalysis&>(frame.analysis());
    QTest::mouseClick(analysis.grid()->cell(row_o2, 10), Qt::LeftButton);
    frame.o2_slider->setValue(80);
    emit frame.o2_slider->sliderReleased();

    EXPECT_EQ(editor->total_adjust(), -12);
    EXPECT_EQ(editor->adjust_cells().at(1, 0, pms::kFuel, pms::kWotRow, 6), -12);
    EXPECT_EQ(editor->display_cells[10][7]->text(), "-12");
    EXPECT_EQ(editor->display_cells[10][7]->palette().color(QPalette::Base), QColor(255, 0, 0));
}

TEST_F(PmsInPlayer, ResetReplaysWithoutThePendingCorrection) {
    write_bytes(path("map.e2p"), sample_image());
    PLAYframe frame(services);
    // 5000 rpm at full throttle (O2 0.90 V), then other throttle cells.
    const auto at = [](std::uint8_t rpm_low, std::uint8_t rpm_high, std::uint8_t tps) {
        return dab_record(
            {{5, rpm_low}, {6, rpm_high}, {25, tps}, {19, 46}, {13, 72}, {11, 70}, {8, 20}, {31, 0xE8}, {32, 3}});
    };
    const Bytes full = at(0xF4, 0x01, 100);
    write_bytes(path("run.dab"), dab_log({full, at(0xF4, 0x01, 50), at(0x2C, 0x01, 30), at(0x90, 0x01, 70), full}));
    chooser.queue_path(path("run.dab"));
    frame.open_button->click();
    frame.animate_control->setChecked(true);
    auto* editor = dynamic_cast<PMSframe*>(frame.editors.pms_frame);
    ASSERT_NE(editor, nullptr);
    editor->set_config("map.e2p", folder_text());
    editor->recall_data();
    editor->display_pgm();
    chooser.queue_path(path("before.e2p"));
    editor->save_to_pms->click();
    frame.play_to_end();

    auto& analysis = static_cast<PlayerAnalysis&>(frame.analysis());
    QTest::mouseClick(analysis.grid()->cell(row_o2, 10), Qt::LeftButton);
    frame.o2_slider->setValue(80);
    emit frame.o2_slider->sliderReleased();
    ASSERT_EQ(editor->total_adjust(), -12);

    frame.reset_button->click();
    frame.play_to_end();
    for (int row = 0; row < pms::kGridRows; ++row)
        for (int column = 0; column < pms::kColumns; ++column)
            EXPECT_EQ(editor->adjust_cells().at(1, 0, pms::kFuel, row, column), 0) << row << "," << column;
    chooser.queue_path(path("after.e2p"));
    editor->save_to_pms->click();
    EXPECT_EQ(read_bytes(path("after.e2p")), read_bytes(path("before.e2p")));
}

}  // namespace
