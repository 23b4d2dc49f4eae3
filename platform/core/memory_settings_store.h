#pragma once
// A settings store that lives only in memory, for tests.
#include "platform/core/settings_store.h"

#include <map>
#include <memory>
#include <variant>

namespace korv::platform {

class MemorySettingsStore final : public SettingsStore {
public:
    MemorySettingsStore();
    ~MemorySettingsStore() override;

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

    bool flush() override { return true; }

private:
    using Value = std::variant<std::uint32_t, std::string>;
    struct Node {
        std::map<std::string, std::unique_ptr<Node>, std::less<>> subkeys;
        std::map<std::string, Value, std::less<>> values;
    };

    // Shared by the const and non-const lookups.
    template <typename NodeType>
    static NodeType* find_in(NodeType& root, const SettingsPath& key);
    Node* find_or_create(const SettingsPath& key);
    const Value* find_value(const SettingsPath& key, std::string_view name) const;
    bool write(const SettingsPath& key, std::string_view name, Value value);

    Node root_;
};

}  // namespace korv::platform
