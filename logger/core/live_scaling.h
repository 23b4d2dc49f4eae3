#pragma once

#include <cstdint>
#include <optional>

// Scaling of the live samples the engines call back with, and the chart slot
// each item code is drawn in. Formulas run in single precision in the order
// written, as the stored logs and the charts expect.
namespace korv::logger {

// Cables as the live callback sees them.
inline constexpr int kDsmCable = 4;
inline constexpr int kMultiplexerCable = 1;
inline constexpr int kAnnounceObd = -2;  // item announcement of the cable-1 engine
inline constexpr int kAnnounceDsm = -1;  // item announcement of the DSM engine
inline constexpr int kDemonstrationPort = 4;

struct LiveValue {
    int slot;     // chart slot (item slot of the settings frame)
    float value;  // engineering value; O2 and TPS in hundredths
};

// cable 4: v = lo; cables below 4: v = hi * 256 + lo. Codes without a row and
// cables above 4 give nothing.
std::optional<LiveValue> scale_live_sample(int cable, int hi, int lo, int code);

// Only these cables' samples are charted.
constexpr bool is_charted_cable(int cable) { return cable == kMultiplexerCable || cable == kDsmCable; }

// A chart value: the quantity times 100, truncated toward zero.
std::int32_t chart_point(float value);

// The demonstration port's triangle wave, kept in the chart window's
// test_point and test_delta. Before plotting: turn at the bounds and give
// the point; after plotting: step.
std::int32_t demo_wave_point(int test_point, int& test_delta, int chart_low, int chart_high);
void demo_wave_step(int& test_point, int test_delta);

}  // namespace korv::logger
