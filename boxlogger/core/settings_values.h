#pragma once
// How VXMlog keeps its values in the settings store: a float as the DWORD of
// its 32 bits, so it comes back bit for bit.
#include <bit>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/core/settings_store.h"

namespace korv::boxlogger {

inline std::uint32_t dword_from_float(float value) { return std::bit_cast<std::uint32_t>(value); }
inline float float_from_dword(std::uint32_t bits) { return std::bit_cast<float>(bits); }

inline std::optional<float> read_float(const platform::SettingsStore& store, const platform::SettingsPath& key,
                                       std::string_view name) {
    const std::optional<std::uint32_t> bits = store.read_dword(key, name);
    if (!bits) return std::nullopt;
    return float_from_dword(*bits);
}

inline bool write_float(platform::SettingsStore& store, const platform::SettingsPath& key, std::string_view name,
                        float value) {
    return store.write_dword(key, name, dword_from_float(value));
}

inline std::optional<std::int32_t> read_int(const platform::SettingsStore& store, const platform::SettingsPath& key,
                                            std::string_view name) {
    const std::optional<std::uint32_t> bits = store.read_dword(key, name);
    if (!bits) return std::nullopt;
    return static_cast<std::int32_t>(*bits);
}

inline bool write_int(platform::SettingsStore& store, const platform::SettingsPath& key, std::string_view name,
                      std::int32_t value) {
    return store.write_dword(key, name, static_cast<std::uint32_t>(value));
}

// Keys below the program's own key (the store's root).
inline const platform::SettingsPath kDataDescriptionsKey{"DataDescriptions"};
inline const platform::SettingsPath kQuickSelectsKey{"QuickSelects"};

}  // namespace korv::boxlogger
