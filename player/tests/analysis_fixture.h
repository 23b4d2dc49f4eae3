#pragma once
// A playback frame with the analysis and the fuel simulator plugged in,
// editors that record what the player asks of them, and hand-built logs.
#include "common/gui/error_dialog.h"
#include "player/tests/gui_test_support.h"
#include "platform/core/scripted_file_chooser.h"
#include "player/gui/analysis_extensions.h"
#include "player/gui/fuel_simulator.h"
#include "player/gui/play_frame.h"
#include "player/gui/player_analysis.h"
#include "player/tests/test_files.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace korv::player::testing_support {

class AnimatedKnobAfc : public FakeEditor<KnobAfcEditor> {
public:
    using FakeEditor::FakeEditor;
    void recall_cfg1() override { note("recall_cfg1"); }
    void animate_cells(int rpm) override { note("animate_cells " + std::to_string(rpm)); }
    int adjustPercentage() const override { return percentage; }
    int adjustDelta() const override { return delta; }
    void control_simulator(int rpm, int adjustment, int step) override {
        note("control_simulator " + std::to_string(rpm) + " " + std::to_string(adjustment) + " " +
             std::to_string(step));
    }
    int percentage = 0;
    int delta = 0;
};

class AnimatedVcdAfc : public FakeEditor<VcdAfcEditor> {
public:
    using FakeEditor::FakeEditor;
    void recall_cfg1() override { note("recall_cfg1"); }
    void animate_cells(int rpm, int tps) override {
        note("animate_cells " + std::to_string(rpm) + " " + std::to_string(tps));
    }
    int adjustPercentage() const override { return percentage; }
    int adjustDelta() const override { return delta; }
    void control_simulator(int rpm, int adjustment, int step, int tps) override {
        note("control_simulator " + std::to_string(rpm) + " " + std::to_string(adjustment) + " " +
             std::to_string(step) + " " + std::to_string(tps));
    }
    int percentage = 0;
    int delta = 0;
};

class AnimatedItc : public FakeEditor<ItcEditor> {
public:
    using FakeEditor::FakeEditor;
    void animate_cells(int rpm) override { note("animate_cells " + std::to_string(rpm)); }
    int adjustPercentage() const override { return degrees; }
    int degrees = 0;
};

// The PMS editor's total is the pending change plus its own map's.
class AnimatedPms : public FakeEditor<PmsEditor> {
public:
    using FakeEditor::FakeEditor;
    void reset_sim() override { note("reset_sim"); }
    void display_pgm() override { note("display_pgm"); }
    void set_adjust_pcnt(int percent) override { pending = percent; }
    void animate_cells(int rpm, std::int8_t tps, float boost, std::int8_t acc) override {
        note("animate_cells " + std::to_string(rpm) + " " + std::to_string(tps) + " " + std::to_string(boost) + " " +
             std::to_string(acc));
        total = pending + map_percent;
    }
    int total_adjust() const override { return total; }
    int pending = 0;
    int map_percent = 0;
    int total = 0;
};

class FakeAirFuelGrid : public AirFuelGrid {
public:
    QWidget* window() override { return &window_; }
    void animate_cells(int rpm, std::int8_t tps, float boost, std::int8_t acc, float value, int kind,
                       bool low) override {
        calls.push_back({rpm, tps, boost, acc, value, kind, low});
    }
    struct Call {
        int rpm;
        int tps;
        float boost;
        int acc;
        float value;
        int kind;
        bool low;
    };
    std::vector<Call> calls;

private:
    QWidget window_;
};

class AnimatedEditorFactory : public EditorFactory {
public:
    std::unique_ptr<KnobAfcEditor> make_AFCframe1() override { return keep(knob, "AFCframe1"); }
    std::unique_ptr<VcdAfcEditor> make_AFCframe2() override { return keep(vcd, "AFCframe2"); }
    std::unique_ptr<ItcEditor> make_ITCframe1() override { return keep(itc, "ITCframe1"); }
    std::unique_ptr<PmsEditor> make_PMSframe() override { return keep(pms, "PMSframe"); }

    CallLog calls;
    AnimatedKnobAfc* knob = nullptr;
    AnimatedVcdAfc* vcd = nullptr;
    AnimatedItc* itc = nullptr;
    AnimatedPms* pms = nullptr;

private:
    template <typename Editor>
    std::unique_ptr<Editor> keep(Editor*& raw, const char* name) {
        calls.push_back(std::string("build ") + name);
        auto made = std::make_unique<Editor>(name, calls);
        raw = made.get();
        return made;
    }
};

class FakePlot3d : public Plot3dWindowFactory {
public:
    std::unique_ptr<QWidget> make_CHART3Dframe() override {
        ++made;
        return std::make_unique<QWidget>();
    }
    int made = 0;
};

// Channel ids of the VXM logs built here, in file order.
inline constexpr std::initializer_list<std::uint8_t> kVxmIds = {9, 7, 3, 0, 10, 17};  // rpm tps O2 timing pw knock

struct VxmRow {
    float rpm, tps, o2, timing, pw, knock;
};

class AnalysisFrameTest : public InScratchFolder {
protected:
    void SetUp() override {
        InScratchFolder::SetUp();
        services.file_chooser = &chooser;
        services.editors = &pool;
        services.extensions = &extensions;
        services.plot3d = &plot3d;
        frame = std::make_unique<PLAYframe>(services);
    }
    void TearDown() override {
        frame.reset();
        InScratchFolder::TearDown();
    }

    PlayerAnalysis& analysis() { return static_cast<PlayerAnalysis&>(frame->analysis()); }
    FuelSimulator& simulator() { return static_cast<FuelSimulator&>(frame->animation()); }

    void write_vxm(const std::string& name, const std::vector<VxmRow>& rows) {
        std::vector<std::vector<float>> records;
        for (const VxmRow& r : rows) records.push_back({r.rpm, r.tps, r.o2, r.timing, r.pw, r.knock});
        write_bytes(path(name), minimal_log(kVxmIds, records));
    }
    void open(const std::string& name) {
        chooser.queue_path(path(name));
        frame->open_button->click();
    }
    std::string shown_text() const { return frame->record_area->toPlainText().toStdString(); }
    QString error_text() const {
        const error_dialog* dialog = frame->error_reporter().error_diag();
        return dialog && dialog->isVisible() ? dialog->message() : QString();
    }
    void dismiss_error() { frame->error_reporter().hide(); }

    korv::platform::ScriptedFileChooser chooser;
    AnimatedEditorFactory editor_factory;
    EditorPool pool{&editor_factory};
    AnalysisExtensions extensions;
    FakePlot3d plot3d;
    PlayerServices services;
    std::unique_ptr<PLAYframe> frame;
};

}  // namespace korv::player::testing_support
