#pragma once
// The part of VXMlog's settings that describes channels: the channel table's
// changes with the triggers (DataDescriptions) and the quick selects
// (QuickSelects, or the older per-set subkeys, moved on first start).
#include <optional>
#include <string>
#include <vector>

#include "boxlogger/core/quick_select.h"
#include "platform/core/settings_store.h"

namespace korv::boxlogger {

// Loads, in this order, the rows' labels and other changes, the triggers,
// then the quick selects, so that rules and sets naming a renamed channel
// find it. Sets kept in the older form are written in the new form and
// flushed before the old subkeys go. Returns the problems to report.
std::vector<std::string> LoadChannelSettings(platform::SettingsStore& store, QuickSelectSets& sets);

// Writes the quick selects and the data descriptions and flushes the store.
// nullopt on success, else the message to show.
std::optional<std::string> SaveChannelSettings(platform::SettingsStore& store, const QuickSelectSets& sets);

}  // namespace korv::boxlogger
