#pragma once
// Ergomark's settings in the settings store: every value a DWORD under its
// original name, floats as their 32-bit pattern.
#include "dyno/core/dyno_settings.h"
#include "platform/core/settings_store.h"

namespace korv::dyno {

// Reads "Car" (outside 0..15 gives 0) and "Gear" (outside 0..4 gives 1),
// takes gearing and weight from the car table, then each other value that is
// present. A float that is not a finite number keeps the current value.
void LoadSettings(const platform::SettingsStore& store, DynoSettings& settings);

// Writes all fifteen values in their stored order; false when the store
// refused a value or could not make them durable.
bool SaveSettings(platform::SettingsStore& store, const DynoSettings& settings);

}  // namespace korv::dyno
