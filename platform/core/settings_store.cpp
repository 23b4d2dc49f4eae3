#include "platform/core/settings_store.h"

#include <algorithm>

namespace korv::platform {

namespace {

unsigned char fold_ascii(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c; }

}  // namespace

bool is_valid_settings_name(std::string_view name) {
    return !name.empty() && name.find('\0') == std::string_view::npos;
}

bool is_valid_settings_path(const SettingsPath& key) {
    return std::all_of(key.begin(), key.end(), [](const std::string& name) { return is_valid_settings_name(name); });
}

bool is_valid_settings_string(std::string_view value) { return value.find('\0') == std::string_view::npos; }

bool settings_name_less(std::string_view a, std::string_view b) {
    const auto folded = [](char x, char y) {
        return fold_ascii(static_cast<unsigned char>(x)) < fold_ascii(static_cast<unsigned char>(y));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), folded)) return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), folded)) return false;
    return a < b;
}

void sort_settings_names(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return settings_name_less(a, b); });
}

}  // namespace korv::platform
