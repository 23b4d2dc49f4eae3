#include "platform/gui/qt_settings_store.h"

#include "platform/core/key_name_escape.h"
#include "platform/gui/windows1252_text.h"

#include <QDir>
#include <QSettings>

namespace korv::platform {

namespace {

const QString empty_key_marker = QStringLiteral("%key");
const QString string_prefix = QStringLiteral("sz:");

std::optional<QString> qt_name(std::string_view name) {
    if (!is_valid_settings_name(name)) return std::nullopt;
    return qstring_from_windows1252(escape_key_name(name));
}

// nullopt for entries this store would not have written.
std::optional<std::string> name_from_qt(const QString& qt) {
    const std::optional<std::string> bytes = windows1252_from_qstring(qt);
    if (!bytes) return std::nullopt;
    std::optional<std::string> name = unescape_key_name(*bytes);
    if (!name || !is_valid_settings_name(*name)) return std::nullopt;
    return name;
}

std::optional<QString> group_of(const SettingsPath& key) {
    QStringList names;
    for (const std::string& name : key) {
        const std::optional<QString> qt = qt_name(name);
        if (!qt) return std::nullopt;
        names << *qt;
    }
    return names.join(u'/');
}

QString child(const QString& group, const QString& name) { return group.isEmpty() ? name : group + u'/' + name; }

QString parent_of(const QString& group) {
    const qsizetype slash = group.lastIndexOf(u'/');
    return slash < 0 ? QString() : group.left(slash);
}

}  // namespace

QtSettingsStore::QtSettingsStore(const QString& organisation, const QString& application)
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, organisation, application)) {
    // The registry has no system-wide or organisation-wide fallback files.
    settings_->setFallbacksEnabled(false);
}

QtSettingsStore::QtSettingsStore(const QString& organisation, const QString& application, const QString& root_folder)
    : QtSettingsStore(QDir(root_folder).filePath(organisation + u'/' + application + QStringLiteral(".ini"))) {}

QtSettingsStore::QtSettingsStore(const QString& ini_file)
    : settings_(std::make_unique<QSettings>(ini_file, QSettings::IniFormat)) {}

QtSettingsStore::~QtSettingsStore() { settings_->sync(); }

QString QtSettingsStore::file_name() const { return settings_->fileName(); }

bool QtSettingsStore::healthy() const { return settings_->status() == QSettings::NoError; }

bool QtSettingsStore::has_entries(const QString& group) const {
    if (group.isEmpty()) return true;
    settings_->beginGroup(group);
    const bool any = !settings_->allKeys().isEmpty();
    settings_->endGroup();
    return any;
}

QStringList QtSettingsStore::names_in(const QString& group, QStringList (QSettings::*list)() const) const {
    if (!group.isEmpty()) settings_->beginGroup(group);
    QStringList names = (settings_.get()->*list)();
    if (!group.isEmpty()) settings_->endGroup();
    return names;
}

// Once a key has an entry of its own, neither it nor its parents need a marker.
void QtSettingsStore::drop_markers(QString group) {
    while (!group.isEmpty()) {
        const QString marker = child(group, empty_key_marker);
        if (settings_->contains(marker)) settings_->remove(marker);
        group = parent_of(group);
    }
}

void QtSettingsStore::mark_if_empty(const QString& group) {
    if (!has_entries(group)) settings_->setValue(child(group, empty_key_marker), QString());
}

bool QtSettingsStore::key_exists(const SettingsPath& key) const {
    const std::optional<QString> group = group_of(key);
    return group && has_entries(*group);
}

bool QtSettingsStore::create_key(const SettingsPath& key) {
    const std::optional<QString> group = group_of(key);
    if (!group) return false;
    if (has_entries(*group)) return healthy();
    settings_->setValue(child(*group, empty_key_marker), QString());
    drop_markers(parent_of(*group));
    return healthy();
}

bool QtSettingsStore::remove_key(const SettingsPath& key) {
    const std::optional<QString> group = group_of(key);
    if (!group || group->isEmpty() || !has_entries(*group)) return false;
    // QSettings::remove also takes a value of the same name in the parent.
    const QVariant same_named_value = settings_->value(*group);
    settings_->remove(*group);
    if (same_named_value.isValid()) settings_->setValue(*group, same_named_value);
    mark_if_empty(parent_of(*group));
    return healthy();
}

std::vector<std::string> QtSettingsStore::subkeys(const SettingsPath& key) const {
    std::vector<std::string> names;
    const std::optional<QString> group = group_of(key);
    if (!group) return names;
    for (const QString& qt : names_in(*group, &QSettings::childGroups)) {
        if (std::optional<std::string> name = name_from_qt(qt)) names.push_back(std::move(*name));
    }
    sort_settings_names(names);
    return names;
}

std::vector<std::string> QtSettingsStore::value_names(const SettingsPath& key) const {
    std::vector<std::string> names;
    const std::optional<QString> group = group_of(key);
    if (!group) return names;
    for (const QString& qt : names_in(*group, &QSettings::childKeys)) {
        if (qt == empty_key_marker) continue;
        if (std::optional<std::string> name = name_from_qt(qt)) names.push_back(std::move(*name));
    }
    sort_settings_names(names);
    return names;
}

std::optional<QString> QtSettingsStore::read_text(const SettingsPath& key, std::string_view name) const {
    const std::optional<QString> group = group_of(key);
    const std::optional<QString> qt = qt_name(name);
    if (!group || !qt) return std::nullopt;
    const QVariant value = settings_->value(child(*group, *qt));
    if (value.typeId() != QMetaType::QString) return std::nullopt;
    return value.toString();
}

bool QtSettingsStore::write_text(const SettingsPath& key, std::string_view name, const QString& text) {
    const std::optional<QString> group = group_of(key);
    const std::optional<QString> qt = qt_name(name);
    if (!group || !qt) return false;
    settings_->setValue(child(*group, *qt), text);
    drop_markers(*group);
    return healthy();
}

std::optional<std::uint32_t> QtSettingsStore::read_dword(const SettingsPath& key, std::string_view name) const {
    const std::optional<QString> text = read_text(key, name);
    if (!text) return std::nullopt;
    bool ok = false;
    const uint value = text->toUInt(&ok, 10);
    if (!ok) return std::nullopt;
    return value;
}

bool QtSettingsStore::write_dword(const SettingsPath& key, std::string_view name, std::uint32_t value) {
    return write_text(key, name, QString::number(value));
}

std::optional<std::string> QtSettingsStore::read_string(const SettingsPath& key, std::string_view name) const {
    const std::optional<QString> text = read_text(key, name);
    if (!text || !text->startsWith(string_prefix)) return std::nullopt;
    return windows1252_from_qstring(text->mid(string_prefix.size()));
}

bool QtSettingsStore::write_string(const SettingsPath& key, std::string_view name, std::string_view value) {
    if (!is_valid_settings_string(value)) return false;
    return write_text(key, name, string_prefix + qstring_from_windows1252(value));
}

bool QtSettingsStore::remove_value(const SettingsPath& key, std::string_view name) {
    const std::optional<QString> group = group_of(key);
    const std::optional<QString> qt = qt_name(name);
    if (!group || !qt) return false;
    const QString entry = child(*group, *qt);
    if (!settings_->contains(entry)) return false;
    // QSettings::remove also takes a subkey of the same name: put it back.
    QList<std::pair<QString, QVariant>> subkey_entries;
    settings_->beginGroup(entry);
    for (const QString& inner : settings_->allKeys()) {
        subkey_entries.append({child(entry, inner), settings_->value(inner)});
    }
    settings_->endGroup();
    settings_->remove(entry);
    for (const auto& [inner, value] : subkey_entries) settings_->setValue(inner, value);
    mark_if_empty(*group);
    return healthy();
}

bool QtSettingsStore::flush() {
    settings_->sync();
    return healthy();
}

}  // namespace korv::platform
