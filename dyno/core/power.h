#pragma once
// Power and torque from the smoothed RPM and time of the selected range.
#include "dyno/core/dyno_settings.h"

namespace korv::dyno {

inline constexpr double kKgPerLb = 0.4535970244035199;
inline constexpr double kAirDensity = 1.226;  // kg/m^3, drag term
inline constexpr double kHpPerKw = 1.3;       // the estimate's own factor, kept on purpose
inline constexpr double kMilesPerTyreRev = 0.0006214;

enum class PowerResult {
    computed,
    too_few_samples,  // fewer than AA + gap + 3 samples
    refused,          // settings that give no finite result
};

// Road speed in m/s at the given RPM, rounded to single precision.
float RoadSpeed(float rpm, double gear_ratio, double final_drive, float tyre_revs);

// SAE J1349 correction factor for dry air pressure (mbar) and temperature (F).
double SaeFactor(float temp_f, float pressure_mbar);

// Empty when the settings cannot give a finite curve: gear ratio or final
// drive 0, tyre 0, pressure 0 or absolute temperature <= 0 with the SAE
// correction on, loss >= 100% with the loss correction on, AA < 0, gap
// outside 0..n, or values that are not numbers.
bool PowerSettingsUsable(const DynoSettings& settings, int sample_count);

// Fills torque (ft-lb) and power (hp) of every sample of the range; all
// other samples, and all when nothing can be computed, are cleared. A sample
// whose windows give no time step or no RPM gets 0.
PowerResult ComputePower(SampleArray& samples, const DynoSettings& settings, SampleRange range);

}  // namespace korv::dyno
