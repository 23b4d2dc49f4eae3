// The AFC and ITC editor windows offscreen: fields, files, animation and
// the fuel simulator.
#include "common/gui/error_dialog.h"
#include "editors/gui/afcframe2.h"
#include "editors/gui/editor_fields.h"
#include "editors/gui/knob_frame.h"
#include "editors/gui/afr_frame.h"
#include "editors/gui/pms_dialog.h"
#include "editors/gui/pms_enhanced.h"
#include "editors/gui/pms_frame.h"
#include "platform/core/scripted_file_chooser.h"

#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"
#include "testsupport/window_texts.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace korv::editors;
using korv::testsupport::Bytes;
using korv::testsupport::read_bytes;
using korv::testsupport::write_bytes;

namespace {

const QColor kRed(255, 0, 0);

void type_into(QLineEdit* field, const QString& text) {
    field->setText(text);
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(field, &out);
}

QString shown_error(korv::ErrorReporter& errors) {
    const error_dialog* dialog = errors.error_diag();
    return dialog && dialog->isVisible() ? dialog->message() : QString();
}

Bytes knob_file(ControllerTag tag, const Knobs& k) {
    const auto bytes = encode_knob_file(tag, k);
    return Bytes(bytes.begin(), bytes.end());
}

class KnobEditorTest : public ::testing::Test {
protected:
    std::vector<QString> values() const {
        std::vector<QString> out;
        for (QLineEdit* f : afc.Value) out.push_back(f->text());
        return out;
    }
    QString cell(int rpm) const { return afc.Cell[rpm / 500 - 1]->text(); }
    void load(KnobFrame& frame, const std::string& name) {
        dynamic_cast<korv::player::ControllerEditor&>(frame).set_config(QString::fromStdString(name),
                                                                        QString::fromStdString(folder.path() + "/"));
        if (auto* a = dynamic_cast<AFCframe1*>(&frame)) a->recall_cfg1();
        if (auto* i = dynamic_cast<ITCframe1*>(&frame)) i->recall_cfg1();
    }

    korv::testsupport::TempFolder folder;
    korv::platform::ScriptedFileChooser chooser;
    AFCframe1 afc{chooser};
    ITCframe1 itc{chooser};
};

}  // namespace

TEST_F(KnobEditorTest, TextsOfBothWindows) {
    EXPECT_EQ(afc.windowTitle(), "First generation AFC settings");
    EXPECT_EQ(itc.windowTitle(), "First generation ITC settings");
    EXPECT_EQ(itc.info_text->toPlainText(),
              "This panel is used to enter/display/save the adjustment settings of the Apexi ITC (5 knob style)");
    EXPECT_EQ(afc.map_text->toPlainText(),
              "The two lines above show the interpolated adjustment map in 500 rpm "
              "increments.  Values are not rounded.");
    EXPECT_EQ(afc.Value[2]->toolTip(), "Enter 4000 rpm value +-30%");
    EXPECT_EQ(itc.Value[4]->objectName(), "Value_5");
    EXPECT_EQ(afc.Cell[15]->objectName(), "Cell_16");
    EXPECT_FALSE(afc.Cell[0]->isEnabled());
    EXPECT_EQ(afc.Ok_Button->toolTip(), "Apply and save settings, close the window");
    EXPECT_EQ(afc.Recall_Button->text(), "Recall");
    EXPECT_EQ(values(), std::vector<QString>(5, "0"));
}

TEST_F(KnobEditorTest, KnobEntryIsCheckedAndRedrawsTheMap) {
    type_into(afc.Value[0], "10");
    EXPECT_EQ(cell(500), "6");
    EXPECT_EQ(cell(1000), "9");
    EXPECT_EQ(cell(2500), "0");
    for (const char* bad : {"31", "-31", "abc", "5x", ""}) {
        type_into(afc.Value[0], bad);
        EXPECT_EQ(shown_error(afc.error_reporter()), "Must be numeric -30 to +30!") << bad;
        EXPECT_EQ(afc.Value[0]->text(), "10") << bad;
        afc.error_reporter().hide();
    }
    type_into(afc.Value[0], " -30");
    EXPECT_EQ(afc.model().adjust_value[0], -30);
}

TEST_F(KnobEditorTest, LoadsAFileAndRefusesOthersWithoutChange) {
    write_bytes(folder.file("afc.cfg"), knob_file(ControllerTag::knob_afc, {10, 0, 0, 0, -7}));
    ASSERT_EQ(::chmod(folder.file("afc.cfg").c_str(), 0444), 0);  // read-only still loads
    load(afc, "afc.cfg");
    EXPECT_EQ(values(), (std::vector<QString>{"10", "0", "0", "0", "-7"}));
    EXPECT_EQ(cell(7000), "-6");
    EXPECT_EQ(afc.windowTitle(), QString::fromStdString("AFC settings file: " + folder.path() + "/afc.cfg"));

    afc.animate_cells(1000);
    afc.control_simulator(1000, 5, 1);  // an offset and a base to keep
    const KnobSimulation before = afc.model();
    write_bytes(folder.file("itc.cfg"), knob_file(ControllerTag::knob_itc, {1, 1, 1, 1, 1}));
    load(afc, "itc.cfg");
    EXPECT_EQ(shown_error(afc.error_reporter()), "Invalid 1st gen AFC config file!");
    afc.error_reporter().hide();
    Bytes cut = knob_file(ControllerTag::knob_afc, {3, 3, 3, 3, 3});
    cut.resize(50);
    write_bytes(folder.file("cut.cfg"), cut);
    load(afc, "cut.cfg");
    EXPECT_TRUE(shown_error(afc.error_reporter()).startsWith("Unable to open file: "));
    load(afc, "missing.cfg");
    EXPECT_EQ(afc.model().adjust_value, before.adjust_value);
    EXPECT_EQ(afc.model().sim_adjust, Knobs{});  // a recall always drops the simulator's moves
    EXPECT_EQ(afc.model().sim_base, KnobMap{});

    load(itc, "afc.cfg");
    EXPECT_EQ(shown_error(itc.error_reporter()), "Invalid 1st gen ITC config file!");
}

TEST_F(KnobEditorTest, EveryRecallDropsTheSimulatedMovesFirst) {
    write_bytes(folder.file("afc.cfg"), knob_file(ControllerTag::knob_afc, {4, 0, 0, 0, 0}));
    write_bytes(folder.file("itc.cfg"), knob_file(ControllerTag::knob_itc, {1, 1, 1, 1, 1}));
    Bytes cut = knob_file(ControllerTag::knob_afc, {3, 3, 3, 3, 3});
    cut.resize(50);
    write_bytes(folder.file("cut.cfg"), cut);
    struct Case {
        const char* file;  // empty: the editor has no settings file
        Knobs knobs;       // the settings after the recall
        KnobMap base;
    };
    const Case cases[] = {
        {"afc.cfg", {4, 0, 0, 0, 0}, knob_map({4, 0, 0, 0, 0})},
        {"", {4, 0, 0, 0, 0}, {}},
        {"missing.cfg", {4, 0, 0, 0, 0}, {}},
        {"itc.cfg", {4, 0, 0, 0, 0}, {}},  // the wrong controller
        {"cut.cfg", {4, 0, 0, 0, 0}, {}},
    };
    load(afc, "afc.cfg");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        afc.animate_cells(2500);
        afc.control_simulator(2500, 6, 1);
        ASSERT_NE(afc.model().sim_adjust, Knobs{});
        ASSERT_EQ(afc.marked_knob(), 1);
        load(afc, c.file);  // as the player's Reset does
        afc.error_reporter().hide();
        EXPECT_EQ(afc.model().sim_adjust, Knobs{});
        EXPECT_EQ(afc.marked_knob(), std::nullopt);
        EXPECT_EQ(korv::editors::field_colour(*afc.Value[1]), QColor(255, 255, 255));
        EXPECT_EQ(afc.model().adjust_value, c.knobs);
        EXPECT_EQ(afc.model().sim_base, c.base);
        EXPECT_EQ(values(), (std::vector<QString>{"4", "0", "0", "0", "0"}));
        EXPECT_EQ(cell(2500), "0");
    }
    // Ok after a Reset saves the settings without the simulator's moves.
    chooser.queue_path(folder.file("saved.cfg"));
    afc.Ok_Button->click();
    EXPECT_EQ(read_bytes(folder.file("saved.cfg")), knob_file(ControllerTag::knob_afc, {4, 0, 0, 0, 0}));
}

TEST_F(KnobEditorTest, SaveWritesTheShownKnobsAndMakesThemTheBase) {
    type_into(afc.Value[1], "8");
    chooser.queue_path(folder.file("first.cfg"));
    afc.Ok_Button->click();
    afc.animate_cells(2500);
    afc.control_simulator(2500, 4, 1);
    ASSERT_EQ(afc.marked_knob(), 1);
    EXPECT_EQ(afc.Value[1]->text(), "12");
    EXPECT_EQ(afc.model().sim_adjust[1], 4);

    chooser.queue_path(folder.file("mine.cfg"));
    afc.Ok_Button->click();
    ASSERT_EQ(chooser.requests().size(), 2u);
    EXPECT_EQ(chooser.requests()[0].title, "Save AFC settings");
    EXPECT_EQ(chooser.requests()[0].file_name, "afc.cfg");
    EXPECT_EQ(chooser.requests()[1].file_name, "first.cfg");
    EXPECT_EQ(read_bytes(folder.file("mine.cfg")), knob_file(ControllerTag::knob_afc, {0, 12, 0, 0, 0}));
    EXPECT_EQ(afc.config_file(), "mine.cfg");
    EXPECT_EQ(afc.config_dir(), QString::fromStdString(folder.path() + "/"));
    EXPECT_EQ(afc.marked_knob(), std::nullopt) << "the offset is now the setting";
    // The saved map is the base: nothing left to simulate at 2500 rpm.
    afc.animate_cells(2500);
    EXPECT_EQ(afc.adjustPercentage(), 12);
    EXPECT_EQ(afc.adjustDelta(), 0);
}

TEST_F(KnobEditorTest, CancelledChoosersKeepTheCurrentFile) {
    afc.set_config("keep.cfg", "/cfg/");
    afc.Recall_Button->click();
    afc.Ok_Button->click();
    ASSERT_EQ(chooser.requests().size(), 2u);
    EXPECT_EQ(chooser.requests()[0].title, "Open");
    EXPECT_EQ(chooser.requests()[0].directory, "/cfg/");
    EXPECT_EQ(chooser.requests()[1].file_name, "keep.cfg");
    EXPECT_EQ(afc.config_file(), "keep.cfg");
    EXPECT_EQ(afc.config_dir(), "/cfg/");
}

TEST_F(KnobEditorTest, AnimationLightsTheCellAndRecordsOutsideTheMapZeroTheOutputs) {
    type_into(afc.Value[2], "10");
    afc.animate_cells(4000);
    ASSERT_EQ(afc.highlighted_cell(), 7);
    EXPECT_EQ(korv::editors::field_colour(*afc.Cell[7]), kRed);
    afc.control_simulator(4000, 3, 1);
    afc.animate_cells(4000);
    EXPECT_EQ(afc.adjustPercentage(), 0);  // nothing loaded: the base is 0
    EXPECT_EQ(afc.adjustDelta(), 11);      // the cell was past 0 + 3: one move
    for (int rpm : {499, 8500, -5}) {
        afc.animate_cells(rpm);
        EXPECT_EQ(afc.highlighted_cell(), std::nullopt) << rpm;
        EXPECT_NE(korv::editors::field_colour(*afc.Cell[7]), kRed);
        EXPECT_EQ(afc.adjustPercentage(), 0);
        EXPECT_EQ(afc.adjustDelta(), 0);
        const KnobSimulation before = afc.model();
        afc.control_simulator(rpm, 10, 1);
        EXPECT_EQ(afc.model().sim_adjust, before.sim_adjust) << rpm;
    }

    type_into(itc.Value[4], "-7");
    itc.animate_cells(7000);
    EXPECT_EQ(itc.adjustPercentage(), -6);
    itc.animate_cells(100);
    EXPECT_EQ(itc.adjustPercentage(), 0);
}

TEST_F(KnobEditorTest, EveryCellAndKnobStateReads) {
    type_into(afc.Value[2], "10");
    struct State {
        std::string name;
        QLineEdit* field;
        QColor background;
    };
    std::vector<std::pair<State, double>> seen;
    const auto take = [&](const State& s) {
        EXPECT_EQ(korv::editors::field_colour(*s.field), s.background) << s.name;
        seen.emplace_back(s, korv::testsupport::field_least_contrast(*s.field));
    };
    take({"map cell", afc.Cell[3], QColor(211, 211, 211)});
    take({"knob", afc.Value[2], QColor(255, 255, 255)});
    afc.animate_cells(4000);
    afc.control_simulator(4000, 3, 1);
    take({"highlighted map cell", afc.Cell[7], kRed});
    take({"marked knob", afc.Value[*afc.marked_knob()], kRed});
    afc.animate_cells(2000);
    take({"map cell no longer highlighted", afc.Cell[7], QColor(211, 211, 211)});
    itc.animate_cells(4000);
    take({"highlighted ITC map cell", itc.Cell[7], kRed});
    for (const auto& [state, ratio] : seen) EXPECT_GE(ratio, korv::testsupport::kReadableContrast) << state.name;
}

namespace {

class VcdEditorTest : public ::testing::Test {
protected:
    QLineEdit* field(int line, int k) { return vcd.set_point_fields[line][k]; }
    QString map_text(int row, int column) { return vcd.display_cells[row][column]->text(); }
    void fill_even(int low, int high, int low_tps, int hi_tps) {
        for (int k = 0; k < kSetPoints; ++k) {
            type_into(field(vcd_rpm, k), QString::number(1000 * (k + 1)));
            type_into(field(vcd_low, k), QString::number(low));
            type_into(field(vcd_high, k), QString::number(high));
        }
        type_into(vcd.low_tps_point, QString::number(low_tps));
        type_into(vcd.hi_tps_point, QString::number(hi_tps));
    }

    korv::testsupport::TempFolder folder;
    korv::platform::ScriptedFileChooser chooser;
    AFCframe2 vcd{chooser};
};

}  // namespace

TEST_F(VcdEditorTest, FieldsAreCheckedAndWaitForRemap) {
    EXPECT_EQ(vcd.windowTitle(), "Second generation AFC settings");
    EXPECT_EQ(field(vcd_high, 7)->objectName(), "hi_adjust_8");
    EXPECT_EQ(vcd.remap_button->text(), "Re-map");
    struct Case {
        QLineEdit* field;
        const char* bad;
        const char* message;
    };
    const Case cases[] = {
        {field(vcd_rpm, 0), "999", "Must be numeric 1000 to 8000!"},
        {field(vcd_rpm, 7), "8001", "Must be numeric 1000 to 8000!"},
        {field(vcd_low, 3), "51", "Must be numeric -50 to 50!"},
        {field(vcd_high, 3), "x", "Must be numeric -50 to 50!"},
        {vcd.low_tps_point, "9", "Must be numeric 10 to 100!"},
        {vcd.hi_tps_point, "101", "Must be numeric 10 to 100!"},
    };
    for (const Case& c : cases) {
        type_into(c.field, c.bad);
        EXPECT_EQ(shown_error(vcd.error_reporter()), c.message) << c.bad;
        EXPECT_EQ(c.field->text(), "0");
        vcd.error_reporter().hide();
    }
    EXPECT_EQ(vcd.settings(), VcdSettings{});

    fill_even(10, 20, 20, 80);
    EXPECT_EQ(map_text(5, 4), "0");  // not before Re-map
    vcd.remap_button->click();
    EXPECT_EQ(map_text(0, 0), "10");
    EXPECT_EQ(map_text(5, 16), "15");
    EXPECT_EQ(map_text(10, 8), "20");
}

TEST_F(VcdEditorTest, MapCellsReadInEveryState) {
    fill_even(0, 0, 20, 80);
    vcd.remap_button->click();
    QLineEdit* cell = vcd.display_cells[1][6];
    EXPECT_GE(korv::testsupport::field_least_contrast(*cell), korv::testsupport::kReadableContrast) << "blue";
    vcd.animate_cells(3000, 10);
    ASSERT_EQ(korv::editors::field_colour(*cell), kRed);
    EXPECT_GE(korv::testsupport::field_least_contrast(*cell), korv::testsupport::kReadableContrast) << "highlighted";
}

TEST_F(VcdEditorTest, SaveAndLoadTheFile) {
    fill_even(-5, 5, 30, 70);
    chooser.queue_path(folder.file("vcd.cfg"));
    vcd.ok_button->click();
    EXPECT_EQ(chooser.requests().at(0).title, "Save");
    const auto expected = encode_vcd_file(vcd.settings());
    EXPECT_EQ(read_bytes(folder.file("vcd.cfg")), Bytes(expected.begin(), expected.end()));

    ASSERT_EQ(::chmod(folder.file("vcd.cfg").c_str(), 0444), 0);
    AFCframe2 other(chooser);
    chooser.queue_path(folder.file("vcd.cfg"));
    other.recall_button->click();
    EXPECT_EQ(other.settings(), vcd.settings());
    EXPECT_EQ(other.windowTitle(), QString::fromStdString("AFC settings file: " + folder.path() + "/vcd.cfg"));
    EXPECT_EQ(other.low_tps_point->text(), "30");
    EXPECT_EQ(map_text(0, 0), "0");  // the saving window was never re-mapped
    EXPECT_EQ(other.display_cells[0][0]->text(), "-5");

    const VcdSettings loaded = other.settings();
    write_bytes(folder.file("knob.cfg"), knob_file(ControllerTag::knob_afc, {}));
    other.set_config("knob.cfg", QString::fromStdString(folder.path() + "/"));
    other.recall_cfg1();
    EXPECT_EQ(shown_error(other.error_reporter()), "Not a valid 2nd generation AFC configuration file");
    Bytes cut = read_bytes(folder.file("vcd.cfg"));
    cut.resize(90);
    write_bytes(folder.file("cut.cfg"), cut);
    other.set_config("cut.cfg", QString::fromStdString(folder.path() + "/"));
    other.recall_cfg1();
    EXPECT_TRUE(shown_error(other.error_reporter()).startsWith("Unable to open file: "));
    EXPECT_EQ(other.settings(), loaded);

    other.set_config("kept.cfg", "/cfg/");
    other.recall_button->click();  // cancelled
    EXPECT_EQ(other.config_file(), "kept.cfg");
    EXPECT_EQ(other.config_dir(), "/cfg/");
}

TEST_F(VcdEditorTest, EveryRecallDropsTheSimulatedMovesFirst) {
    fill_even(4, 8, 20, 80);
    chooser.queue_path(folder.file("vcd.cfg"));
    vcd.ok_button->click();
    const VcdSettings saved = vcd.settings();
    const Bytes saved_bytes = read_bytes(folder.file("vcd.cfg"));
    write_bytes(folder.file("knob.cfg"), knob_file(ControllerTag::knob_afc, {}));
    Bytes cut = saved_bytes;
    cut.resize(60);
    write_bytes(folder.file("cut.cfg"), cut);
    const struct {
        const char* file;  // empty: the editor has no settings file
    } cases[] = {{"vcd.cfg"}, {""}, {"missing.cfg"}, {"knob.cfg"}, {"cut.cfg"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        vcd.animate_cells(3000, 10);
        vcd.control_simulator(3000, 10, 1, 10);
        ASSERT_NE(vcd.settings(), saved);
        vcd.set_config(c.file, QString::fromStdString(folder.path() + "/"));
        vcd.recall_cfg1();  // as the player's Reset does
        vcd.error_reporter().hide();
        EXPECT_EQ(vcd.settings(), saved);
        EXPECT_EQ(field(vcd_low, 2)->text(), "4");
        EXPECT_EQ(map_text(1, 6), "4");
        vcd.animate_cells(3000, 10);
        EXPECT_EQ(vcd.adjustPercentage(), 4);
        EXPECT_EQ(vcd.adjustDelta(), 0);
    }
    // Ok after a Reset saves the settings without the simulator's moves.
    chooser.queue_path(folder.file("again.cfg"));
    vcd.ok_button->click();
    EXPECT_EQ(read_bytes(folder.file("again.cfg")), saved_bytes);
}

TEST_F(VcdEditorTest, AnimationAndSimulatorStepTowardTheBase) {
    fill_even(0, 0, 20, 80);
    vcd.remap_button->click();
    vcd.clear_sims();
    vcd.animate_cells(3000, 10);
    ASSERT_TRUE(vcd.highlighted_cell());
    EXPECT_EQ(korv::editors::field_colour(*vcd.display_cells[1][6]), kRed);
    vcd.control_simulator(3000, 12, 1, 10);
    EXPECT_EQ(map_text(1, 6), "12");
    EXPECT_EQ(field(vcd_low, 2)->text(), "12");
    vcd.animate_cells(3000, 10);
    EXPECT_EQ(vcd.adjustPercentage(), 0);
    EXPECT_EQ(vcd.adjustDelta(), 12);
    vcd.control_simulator(3000, 12, 1, 10);  // the record shown again
    EXPECT_EQ(map_text(1, 6), "12");

    for (auto [rpm, tps] : {std::pair{8500, 10}, std::pair{3000, 110}, std::pair{-1, 0}}) {
        vcd.animate_cells(rpm, tps);
        EXPECT_FALSE(vcd.highlighted_cell());
        EXPECT_NE(korv::editors::field_colour(*vcd.display_cells[1][6]), kRed);
        EXPECT_EQ(vcd.adjustPercentage(), 0);
        EXPECT_EQ(vcd.adjustDelta(), 0);
        vcd.control_simulator(rpm, 12, 1, tps);
    }
    EXPECT_EQ(vcd.settings().adjust_cells[vcd_low][2], 12);

    // Saving makes the simulated map the base.
    chooser.queue_path(folder.file("sim.cfg"));
    vcd.ok_button->click();
    vcd.animate_cells(3000, 10);
    EXPECT_EQ(vcd.adjustPercentage(), 12);
    EXPECT_EQ(vcd.adjustDelta(), 0);
}

TEST(EditorWindowTexts, AllThreeWindowsShowTheirTextsWholeAndReadable) {
    korv::platform::ScriptedFileChooser chooser;
    AFCframe1 afc(chooser);
    ITCframe1 itc(chooser);
    AFCframe2 vcd(chooser);
    // Wider values than the fields' ranges give: three digits and a sign.
    for (QLineEdit* f : afc.Cell) f->setText("-999");
    for (auto& row : vcd.display_cells)
        for (QLineEdit* f : row) f->setText("-999");
    for (QWidget* w : {static_cast<QWidget*>(&afc), static_cast<QWidget*>(&itc), static_cast<QWidget*>(&vcd)}) {
        w->show();
        QApplication::processEvents();
        EXPECT_EQ(korv::testsupport::listed(korv::testsupport::cut_texts(*w)), "") << w->objectName().toStdString();
        EXPECT_EQ(korv::testsupport::listed(korv::testsupport::pale_texts(*w)), "") << w->objectName().toStdString();
    }
}

// Every field of every editor window, selected or not, in a focused window
// or not, highlighted by the player or not.
TEST(EditorWindowTexts, EveryFieldReadsInEveryStateSelectionIncluded) {
    korv::platform::ScriptedFileChooser chooser;
    korv::editors::EditorServices services;
    services.chooser = &chooser;
    PMSframe pms(services);
    PMSenhanced enhanced;
    AFRframe afr;
    AFCframe1 afc(chooser);
    ITCframe1 itc(chooser);
    AFCframe2 vcd(chooser);
    const auto check = [&](const char* state) {
        for (QWidget* w : std::initializer_list<QWidget*>{&pms, &enhanced, &afr, &afc, &itc, &vcd}) {
            EXPECT_EQ(korv::testsupport::listed(korv::testsupport::faint_fields(*w)), "") << state;
        }
    };
    check("as built");
    pms.animate_cells(3000, 100, 0.0f, 0);
    afc.animate_cells(4000);
    afc.control_simulator(4000, 3, 1);
    itc.animate_cells(4000);
    vcd.animate_cells(3000, 10);
    afr.animate_cells(3000, 100, 0.0f, 0, 0.9f, korv::player::AirFuelGrid::o2_volts, false);
    check("highlighted during playback");
}

TEST(EditorWindowTexts, EveryWindowShowsItsTextsAsWritten) {
    korv::platform::ScriptedFileChooser chooser;
    korv::editors::EditorServices services;
    services.chooser = &chooser;
    PMSframe pms(services);
    PMSenhanced enhanced;
    PMSdialog download(nullptr);
    AFRframe afr;
    AFCframe1 afc(chooser);
    ITCframe1 itc(chooser);
    AFCframe2 vcd(chooser);
    using korv::testsupport::ExpectedText;
    const std::vector<std::pair<QWidget*, std::vector<ExpectedText>>> windows = {
        {&pms,
         {{"Program 1"},
          {"Program 2"},
          {"Program 3"},
          {"Fuel settings"},
          {"Ignition settings"},
          {"Load "},
          {"Open"},
          {"Save"},
          {"Enhanced"},
          {"Update"},
          {"Lock Boost"},
          {"Lock NOS"},
          {"Lock WOT"}}},
        {&enhanced,
         {{"Launch RPMS"},
          {"N2O"},
          {"Standalone"},
          {"Manual Vent Adjust"},
          {"Vent Learn"},
          {"Boost Table & Limit"},
          {"Boost Fuel Cut"},
          {"Tip in time"},
          {"Tip In %"}}},
        {&download, {{"Select COM port for access to the PMS"}, {"Ok"}, {"Cancel"}}},
        {&afr, {{"O2v"}, {"Timing"}, {"Air Flow"}, {"Pulse Width"}, {"Duty Cycle"}}},
        {&afc, {{"800"}, {"7200"}, {"500"}, {"8000"}, {"Ok"}, {"Cancel"}, {"Recall"}}},
        {&itc, {{"2400"}, {"Ok"}, {"Cancel"}, {"Recall"}}},
        {&vcd,
         {{"Set points"},
          {"Rpms"},
          {"Adjust"},
          {"Lo-throttle%"},
          {"Hi-throttle%"},
          {"Interpolation Map"},
          {"100%"},
          {"Ok"},
          {"Cancel"},
          {"Recall"},
          {"Re-map"}}},
    };
    for (const auto& [window, expected] : windows) {
        EXPECT_EQ(korv::testsupport::listed(korv::testsupport::missing_texts(*window, expected)), "")
            << window->objectName().toStdString();
    }
}
