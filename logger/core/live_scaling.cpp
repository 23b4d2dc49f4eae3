#include "logger/core/live_scaling.h"

#include <algorithm>
#include <limits>

#include "common/core/channel_ids.h"
#include "common/core/java_numbers.h"

namespace korv::logger {
namespace {

namespace id = korv::channel_id;

std::optional<LiveValue> scale_dsm(float v, int code) {
    switch (code) {
    case id::kTiming: return LiveValue{2, v - 10.0f};
    case id::kO2Voltage: return LiveValue{5, v * 0.02f * 100.0f};
    case id::kThrottlePosition: return LiveValue{7, v / 2.55f * 100.0f};
    case id::kEngineSpeed: return LiveValue{1, v * 31.37f};
    case id::kInjectorPulseWidth: return LiveValue{3, v * 0.256f};
    case id::kIntakeAirTemperature: return LiveValue{6, v};
    case id::kShortTermFuelTrim: return LiveValue{10, v * 1.27f};
    case id::kLongTermFuelTrim: return LiveValue{11, v * 1.27f};
    case id::kKnockSum: return LiveValue{9, v * 0.2f};
    case id::kAirFlow: return LiveValue{8, v};
    case id::kHighFuelTrim: return LiveValue{14, v * 1.27f};
    default: return std::nullopt;
    }
}

std::optional<LiveValue> scale_obd(float v, int code) {
    switch (code) {
    case id::kTiming: return LiveValue{2, (v - 128.0f) * 0.5f};
    case id::kCoolantTemperature: return LiveValue{4, (v - 40.0f) * 1.8f + 32.0f};
    case id::kO2Voltage: return LiveValue{5, v * 0.005f * 100.0f};
    case id::kThrottlePosition: return LiveValue{7, v / 255.0f * 100.0f * 100.0f};
    case id::kEngineSpeed: return LiveValue{1, v / 4.0f};
    case id::kIntakeAirTemperature: return LiveValue{6, (v - 40.0f) * 1.8f + 32.0f};
    case id::kShortTermFuelTrim: return LiveValue{10, v / 128.0f * 100.0f - 100.0f};
    case id::kLongTermFuelTrim: return LiveValue{11, v / 128.0f * 100.0f - 100.0f};
    case id::kAirFlow: return LiveValue{8, v / 100.0f};
    default: return std::nullopt;
    }
}

std::int32_t clamp_to_int32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

std::optional<LiveValue> scale_live_sample(int cable, int hi, int lo, int code) {
    if (cable > kDsmCable) return std::nullopt;
    if (cable == kDsmCable) return scale_dsm(static_cast<float>(lo), code);
    // Widened so that bytes the library passes sign-extended cannot overflow.
    const std::int64_t word = static_cast<std::int64_t>(hi) * 256 + lo;
    return scale_obd(static_cast<float>(word), code);
}

std::int32_t chart_point(float value) { return saturating_float_to_int32(value * 100.0f); }

std::int32_t demo_wave_point(int test_point, int& test_delta, int chart_low, int chart_high) {
    if (test_point > chart_high) {
        test_delta = -1;
    } else if (test_point < chart_low) {
        test_delta = 1;
    }
    return clamp_to_int32(static_cast<std::int64_t>(test_point) * 100);
}

void demo_wave_step(int& test_point, int test_delta) {
    test_point = clamp_to_int32(static_cast<std::int64_t>(test_point) + test_delta);
}

}  // namespace korv::logger
