// Korvview as its main() assembles it, offscreen, with the real AFC and ITC
// editors: animation during playback, the O2 slider's search moving a knob,
// and kvt.cfg restoring all three editors.
#include "editors/core/knob_map.h"
#include "editors/core/vcd_map.h"
#include "editors/gui/afcframe2.h"
#include "editors/gui/editor_factory.h"
#include "editors/gui/editor_fields.h"
#include "editors/gui/knob_frame.h"
#include "platform/core/scripted_file_chooser.h"
#include "player/core/kvt_config.h"
#include "player/gui/analysis_extensions.h"
#include "player/gui/analysis_grid.h"
#include "player/gui/korvane.h"
#include "player/gui/play_frame.h"
#include "player/gui/player_analysis.h"
#include "player/tests/test_files.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

using namespace korv::player;
using namespace korv::player::testing_support;
namespace ed = korv::editors;

namespace {

const QColor kRed(255, 0, 0);

class Plot3dNone : public Plot3dWindowFactory {
public:
    std::unique_ptr<QWidget> make_CHART3Dframe() override { return std::make_unique<QWidget>(); }
};

void type_into(QLineEdit* field, const QString& text) {
    field->setText(text);
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(field, &out);
}

class KorvviewEditorsTest : public InScratchFolder {
protected:
    void SetUp() override {
        InScratchFolder::SetUp();
        factory.services.chooser = &editor_chooser;
        services.file_chooser = &chooser;
        services.editors = &pool;
        services.extensions = &extensions;
        services.plot3d = &plot3d;
    }
    void TearDown() override {
        frame.reset();
        window.reset();
        InScratchFolder::TearDown();
    }
    // A .vxg log (little-endian): rpm, tps, O2, timing, pulse width, knock per record.
    void play(const std::vector<std::vector<float>>& records) {
        Bytes log = minimal_header({9, 7, 3, 0, 10, 17});
        for (const auto& record : records) {
            korv::testsupport::append_f32_le(log, 0.0f);
            for (float v : record) korv::testsupport::append_f32_le(log, v);
        }
        write_bytes(path("run.vxg"), log);
        frame = std::make_unique<PLAYframe>(services);
        chooser.queue_path(path("run.vxg"));
        frame->open_button->click();
    }
    std::string shown_text() const { return frame->record_area->toPlainText().toStdString(); }
    PlayerAnalysis& analysis() { return static_cast<PlayerAnalysis&>(frame->analysis()); }

    korv::platform::ScriptedFileChooser chooser;
    korv::platform::ScriptedFileChooser editor_chooser;
    ed::EditorFactory factory;
    EditorPool pool{&factory};
    AnalysisExtensions extensions;
    Plot3dNone plot3d;
    PlayerServices services;
    std::unique_ptr<PLAYframe> frame;
    std::unique_ptr<Korvane> window;
};

}  // namespace

TEST_F(KorvviewEditorsTest, AnimationLightsTheRecordsCellAndShowsItsValues) {
    play({{3000, 50, 0.9f, 20, 10, 0}, {5000, 100, 0.9f, 20, 10, 0}});
    frame->itc_animate->setChecked(true);
    frame->afc_animate->setChecked(true);
    frame->animate_control->setChecked(true);
    auto* itc = dynamic_cast<ed::ITCframe1*>(frame->editors.itc_frame);
    auto* afc = dynamic_cast<ed::AFCframe1*>(frame->editors.afc_frame);
    ASSERT_NE(itc, nullptr);
    ASSERT_NE(afc, nullptr);
    EXPECT_TRUE(afc->isVisible());
    type_into(itc->Value[1], "5");  // 5 degrees at 2400 and 4000: 3000 rpm is 5
    type_into(itc->Value[2], "5");
    type_into(afc->Value[1], "-10");  // fuel at 3000 rpm: -10 + 10 x 600 / 1600 = -7
    frame->rewind_button->click();
    EXPECT_EQ(itc->highlighted_cell(), 5);
    EXPECT_EQ(ed::field_colour(*afc->Cell[5]), kRed);
    EXPECT_EQ(afc->adjustDelta(), -7);
    EXPECT_NE(shown_text().find("Timing 20/25(5)"), std::string::npos) << shown_text();
    EXPECT_NE(shown_text().find("(-7)"), std::string::npos) << shown_text();

    frame->animate_control->setChecked(false);
    frame->afc_animate->setChecked(false);
    frame->afc2_animate->setChecked(true);
    frame->animate_control->setChecked(true);
    auto* vcd = dynamic_cast<ed::AFCframe2*>(frame->editors.afc2_frame);
    ASSERT_NE(vcd, nullptr);
    frame->forward_button->click();
    ASSERT_TRUE(vcd->highlighted_cell());
    EXPECT_EQ(vcd->highlighted_cell()->row, 10);
    EXPECT_EQ(vcd->highlighted_cell()->column, 10);
}

TEST_F(KorvviewEditorsTest, LockedCellAndO2SliderMoveAnAfcKnob) {
    play({{5000, 100, 0.9f, 20, 10, 0}, {5000, 100, 0.9f, 20, 10, 0}});
    frame->afc_animate->setChecked(true);
    frame->animate_control->setChecked(true);
    auto* afc = dynamic_cast<ed::AFCframe1*>(frame->editors.afc_frame);
    ASSERT_NE(afc, nullptr);
    frame->play_to_end();
    QTest::mouseClick(analysis().grid()->cell(row_o2, 10), Qt::LeftButton);
    ASSERT_TRUE(analysis().cell_locked().has_value());
    frame->o2_slider->setValue(80);
    emit frame->o2_slider->sliderReleased();
    // Twelve percent less fuel at 5000 rpm: the 5600 knob goes down until
    // the 5000 cell reads -12.
    EXPECT_EQ(afc->marked_knob(), 3);
    EXPECT_EQ(ed::field_colour(*afc->Value[3]), kRed);
    EXPECT_LE(afc->Cell[9]->text().toInt(), -12);
    EXPECT_LT(afc->Value[3]->text().toInt(), 0);
}

TEST_F(KorvviewEditorsTest, KvtCfgRestoresAllThreeEditors) {
    const std::string dir = path("");
    const auto knob = ed::encode_knob_file(ed::ControllerTag::knob_afc, {1, 2, 3, 4, 5});
    write_bytes(path("knob.cfg"), Bytes(knob.begin(), knob.end()));
    const auto itc = ed::encode_knob_file(ed::ControllerTag::knob_itc, {-1, -2, -3, -4, -5});
    write_bytes(path("itc.cfg"), Bytes(itc.begin(), itc.end()));
    ed::VcdSettings s;
    s.adjust_cells[ed::vcd_rpm] = {1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000};
    s.adjust_cells[ed::vcd_low].fill(4);
    s.adjust_cells[ed::vcd_high].fill(9);
    s.low_tps = 30;
    s.hi_tps = 60;
    const auto vcd = ed::encode_vcd_file(s);
    write_bytes(path("vcd.cfg"), Bytes(vcd.begin(), vcd.end()));

    kvt::KvtConfig c;
    c.knob_afc = kvt::EditorSlot{20, 30, true, "knob.cfg", dir};
    c.vcd_afc = kvt::EditorSlot{40, 50, false, "vcd.cfg", dir};
    c.itc = kvt::EditorSlot{60, 70, true, "itc.cfg", dir};
    ASSERT_FALSE(kvt::write_kvt_file(path("kvt.cfg"), c));
    window = std::make_unique<Korvane>(services);

    const EditorRefs& editors = window->editors;
    auto* afc = dynamic_cast<ed::AFCframe1*>(editors.afc_frame);
    auto* afc2 = dynamic_cast<ed::AFCframe2*>(editors.afc2_frame);
    auto* itc_frame = dynamic_cast<ed::ITCframe1*>(editors.itc_frame);
    ASSERT_TRUE(afc && afc2 && itc_frame);
    EXPECT_EQ(afc->model().adjust_value, (ed::Knobs{1, 2, 3, 4, 5}));
    EXPECT_EQ(itc_frame->model().adjust_value, (ed::Knobs{-1, -2, -3, -4, -5}));
    EXPECT_EQ(afc2->settings(), s);
    EXPECT_EQ(afc2->display_cells[0][3]->text(), "4");
    EXPECT_TRUE(afc->isVisible());
    EXPECT_FALSE(afc2->isVisible());
    EXPECT_EQ(afc->windowTitle(), QString::fromStdString("AFC settings file: " + dir + "knob.cfg"));
}
