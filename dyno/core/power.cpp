#include "dyno/core/power.h"

#include "dyno/core/car_table.h"

#include <cmath>
#include <cstdint>

namespace korv::dyno {

float RoadSpeed(float rpm, double gear_ratio, double final_drive, float tyre_revs) {
    return static_cast<float>(rpm / (gear_ratio * final_drive) / (tyre_revs * kMilesPerTyreRev) / 60.0);
}

double SaeFactor(float temp_f, float pressure_mbar) {
    const double kelvin = (temp_f - 32.0) * 5.0 / 9.0 + 273.0;
    return 1.18 * (990.0 / pressure_mbar) * std::sqrt(kelvin / 298.0) - 0.18;
}

bool PowerSettingsUsable(const DynoSettings& s, int sample_count) {
    auto finite = [](double v) { return std::isfinite(v); };
    if (!finite(s.gear_ratio) || !finite(s.final_drive) || s.gear_ratio * s.final_drive == 0.0) return false;
    if (!finite(s.tyre_revs) || s.tyre_revs == 0.0f || !finite(s.mass)) return false;
    if (s.aa < 0 || s.gap < 0 || s.gap > sample_count) return false;
    if (s.loss_en && !(s.loss < 100.0f)) return false;
    if (s.sae_en) {
        if (!finite(s.sae_pressure) || s.sae_pressure == 0.0f) return false;
        const double kelvin = (s.sae_temp - 32.0) * 5.0 / 9.0 + 273.0;
        if (!(kelvin > 0.0) || !finite(kelvin)) return false;
    }
    return true;
}

PowerResult ComputePower(SampleArray& samples, const DynoSettings& s, SampleRange range) {
    for (DynoSample& sample : samples) {
        sample[kTorque] = 0.0f;
        sample[kPower] = 0.0f;
    }
    const std::int64_t n = static_cast<std::int64_t>(samples.size());
    if (!PowerSettingsUsable(s, static_cast<int>(n))) return PowerResult::refused;
    const std::int64_t aa = s.aa, gap = s.gap;
    if (n < aa + gap + 3) return PowerResult::too_few_samples;

    const CarSpec& car = car_table()[static_cast<std::size_t>(s.car >= 0 && s.car < kCarCount ? s.car : 0)];
    const float window = static_cast<float>(aa + 1);
    const std::int64_t count = n - (aa + gap + 2);
    for (std::int64_t i = 0; i < count; ++i) {
        if (i < range.start || i > range.end) continue;  // already cleared

        float t1 = 0, t2 = 0, r1 = 0, r2 = 0;
        for (std::int64_t j = 0; j <= aa; ++j) {
            const DynoSample& w1 = samples[static_cast<std::size_t>(i + j)];
            const DynoSample& w2 = samples[static_cast<std::size_t>(i + gap + 1 + j)];
            t1 += w1[kBlendedTime];
            r1 += w1[kSmoothRpm];
            t2 += w2[kBlendedTime];
            r2 += w2[kSmoothRpm];
        }
        t1 /= window;
        t2 /= window;
        r1 /= window;
        r2 /= window;

        const float speed1 = RoadSpeed(r1, s.gear_ratio, s.final_drive, s.tyre_revs);
        const float speed2 = RoadSpeed(r2, s.gear_ratio, s.final_drive, s.tyre_revs);
        const float mean_speed = (speed1 + speed2) / 2.0f;
        const float dt = t2 - t1;
        const float mean_rpm = (r1 + r2) / 2.0f;
        // Equal mean times or a stalled engine give no quotient to plot.
        if (!(dt > 0.0f) || !(mean_rpm > 0.0f)) continue;

        const float accel = (speed2 - speed1) / dt;
        float force = static_cast<float>(accel * s.mass * kKgPerLb);
        if (s.drag_en)
            force = static_cast<float>(force + 0.5 * kAirDensity * car.cd * car.area_m2 * mean_speed * mean_speed);
        float kw = static_cast<float>(mean_speed * force * 0.001);
        if (s.loss_en) kw = static_cast<float>(kw / (1.0 - s.loss * 0.01));
        if (s.sae_en) kw = static_cast<float>(kw * SaeFactor(s.sae_temp, s.sae_pressure));
        const float hp = static_cast<float>(kw * kHpPerKw);
        const float torque = hp * 5252.0f / mean_rpm;
        if (!std::isfinite(hp) || !std::isfinite(torque)) continue;

        DynoSample& out = samples[static_cast<std::size_t>(i)];
        out[kTorque] = torque;
        out[kPower] = hp;
    }
    return PowerResult::computed;
}

}  // namespace korv::dyno
