#pragma once
// The settings store kept by QSettings in an INI file.
//
// Layout: each key is a QSettings group, its names escaped (see
// key_name_escape.h) and joined by '/'. A DWORD is unsigned decimal text; a
// string carries the prefix "sz:" so neither is mistaken for the other. A key
// with no value and no subkey holds the entry "%key" (unreachable by an
// escaped name) so that it still exists.
#include "platform/core/settings_store.h"

#include <QString>
#include <memory>

class QSettings;

namespace korv::platform {

struct SettingsOwner {
    const char* organisation;
    const char* application;
};
inline constexpr SettingsOwner vxmlog_settings{"Calderis", "VXMlog"};
inline constexpr SettingsOwner ergomark_settings{"Ergomark", "Ergomark"};

class QtSettingsStore final : public SettingsStore {
public:
    // The user's file: <config folder>/<organisation>/<application>.ini.
    QtSettingsStore(const QString& organisation, const QString& application);
    // <root_folder>/<organisation>/<application>.ini.
    QtSettingsStore(const QString& organisation, const QString& application, const QString& root_folder);
    explicit QtSettingsStore(const QString& ini_file);
    // Flushes.
    ~QtSettingsStore() override;
    QtSettingsStore(const QtSettingsStore&) = delete;
    QtSettingsStore& operator=(const QtSettingsStore&) = delete;

    QString file_name() const;

    bool key_exists(const SettingsPath& key) const override;
    bool create_key(const SettingsPath& key) override;
    bool remove_key(const SettingsPath& key) override;
    std::vector<std::string> subkeys(const SettingsPath& key) const override;
    std::vector<std::string> value_names(const SettingsPath& key) const override;

    std::optional<std::uint32_t> read_dword(const SettingsPath& key, std::string_view name) const override;
    bool write_dword(const SettingsPath& key, std::string_view name, std::uint32_t value) override;
    std::optional<std::string> read_string(const SettingsPath& key, std::string_view name) const override;
    bool write_string(const SettingsPath& key, std::string_view name, std::string_view value) override;
    bool remove_value(const SettingsPath& key, std::string_view name) override;

    // Writes are kept in memory until a flush; a write fails once a flush has.
    bool flush() override;

private:
    bool healthy() const;
    bool has_entries(const QString& group) const;
    QStringList names_in(const QString& group, QStringList (QSettings::*list)() const) const;
    std::optional<QString> read_text(const SettingsPath& key, std::string_view name) const;
    bool write_text(const SettingsPath& key, std::string_view name, const QString& text);
    void drop_markers(QString group);
    void mark_if_empty(const QString& group);

    std::unique_ptr<QSettings> settings_;
};

}  // namespace korv::platform
