#pragma once

#include <cstdint>
#include <optional>

// The fuel-adjust simulator's arithmetic, all in single precision. The O2
// a record would have read with another pulse width is taken to scale as
// O2 x logged pulse width / new pulse width, through the record's pulse
// ratio O2 / (rpm / (pulse width x 100)).
namespace korv::player {

float pulse_ratio(float o2, std::int32_t rpm, float pulse_width);

struct SimulatedFuel {
    float pulse_width = 0.0f;
    float o2 = 0.0f;
};

// A PMS record with the editor's total fuel change p percent.
SimulatedFuel pms_simulated_fuel(float pulse_width, std::int32_t rpm, float ratio, std::int32_t percent);

// A VXM record with the active AFC editor's delta d percent; a negative
// delta is less fuel (a shorter pulse and a leaner O2), as in the search.
SimulatedFuel vxm_simulated_fuel(float pulse_width, std::int32_t rpm, float ratio, std::int32_t delta);

// Search limits and steps, percent.
inline constexpr int kPmsSearchLimit = 49;
inline constexpr int kPmsSearchStep = 2;
inline constexpr int kKnobAfcSearchLimit = 29;
inline constexpr int kVcdAfcSearchLimit = 49;
inline constexpr int kAfcSearchStep = 1;

struct O2SearchInput {
    std::int32_t rpm = 0;
    float pulse_width = 0.0f;  // logged, of the record shown
    float ratio = 0.0f;        // its pulse ratio
    float o2_target = 0.0f;    // its logged O2
    float o2_shown = 0.0f;     // the logged O2 as shown (a PMS log shows it truncated)
    float target = 0.0f;       // the slider's volts
    int limit = 0;
    int step = 1;
    bool calc_mthd = false;  // "Calc mthd": each step from the logged pulse width, not from the last step
};

struct O2SearchResult {
    std::int32_t percent = 0;
    float pulse_width = 0.0f;  // truncated to two decimals
    float o2 = 0.0f;
    std::optional<int> fuel_base;  // +1 richer, -1 leaner; none when the target is the logged O2
};

// The fuel change that brings the logged O2 to the target. None when the
// target needs more than the limit allows (the largest change tried is
// limit + step, rounded to the step).
std::optional<O2SearchResult> search_fuel_for_o2(const O2SearchInput& in);

}  // namespace korv::player
