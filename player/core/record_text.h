#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/core/java_numbers.h"
#include "common/core/vxm_player_model.h"
#include "player/core/pms_record.h"

// The few lines of text the player shows for a record. Numbers are printed
// as the player always printed them: integers plainly, floats in their
// shortest form with at least one decimal ("0.98", "10.0").
namespace korv::player {

// Records above this engine speed are neither shown nor analysed.
inline constexpr std::int32_t kMaxShownRpm = 8000;
constexpr bool record_is_shown(std::int32_t rpm) { return rpm <= kMaxShownRpm; }

// Injector duty cycle in percent, truncated to two decimals. Inline: the
// chart feed takes one a record.
inline float duty_cycle(float pulse_width, std::int32_t rpm) {
    return trim_decimals(pulse_width * static_cast<float>(rpm) / 1200.0f);
}

// What the fuel simulator holds for a PMS record when the text is built.
struct PmsSimulation {
    float adjust_fuel_pw = 0.0f;  // simulated pulse width
    std::int32_t adjust_fuel_pcnt = 0;
    float adjust_fuel_o2 = 0.0f;  // simulated O2 volts
    bool cell_locked = false;
};
// No simulation: the logged pulse width and no percentage.
PmsSimulation unsimulated(const PmsRecord& record);

// Where playback builds a record's text, one a record, in place: the text
// is shown from here, with no copy on the way.
class RecordTextBuffer {
public:
    // Room for the longest text of any record, every field at its longest
    // and every extra shown (checked by the tests), with as much again to
    // spare: so no piece is checked for room as it is written.
    static constexpr std::size_t kRoom = 2048;

    std::string_view text() const { return {chars_, size_}; }
    void clear() { size_ = 0; }

private:
    friend class RecordTextWriter;
    char chars_[kRoom];
    std::size_t size_ = 0;
};

std::string pms_record_text(std::int64_t cursor, const PmsRecord& record, const PmsSimulation& sim);
// The same text into `out`, replacing what it held; returns the text.
std::string_view pms_record_text(RecordTextBuffer& out, std::int64_t cursor, const PmsRecord& record,
                                 const PmsSimulation& sim);

// The pieces that animated controller editors and the simulator add to a
// VXM record's text; all absent without them.
struct VxmSimulatorPiece {
    float pulse_width = 0.0f;
    bool pulse_width_in_full = false;  // a locked cell shows the full float, else two decimals
    std::int32_t delta = 0;
    float o2 = 0.0f;  // shown with two decimals
};
struct VxmTextExtras {
    std::optional<std::int32_t> itc_adjustment;      // timing added by the ITC editor
    std::optional<std::int32_t> afc_old_percentage;  // knob-style AFC editor
    std::optional<std::int32_t> afc_new_percentage;  // VCD-version AFC editor
    std::optional<VxmSimulatorPiece> simulator;
};

std::string vxm_record_text(std::int64_t cursor, const VxmPlayerModel& record, const VxmTextExtras& extras);
std::string_view vxm_record_text(RecordTextBuffer& out, std::int64_t cursor, const VxmPlayerModel& record,
                                 const VxmTextExtras& extras);

// A VXM record after the animation: the text's extra pieces and the values
// the analysis receives in place of the logged ones.
struct VxmAnimation {
    VxmTextExtras text;
    std::int8_t timing = 0;
    float pulse_width = 0.0f;
    float o2 = 0.0f;
};
// No animation: the logged values.
VxmAnimation unanimated(const VxmPlayerModel& record);

}  // namespace korv::player
