#include "boxlogger/core/quick_select.h"

#include "boxlogger/core/channel_table.h"

namespace korv::boxlogger {
namespace {

// The stored value was read into a buffer of this many bytes, its final NUL
// included; a longer one counted as unreadable.
constexpr std::size_t kValueBuffer = 5000;
// The older form's names and `Name` were read into 100 bytes.
constexpr std::size_t kLegacyBuffer = 100;

}  // namespace

std::string QuickSelectName(int n) { return "QuickSelect" + std::to_string(n); }
std::string DefaultQuickSelectName(int n) { return "Quick Select #" + std::to_string(n); }

void CQuickSelect::SetName(std::string_view name) {
    name_.clear();
    for (char c : name) {
        if (c != '\n' && c != '\r') name_ += c;
    }
}

void CQuickSelect::Load(const platform::SettingsStore& store, const platform::SettingsPath& key, int n) {
    name_.clear();
    channels.clear();
    const std::optional<std::string> text = store.read_string(key, QuickSelectName(n));
    if (text && text->size() < kValueBuffer) {
        std::size_t start = 0;
        std::size_t end = text->find('\n');
        name_ = text->substr(0, end);
        while (end != std::string::npos) {
            start = end + 1;
            end = text->find('\n', start);
            const int id = ResolveChannelLabel(std::string_view(*text).substr(start, end - start));
            if (id >= 0) channels.push_back(static_cast<std::uint32_t>(id));
        }
    }
    if (name_.empty()) name_ = DefaultQuickSelectName(n);
}

void CQuickSelect::LoadLegacy(const platform::SettingsStore& store, const platform::SettingsPath& program_key, int n) {
    name_.clear();
    channels.clear();
    platform::SettingsPath key = program_key;
    key.push_back(QuickSelectName(n));
    if (const std::optional<std::string> name = store.read_string(key, "Name"); name && name->size() < kLegacyBuffer) {
        SetName(*name);
    }
    for (const std::string& value : store.value_names(key)) {
        if (value.size() >= kLegacyBuffer) continue;
        const int id = ResolveChannelLabel(value);
        if (id >= 0) channels.push_back(static_cast<std::uint32_t>(id));
    }
    if (name_.empty()) name_ = DefaultQuickSelectName(n);
}

bool CQuickSelect::Save(platform::SettingsStore& store, const platform::SettingsPath& key, int n) const {
    std::string text = name_;
    for (std::uint32_t id : channels) {
        text += '\n';
        // A channel without a row adds an empty line, which loads as nothing.
        if (const std::optional<std::string> label = GetChannelLabel(static_cast<int>(id))) text += *label;
    }
    return store.write_string(key, QuickSelectName(n), text);
}

}  // namespace korv::boxlogger
