#pragma once
// The five-knob controllers (first-generation AFC and ITC): the map the
// controller interpolates from its knobs, the 59-byte settings file and the
// fuel simulator's search for a knob setting.
#include "editors/core/controller_file.h"

#include <array>
#include <cstdint>
#include <optional>

namespace korv::editors {

inline constexpr int kKnobs = 5;
inline constexpr int kKnobCells = 16;  // 500, 1000, ... 8000 rpm
inline constexpr std::array<int, kKnobs> kKnobSetPoints = {800, 2400, 4000, 5600, 7200};
inline constexpr std::size_t kKnobFileBytes = 59;

using Knobs = std::array<int, kKnobs>;
using KnobMap = std::array<std::int64_t, kKnobCells>;

// The map cell at x rpm: a line from 0 at 0 rpm to K1 at 800, straight lines
// between the set points, flat K5 from 7200 up.
std::int64_t knob_point(const Knobs& k, int x);
KnobMap knob_map(const Knobs& k);

// Index 0-15 of the cell that holds rpm (500 -> 0), or none below 500 or from 8500.
std::optional<int> knob_cell(int rpm);

// The knob 0-4 the simulator moves for rpm: below 800 the first, from 7200
// the last, between them the nearest set point (half way: the lower).
int knob_for_rpm(int rpm);

// The 59-byte file: header, the set points, the five settings.
std::vector<std::uint8_t> encode_knob_file(ControllerTag tag, const Knobs& adjust_value);
Knobs decode_knob_settings(const std::vector<std::uint8_t>& file);

// The knob simulator: the AFC's settings, its simulated offsets and the map
// the outputs are measured against.
struct KnobSimulation {
    Knobs adjust_value{};  // as typed or loaded
    Knobs sim_adjust{};    // the simulator's offsets
    KnobMap sim_base{};    // the map the outputs are measured from

    Knobs effective() const;
    KnobMap map() const { return knob_map(effective()); }
    // Offsets cleared; the shown map becomes the base (after a load or a save).
    void rebase();
    // Moves the knob nearest rpm one step at a time until the record's cell
    // reaches its base plus `adjustment`, or the knob the end of -30..30.
    // Returns the knob moved, or none when
    // rpm has no cell or the adjustment is 0 (which clears that knob's offset).
    std::optional<int> control(int rpm, int adjustment, int step);
};

}  // namespace korv::editors
