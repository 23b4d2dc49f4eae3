#pragma once
// The seams through which the rest of the player plugs into the playback
// frame: the analysis and charts, the controller animation with the fuel
// simulator, the handheld transfer and the 3-D window. Every default does
// nothing, so the frame plays logs on its own.
#include "player/core/pms_record.h"
#include "player/core/record_text.h"
#include "common/core/vxm_player_model.h"
#include "player/plugin/plot3d_plugin.h"

#include <cstdint>
#include <functional>
#include <memory>

class QWidget;
class PLAYframe;
class csv_dialog;

namespace korv::platform {
class FileChooser;
}

namespace korv::player {

class EditorPool;

// Peak analysis, analyser filter, strip charts and the 2-D and 3-D charts.
class PlaybackAnalysis {
public:
    virtual ~PlaybackAnalysis() = default;
    // A log is being opened: zero the peak table and the analysis table.
    virtual void reset_tables() {}
    virtual void clear_controls() {}
    virtual void reset_charts() {}
    virtual void plot_data() {}
    // Every record the frame shows.
    virtual void set_peak_values(std::int8_t timing, std::int8_t knock, float pulse_width, std::int32_t rpm, float o2,
                                 std::int64_t record, float pressure, std::int32_t tps, std::int32_t fuel,
                                 std::int32_t air_temperature, std::int32_t coolant_temperature) {
        (void)timing, (void)knock, (void)pulse_width, (void)rpm, (void)o2, (void)record, (void)pressure, (void)tps,
            (void)fuel, (void)air_temperature, (void)coolant_temperature;
    }
    // The cursor moved: the strip charts' marks follow it.
    virtual void cursor_moved() {}
    virtual void chart_2d() {}                            // "2D"
    virtual void chart_3d() {}                            // "3D"
    virtual void show_peak(int column) { (void)column; }  // 0 RPMS .. 4 Knock
    virtual void tps_limit_entered() {}
    virtual void rpm_limit_entered() {}
};

// Controller animation and the fuel-adjust simulator.
class RecordAnimation {
public:
    virtual ~RecordAnimation() = default;
    // "Animate" changed, or one of the editor boxes was clicked: choose the editors.
    virtual void animateControl_itemStateChanged() {}
    // A record was read: a locked analysis cell is released.
    virtual void record_read() {}
    // The log was closed.
    virtual void log_closed() {}
    // "Reset": the replay starts without a simulated correction.
    virtual void simulation_reset() {}
    virtual void o2_slider_released() {}
    // Each record about to be shown (at most 8000 rpm).
    virtual PmsSimulation animate_pms(const PmsRecord& record) { return unsimulated(record); }
    virtual VxmAnimation animate_vxm(const VxmPlayerModel& record) { return unanimated(record); }
};

// The "Palm'n'Korv" transfer front end.
class HandheldTransfer {
public:
    virtual ~HandheldTransfer() = default;
    virtual void open_transfer_dialog() {}
};

// Builds the frame's parts; each gets the frame it serves.
class PlayerExtensions {
public:
    virtual ~PlayerExtensions() = default;
    virtual std::unique_ptr<PlaybackAnalysis> make_analysis(PLAYframe& frame);
    virtual std::unique_ptr<RecordAnimation> make_animation(PLAYframe& frame);
    virtual std::unique_ptr<HandheldTransfer> make_handheld(PLAYframe& frame);
};

// What Korvview's windows are built with. The pointers must outlive them.
struct PlayerServices {
    platform::FileChooser* file_chooser = nullptr;  // required
    EditorPool* editors = nullptr;                  // required
    PlayerExtensions* extensions = nullptr;         // null: the frame alone
    Plot3dWindowFactory* plot3d = nullptr;          // null: no 3-D window
    // Shows the CSV dialog and returns when the user is done; empty: exec() it.
    std::function<void(csv_dialog&)> run_csv_dialog;
};

}  // namespace korv::player
