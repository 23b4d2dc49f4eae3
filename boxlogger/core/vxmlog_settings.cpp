#include "boxlogger/core/vxmlog_settings.h"

#include "boxlogger/core/data_descriptions.h"
#include "boxlogger/core/settings_values.h"

namespace korv::boxlogger {
namespace {

bool save_sets(platform::SettingsStore& store, const QuickSelectSets& sets) {
    bool ok = store.create_key(kQuickSelectsKey);
    for (int n = 1; n <= CQuickSelect::kSets; ++n) ok = sets[n - 1].Save(store, kQuickSelectsKey, n) && ok;
    return ok;
}

}  // namespace

std::vector<std::string> LoadChannelSettings(platform::SettingsStore& store, QuickSelectSets& sets) {
    std::vector<std::string> problems;
    LoadDataDescriptions(store, kDataDescriptionsKey);

    if (store.key_exists(kQuickSelectsKey)) {
        for (int n = 1; n <= CQuickSelect::kSets; ++n) sets[n - 1].Load(store, kQuickSelectsKey, n);
        return problems;
    }
    const platform::SettingsPath program_key;
    for (int n = 1; n <= CQuickSelect::kSets; ++n) sets[n - 1].LoadLegacy(store, program_key, n);
    // The old subkeys go only once the sets stand safely in their new place.
    if (!save_sets(store, sets) || !store.flush()) {
        problems.push_back("The quick selects could not be written in their new form; the old ones are kept.");
        return problems;
    }
    for (int n = 1; n <= CQuickSelect::kSets; ++n) {
        const platform::SettingsPath old_key{QuickSelectName(n)};
        if (store.key_exists(old_key)) store.remove_key(old_key);
    }
    return problems;
}

std::optional<std::string> SaveChannelSettings(platform::SettingsStore& store, const QuickSelectSets& sets) {
    bool ok = save_sets(store, sets);
    ok = store.create_key(kDataDescriptionsKey) && ok;
    ok = SaveDataDescriptions(store, kDataDescriptionsKey) && ok;
    ok = store.flush() && ok;
    if (ok) return std::nullopt;
    return std::string("The channel settings could not be saved; changes made since the program started are lost.");
}

}  // namespace korv::boxlogger
