#pragma once
// The user's changes to the channel table, kept under DataDescriptions: one
// subkey per changed row, named by the row's built-in label, holding only
// the values that differ (`label`, `min`, `max`, `units`, `precision`,
// `color`). The six trigger rows always have their subkey, which also holds
// the trigger's logic and rules.
#include "platform/core/settings_store.h"

namespace korv::boxlogger {

// Resets the table and applies the stored changes to every row first, then
// loads the triggers, so a rule naming a renamed channel finds it. Values
// that would break the table are ignored: an empty label, one with a line
// break or another row's label; a min or max that is not finite or a min not
// below the max; a precision outside -1..9; and any precision of a trigger
// row (it is the trigger's number).
void LoadDataDescriptions(const platform::SettingsStore& store, const platform::SettingsPath& key);

// Replaces every subkey of `key` by the rows' differences and the triggers.
// False when a write failed.
bool SaveDataDescriptions(platform::SettingsStore& store, const platform::SettingsPath& key);

}  // namespace korv::boxlogger
