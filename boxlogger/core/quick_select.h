#pragma once
// The five quick selects: named channel sets the capture window applies with
// one click. Kept in the settings as one string per set under QuickSelects:
// the name, then "\n" and a label per channel.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/settings_store.h"

namespace korv::boxlogger {

class CQuickSelect {
public:
    static constexpr int kSets = 5;

    // The set's name without newlines, which the stored form splits on.
    void SetName(std::string_view name);
    const std::string& name() const { return name_; }
    std::vector<std::uint32_t> channels;  // in the user's order

    // Set n (1-5) from the QuickSelects key; labels no longer known are
    // dropped, an empty or unreadable name becomes "Quick Select #n".
    void Load(const platform::SettingsStore& store, const platform::SettingsPath& key, int n);
    // Set n from the older form: a subkey "QuickSelect<n>" of the program's
    // key holding `Name` and one value named by each channel's label.
    void LoadLegacy(const platform::SettingsStore& store, const platform::SettingsPath& program_key, int n);
    bool Save(platform::SettingsStore& store, const platform::SettingsPath& key, int n) const;

private:
    std::string name_;
};

using QuickSelectSets = std::array<CQuickSelect, CQuickSelect::kSets>;

// "QuickSelect<n>": the value name in the new form, the subkey in the old.
std::string QuickSelectName(int n);
std::string DefaultQuickSelectName(int n);

}  // namespace korv::boxlogger
