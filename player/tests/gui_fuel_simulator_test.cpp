// Controller animation and the fuel-adjust simulator, with editors that
// record what they are asked.
#include "player/tests/analysis_fixture.h"

#include "player/gui/analysis_grid.h"

#include <QCheckBox>
#include <QSlider>
#include <QTest>

using namespace korv::player;
using namespace korv::player::testing_support;

namespace {

class FuelSimulatorTest : public AnalysisFrameTest {
protected:
    bool called(const std::string& call) const {
        return std::find(editor_factory.calls.begin(), editor_factory.calls.end(), call) != editor_factory.calls.end();
    }
    void animate_with(QCheckBox* box) {
        box->setChecked(true);
        frame->animate_control->setChecked(true);
    }
    // Locks the O2 cell of a band and lets the slider go at `volts` x 100.
    void simulate(int band, int slider) {
        QTest::mouseClick(analysis().grid()->cell(row_o2, band), Qt::LeftButton);
        ASSERT_TRUE(analysis().cell_locked().has_value());
        frame->o2_slider->setValue(slider);
        emit frame->o2_slider->sliderReleased();
    }
    QString cell_text(int row, int band) { return analysis().grid()->cell(row, band)->text(); }
    // A PMS record: 5000 rpm, full throttle, O2 0.90 V, pulse 72 counts.
    static Bytes pms_record() {
        return dab_record(
            {{5, 0xF4}, {6, 0x01}, {25, 100}, {19, 46}, {13, 72}, {11, 70}, {8, 20}, {31, 0xE8}, {32, 3}});
    }
};

const std::vector<VxmRow> kFullThrottle = {{5000, 100, 0.9f, 20, 10, 0}, {5000, 100, 0.9f, 20, 10, 0}};

}  // namespace

TEST_F(FuelSimulatorTest, BothAfcEditorsAreRefused) {
    write_vxm("run.db1", kFullThrottle);
    open("run.db1");
    frame->afc_animate->setChecked(true);
    frame->afc2_animate->setChecked(true);
    frame->animate_control->setChecked(true);
    EXPECT_EQ(error_text(), "Too many fuel controller windows are visible!");
    EXPECT_FALSE(frame->animate_control->isChecked());
    EXPECT_EQ(editor_factory.knob, nullptr);
    dismiss_error();

    frame->afc2_animate->setChecked(false);
    frame->animate_control->setChecked(true);
    ASSERT_NE(editor_factory.knob, nullptr);
    EXPECT_TRUE(editor_factory.knob->window()->isVisible());
    EXPECT_EQ(frame->editors.afc_frame, editor_factory.knob);
    EXPECT_EQ(editor_factory.itc, nullptr);
    frame->animate_control->setChecked(false);
    EXPECT_FALSE(editor_factory.knob->window()->isVisible());
}

TEST_F(FuelSimulatorTest, PmsLogAnimatesThePmsEditor) {
    write_bytes(path("run.dab"), dab_log({pms_record(), pms_record()}));
    open("run.dab");
    frame->animate_control->setChecked(true);
    ASSERT_NE(editor_factory.pms, nullptr);
    EXPECT_TRUE(editor_factory.pms->window()->isVisible());
    editor_factory.pms->map_percent = 10;
    frame->forward_button->click();
    EXPECT_TRUE(called("PMSframe animate_cells 5000 100 0.000000 0"));
    // The O2 that 10 % more fuel would read; the pulse shows only with a fuel
    // addition or a locked cell.
    EXPECT_NE(shown_text().find("Fuel(pw) 9.71(0.99) Hz:1000"), std::string::npos) << shown_text();
    EXPECT_FLOAT_EQ(simulator().adjust_fuel_pw, 9.99f + 0.999f);
}

TEST_F(FuelSimulatorTest, AirFuelGridGetsFiveCallsForARecordThatPasses) {
    const Bytes idle = dab_record({{5, 100}, {25, 5}});  // 1000 rpm, 5 %
    write_bytes(path("run.dab"), dab_log({pms_record(), idle}));
    open("run.dab");
    FakeAirFuelGrid grid;
    frame->afr_frame = &grid;
    frame->low_vals->setChecked(true);
    frame->rewind_button->click();
    ASSERT_EQ(grid.calls.size(), 5u);
    for (int kind = 0; kind < 5; ++kind) {
        EXPECT_EQ(grid.calls[kind].kind, kind);
        EXPECT_EQ(grid.calls[kind].rpm, 5000);
        EXPECT_TRUE(grid.calls[kind].low);
    }
    EXPECT_FLOAT_EQ(grid.calls[0].value, 0.9f);
    EXPECT_FLOAT_EQ(grid.calls[1].value, 20.0f);
    EXPECT_FLOAT_EQ(grid.calls[2].value, 1000.0f);
    EXPECT_FLOAT_EQ(grid.calls[3].value, 9.99f);
    EXPECT_FLOAT_EQ(grid.calls[4].value, 41.62f);  // 9.99 x 5000 / 1200
    frame->forward_button->click();
    EXPECT_EQ(grid.calls.size(), 5u);
    frame->afr_frame = nullptr;
}

TEST_F(FuelSimulatorTest, VxmEditorsShapeTheTextAndTheAnalysis) {
    write_vxm("run.db1", {{3000, 50, 0.9f, 20, 10, 0}, {5000, 100, 0.9f, 20, 10, 0}});
    open("run.db1");
    frame->itc_animate->setChecked(true);
    animate_with(frame->afc_animate);
    ASSERT_NE(editor_factory.knob, nullptr);
    ASSERT_NE(editor_factory.itc, nullptr);
    editor_factory.knob->delta = -10;
    editor_factory.knob->percentage = -10;
    editor_factory.itc->degrees = 5;
    frame->rewind_button->click();
    EXPECT_TRUE(called("AFCframe1 animate_cells 3000"));
    EXPECT_TRUE(called("ITCframe1 animate_cells 3000"));
    // Less fuel: 9.0 ms, and a leaner O2 of 0.9 / 1.1.
    EXPECT_NE(shown_text().find("Timing 20/25(5)"), std::string::npos) << shown_text();
    EXPECT_NE(shown_text().find("Fuel(pw) 10.0(-10)/9.0(-10)|0.81"), std::string::npos) << shown_text();

    frame->forward_button->click();  // passes the filter
    EXPECT_FLOAT_EQ(analysis().peaks().peak_value(peak_timing), 25.0f);
    EXPECT_FLOAT_EQ(analysis().peaks().peak_value(peak_pulse_width), 9.0f);
    EXPECT_FLOAT_EQ(analysis().peaks().peak_value(peak_o2), 0.81f);
}

TEST_F(FuelSimulatorTest, LockedCellSearchesTheSliderO2) {
    write_vxm("run.db1", kFullThrottle);
    open("run.db1");
    animate_with(frame->afc_animate);
    frame->play_to_end();
    simulate(10, 80);
    // 0.90 / 1.01^12 = 0.7987: twelve percent less fuel.
    EXPECT_EQ(simulator().adjust_fuel_pcnt, -12);
    EXPECT_EQ(simulator().fuel_base, -1);
    EXPECT_NE(shown_text().find("/8.86(-12)|0.79"), std::string::npos) << shown_text();
    EXPECT_EQ(cell_text(row_o2, 10), "0.79");
    EXPECT_TRUE(called("AFCframe1 control_simulator 5000 -12 -1"));
    EXPECT_TRUE(analysis().cell_locked().has_value());
    EXPECT_TRUE(frame->o2_slider->isEnabled());

    // A target the knob AFC cannot reach (over 30 %) changes nothing.
    const std::string before = shown_text();
    frame->o2_slider->setValue(40);
    emit frame->o2_slider->sliderReleased();
    EXPECT_EQ(shown_text(), before);
    EXPECT_EQ(simulator().adjust_fuel_pcnt, -12);
    EXPECT_FLOAT_EQ(simulator().adjust_fuel_pw, 8.86f);

    // Stepping ends the simulation.
    frame->back_button->click();
    EXPECT_FALSE(frame->o2_slider->isEnabled());
    EXPECT_FALSE(analysis().cell_locked().has_value());
}

TEST_F(FuelSimulatorTest, PmsSearchGoesThroughThePmsEditor) {
    write_bytes(path("run.dab"), dab_log({pms_record(), pms_record()}));
    open("run.dab");
    frame->animate_control->setChecked(true);
    frame->play_to_end();
    simulate(10, 80);
    ASSERT_NE(editor_factory.pms, nullptr);
    EXPECT_EQ(editor_factory.pms->pending, -12);
    // The editor's -12 % seen from the logged pulse: 0.9 / 1.12.
    EXPECT_NE(shown_text().find("Fuel(pw) 9.71/8.79(-12%)(0.8)"), std::string::npos) << shown_text();
    EXPECT_EQ(cell_text(row_o2, 10), "0.8");
}

TEST_F(FuelSimulatorTest, SliderNeedsAFuelEditor) {
    write_vxm("run.db1", kFullThrottle);
    open("run.db1");
    frame->play_to_end();
    // Not locked: the slider is off and its release does nothing.
    emit frame->o2_slider->sliderReleased();
    EXPECT_TRUE(error_text().isEmpty());

    simulate(10, 80);
    EXPECT_EQ(error_text(), "There must be a fuel controller selected before simultion is allowed!");
    dismiss_error();

    // An AFC window shown without its box ticked.
    frame->editors.afc_frame = pool.make_AFCframe1();
    frame->editors.afc_frame->window()->show();
    emit frame->o2_slider->sliderReleased();
    EXPECT_EQ(error_text(), "No fuel controller selected!");
    EXPECT_EQ(simulator().adjust_fuel_pcnt, 0);
}

// A click in the O2 slider's groove moves it a page without grabbing the
// handle; its release runs the same steps as the end of a drag.
TEST_F(FuelSimulatorTest, AClickInTheSliderGrooveRunsTheSearch) {
    write_vxm("run.db1", kFullThrottle);
    open("run.db1");
    frame->play_to_end();
    QTest::mouseClick(analysis().grid()->cell(row_o2, 10), Qt::LeftButton);
    ASSERT_TRUE(frame->o2_slider->isEnabled());
    ASSERT_EQ(frame->o2_slider->value(), 90);  // the locked record's O2
    const QPoint groove_bottom(frame->o2_slider->width() / 2, frame->o2_slider->height() - 3);

    QTest::mouseClick(frame->o2_slider, Qt::LeftButton, {}, groove_bottom);
    EXPECT_EQ(frame->o2_slider->value(), 80);
    EXPECT_EQ(error_text(), "There must be a fuel controller selected before simultion is allowed!");
    dismiss_error();

    animate_with(frame->afc_animate);
    ASSERT_TRUE(analysis().cell_locked().has_value());
    QTest::mouseClick(frame->o2_slider, Qt::LeftButton, {}, groove_bottom);
    EXPECT_EQ(frame->o2_slider->value(), 70);
    // 0.90 / 1.01^26 = 0.6942: twenty-six percent less fuel.
    EXPECT_EQ(simulator().adjust_fuel_pcnt, -26);
    EXPECT_TRUE(called("AFCframe1 control_simulator 5000 -26 -1"));
    EXPECT_TRUE(error_text().isEmpty());
}
