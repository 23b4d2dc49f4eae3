#include "platform/core/memory_settings_store.h"

namespace korv::platform {

MemorySettingsStore::MemorySettingsStore() = default;
MemorySettingsStore::~MemorySettingsStore() = default;

template <typename NodeType>
NodeType* MemorySettingsStore::find_in(NodeType& root, const SettingsPath& key) {
    if (!is_valid_settings_path(key)) return nullptr;
    NodeType* node = &root;
    for (const std::string& name : key) {
        const auto it = node->subkeys.find(name);
        if (it == node->subkeys.end()) return nullptr;
        node = it->second.get();
    }
    return node;
}

MemorySettingsStore::Node* MemorySettingsStore::find_or_create(const SettingsPath& key) {
    if (!is_valid_settings_path(key)) return nullptr;
    Node* node = &root_;
    for (const std::string& name : key) {
        std::unique_ptr<Node>& child = node->subkeys[name];
        if (!child) child = std::make_unique<Node>();
        node = child.get();
    }
    return node;
}

const MemorySettingsStore::Value* MemorySettingsStore::find_value(const SettingsPath& key,
                                                                  std::string_view name) const {
    const Node* node = find_in(root_, key);
    if (node == nullptr || !is_valid_settings_name(name)) return nullptr;
    const auto it = node->values.find(name);
    return it == node->values.end() ? nullptr : &it->second;
}

bool MemorySettingsStore::write(const SettingsPath& key, std::string_view name, Value value) {
    if (!is_valid_settings_name(name)) return false;
    Node* node = find_or_create(key);
    if (node == nullptr) return false;
    node->values.insert_or_assign(std::string(name), std::move(value));
    return true;
}

bool MemorySettingsStore::key_exists(const SettingsPath& key) const { return find_in(root_, key) != nullptr; }

bool MemorySettingsStore::create_key(const SettingsPath& key) { return find_or_create(key) != nullptr; }

bool MemorySettingsStore::remove_key(const SettingsPath& key) {
    if (key.empty() || !is_valid_settings_path(key)) return false;
    const SettingsPath parent_path(key.begin(), key.end() - 1);
    Node* parent = find_in(root_, parent_path);
    return parent != nullptr && parent->subkeys.erase(key.back()) == 1;
}

std::vector<std::string> MemorySettingsStore::subkeys(const SettingsPath& key) const {
    std::vector<std::string> names;
    if (const Node* node = find_in(root_, key)) {
        for (const auto& entry : node->subkeys) names.push_back(entry.first);
    }
    sort_settings_names(names);
    return names;
}

std::vector<std::string> MemorySettingsStore::value_names(const SettingsPath& key) const {
    std::vector<std::string> names;
    if (const Node* node = find_in(root_, key)) {
        for (const auto& entry : node->values) names.push_back(entry.first);
    }
    sort_settings_names(names);
    return names;
}

std::optional<std::uint32_t> MemorySettingsStore::read_dword(const SettingsPath& key, std::string_view name) const {
    const Value* value = find_value(key, name);
    if (value == nullptr || !std::holds_alternative<std::uint32_t>(*value)) return std::nullopt;
    return std::get<std::uint32_t>(*value);
}

bool MemorySettingsStore::write_dword(const SettingsPath& key, std::string_view name, std::uint32_t value) {
    return write(key, name, value);
}

std::optional<std::string> MemorySettingsStore::read_string(const SettingsPath& key, std::string_view name) const {
    const Value* value = find_value(key, name);
    if (value == nullptr || !std::holds_alternative<std::string>(*value)) return std::nullopt;
    return std::get<std::string>(*value);
}

bool MemorySettingsStore::write_string(const SettingsPath& key, std::string_view name, std::string_view value) {
    if (!is_valid_settings_string(value)) return false;
    return write(key, name, std::string(value));
}

bool MemorySettingsStore::remove_value(const SettingsPath& key, std::string_view name) {
    Node* node = find_in(root_, key);
    if (node == nullptr || !is_valid_settings_name(name)) return false;
    const auto it = node->values.find(name);
    if (it == node->values.end()) return false;
    node->values.erase(it);
    return true;
}

}  // namespace korv::platform
