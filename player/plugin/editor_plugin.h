#pragma once
// What Korvview's start window, controller chooser and player call on the
// controller map editors. The editors themselves are separate windows that
// implement these; until a kind exists, its factory method builds nothing
// and every caller carries on without it.
#include <QString>

#include <cstdint>
#include <memory>

class QWidget;

namespace korv::player {

// Shared by the four editors that keep a settings file.
class ControllerEditor {
public:
    virtual ~ControllerEditor() = default;
    // The editor's top-level window, which its callers place, show and hide.
    virtual QWidget* window() = 0;
    // The settings file's name and its folder (the folder ends with '/').
    virtual QString config_file() const = 0;
    virtual QString config_dir() const = 0;
    virtual void set_config(const QString& file, const QString& dir) = 0;
};

// AFCframe1: the knob-style AFC editor.
class KnobAfcEditor : public ControllerEditor {
public:
    virtual void recall_cfg1() {}  // reload the settings file
    virtual void recall_cfg() {}   // ask for a settings file, then recall_cfg1
    virtual void animate_cells(int rpm) { (void)rpm; }
    virtual int adjustPercentage() const { return 0; }
    virtual int adjustDelta() const { return 0; }
    // step: +1 richer, -1 leaner
    virtual void control_simulator(int rpm, int adjustment, int step) { (void)rpm, (void)adjustment, (void)step; }
};

// AFCframe2: the AFC (VCD version) editor.
class VcdAfcEditor : public ControllerEditor {
public:
    virtual void recall_cfg1() {}
    virtual void animate_cells(int rpm, int tps) { (void)rpm, (void)tps; }
    virtual int adjustPercentage() const { return 0; }
    virtual int adjustDelta() const { return 0; }
    virtual void control_simulator(int rpm, int adjustment, int step, int tps) {
        (void)rpm, (void)adjustment, (void)step, (void)tps;
    }
};

// ITCframe1: the ITC timing editor.
class ItcEditor : public ControllerEditor {
public:
    virtual void recall_cfg1() {}
    virtual void animate_cells(int rpm) { (void)rpm; }
    virtual int adjustPercentage() const { return 0; }  // degrees added at the record's cell
};

// The PMS editor's program 1-3 and fuel/timing table radio buttons, one
// field per button, as the player saves and restores them.
struct PmsChoices {
    bool program_1 = true, program_2 = false, program_3 = false;
    bool fuel = true, timing = false;
    bool operator==(const PmsChoices&) const = default;
};

// PMSframe: the PMS editor.
class PmsEditor : public ControllerEditor {
public:
    static constexpr int kNoAdjustment = -100;

    virtual void recall_data() {}  // load the three programs from the settings file
    virtual void display_pgm() {}  // redraw the selected program and table
    virtual void reset_sim() {}    // clear the simulated adjustments and the pending correction
    // The pending simulated fuel correction, consumed by the next animate_cells.
    virtual void set_adjust_pcnt(int percent) { (void)percent; }
    virtual void animate_cells(int rpm, std::int8_t tps, float boost, std::int8_t acc) {
        (void)rpm, (void)tps, (void)boost, (void)acc;
    }
    virtual int total_adjust() const { return 0; }  // result of the last animate_cells
    virtual PmsChoices radio_buttons() const { return {}; }
    // Only a ticked button changes its group's selection.
    virtual void set_radio_buttons(const PmsChoices& buttons) { (void)buttons; }
};

// AFRframe: the PMS air/fuel settings grid, opened by the player's hidden button.
class AirFuelGrid {
public:
    enum Kind { o2_volts = 0, timing = 1, air_flow = 2, pulse_width = 3, duty_cycle = 4 };
    virtual ~AirFuelGrid() = default;
    virtual QWidget* window() = 0;
    virtual void animate_cells(int rpm, std::int8_t tps, float boost, std::int8_t acc, float value, int kind,
                               bool low) {
        (void)rpm, (void)tps, (void)boost, (void)acc, (void)value, (void)kind, (void)low;
    }
};

// Builds hidden editor windows. A kind this program does not have yet
// builds nothing.
class EditorFactory {
public:
    virtual ~EditorFactory() = default;
    virtual std::unique_ptr<KnobAfcEditor> make_AFCframe1() { return nullptr; }
    virtual std::unique_ptr<VcdAfcEditor> make_AFCframe2() { return nullptr; }
    virtual std::unique_ptr<ItcEditor> make_ITCframe1() { return nullptr; }
    virtual std::unique_ptr<PmsEditor> make_PMSframe() { return nullptr; }
    virtual std::unique_ptr<AirFuelGrid> make_AFRframe() { return nullptr; }
};

}  // namespace korv::player
