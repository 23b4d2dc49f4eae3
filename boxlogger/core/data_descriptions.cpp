#include "boxlogger/core/data_descriptions.h"

#include <cmath>

#include "boxlogger/core/channel_table.h"
#include "boxlogger/core/settings_values.h"
#include "boxlogger/core/trigger.h"

namespace korv::boxlogger {
namespace {

bool same_label(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto fold = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; };
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

bool label_usable(std::string_view label, const ChannelRow& row) {
    if (label.empty() || label.find_first_of("\r\n") != std::string_view::npos) return false;
    for (const ChannelRow& other : ChannelRows()) {
        if (&other != &row && same_label(other.label, label)) return false;
    }
    return true;
}

void apply_overrides(const platform::SettingsStore& store, const platform::SettingsPath& key, ChannelRow& row) {
    if (const auto label = store.read_string(key, "label"); label && label_usable(*label, row)) row.label = *label;

    float min = row.min;
    float max = row.max;
    if (const auto stored = read_float(store, key, "min"); stored && std::isfinite(*stored)) min = *stored;
    if (const auto stored = read_float(store, key, "max"); stored && std::isfinite(*stored)) max = *stored;
    if (min < max) {
        row.min = min;
        row.max = max;
    }

    if (const auto units = store.read_string(key, "units")) {
        row.units = units->empty() ? std::nullopt : std::optional<std::string>(*units);
    }
    if (const auto precision = read_int(store, key, "precision");
        precision && row.kind != kKindTrigger && *precision >= -1 && *precision <= 9) {
        row.precision = *precision;
    }
    if (const auto colour = store.read_dword(key, "color")) row.colour = *colour;
}

platform::SettingsPath child(const platform::SettingsPath& key, const std::string& name) {
    platform::SettingsPath path = key;
    path.push_back(name);
    return path;
}

}  // namespace

void LoadDataDescriptions(const platform::SettingsStore& store, const platform::SettingsPath& key) {
    ResetChannelTable();
    ClearTriggers();
    const std::span<const ChannelRow> built_in = BuiltInChannelRows();
    const std::span<ChannelRow> rows = ChannelRows();
    const std::vector<std::string> names = store.subkeys(key);

    // Subkeys are named by built-in labels, whatever the rows are called now.
    const auto each_stored_row = [&](auto&& f) {
        for (const std::string& name : names) {
            for (std::size_t i = 0; i < built_in.size() && i < rows.size(); ++i) {
                if (same_label(built_in[i].label, name)) {
                    f(child(key, name), rows[i]);
                    break;
                }
            }
        }
    };
    each_stored_row(
        [&](const platform::SettingsPath& row_key, ChannelRow& row) { apply_overrides(store, row_key, row); });
    each_stored_row([&](const platform::SettingsPath& row_key, ChannelRow& row) {
        if (row.kind == kKindTrigger && TriggerNumberOfChannel(row.id) >= 0) {
            Trigger(TriggerNumberOfChannel(row.id)).Load(store, row_key);
        }
    });
}

bool SaveDataDescriptions(platform::SettingsStore& store, const platform::SettingsPath& key) {
    bool ok = true;
    for (const std::string& name : store.subkeys(key)) ok = store.remove_key(child(key, name)) && ok;

    const std::span<const ChannelRow> built_in = BuiltInChannelRows();
    const std::span<ChannelRow> rows = ChannelRows();
    for (std::size_t i = 0; i < built_in.size() && i < rows.size(); ++i) {
        const ChannelRow& base = built_in[i];
        const ChannelRow& row = rows[i];
        const platform::SettingsPath row_key = child(key, base.label);
        if (row.label != base.label) ok = store.write_string(row_key, "label", row.label) && ok;
        if (row.min != base.min) ok = write_float(store, row_key, "min", row.min) && ok;
        if (row.max != base.max) ok = write_float(store, row_key, "max", row.max) && ok;
        if (row.units != base.units) ok = store.write_string(row_key, "units", row.units.value_or("")) && ok;
        if (row.precision != base.precision) ok = write_int(store, row_key, "precision", row.precision) && ok;
        if (row.colour != base.colour) ok = store.write_dword(row_key, "color", row.colour) && ok;
        if (base.kind == kKindTrigger && TriggerNumberOfChannel(base.id) >= 0) {
            ok = store.create_key(row_key) && ok;
            ok = Trigger(TriggerNumberOfChannel(base.id)).Save(store, row_key) && ok;
        }
    }
    return ok;
}

}  // namespace korv::boxlogger
