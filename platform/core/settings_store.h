#pragma once
// The programs' registry: a tree of keys below the program's root, each key
// holding subkeys and named values that are either a DWORD or a string.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korv::platform {

// A key below the program's root, one name per level, e.g.
// {"DataDescriptions", "Engine Speed"}; {} is the root itself.
// Key names, value names and string values are Windows-1252 bytes.
using SettingsPath = std::vector<std::string>;

// Contract shared by every store:
// - A name is refused (false, nullopt or empty list) when it is empty or holds
//   a NUL; a string value is refused when it holds a NUL.
// - Writing a value creates its key and missing parents, and replaces a value
//   of the same name whatever its type.
// - Reads give nullopt when the value is missing or of the other type.
// - A key stays when its last value or subkey goes.
// - Names are compared exactly; enumerations come in settings_name_less order.
// - Not thread-safe: use a store from one thread at a time.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual bool key_exists(const SettingsPath& key) const = 0;
    // True when the key exists afterwards.
    virtual bool create_key(const SettingsPath& key) = 0;
    // Removes the key with everything below it; false when it is missing or the root.
    virtual bool remove_key(const SettingsPath& key) = 0;
    virtual std::vector<std::string> subkeys(const SettingsPath& key) const = 0;
    virtual std::vector<std::string> value_names(const SettingsPath& key) const = 0;

    virtual std::optional<std::uint32_t> read_dword(const SettingsPath& key, std::string_view name) const = 0;
    virtual bool write_dword(const SettingsPath& key, std::string_view name, std::uint32_t value) = 0;
    virtual std::optional<std::string> read_string(const SettingsPath& key, std::string_view name) const = 0;
    virtual bool write_string(const SettingsPath& key, std::string_view name, std::string_view value) = 0;
    // False when there was no such value.
    virtual bool remove_value(const SettingsPath& key, std::string_view name) = 0;

    // Makes what was written durable; false when that failed.
    virtual bool flush() = 0;
};

bool is_valid_settings_name(std::string_view name);
bool is_valid_settings_path(const SettingsPath& key);
bool is_valid_settings_string(std::string_view value);

// Enumeration order: ASCII letters compared without case, as the registry
// lists keys, then byte order to keep names differing only in case apart.
bool settings_name_less(std::string_view a, std::string_view b);
void sort_settings_names(std::vector<std::string>& names);

}  // namespace korv::platform
