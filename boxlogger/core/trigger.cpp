#include "boxlogger/core/trigger.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

#include "boxlogger/core/channel_table.h"
#include "boxlogger/core/sample_store.h"
#include "boxlogger/core/settings_values.h"
#include "boxlogger/core/variable_list.h"

namespace korv::boxlogger {
namespace {

// The stored comparison is its character: '=', '<', '>'.
constexpr std::uint32_t kStoredEqual = 61, kStoredLess = 60, kStoredGreater = 62;

std::uint32_t stored_comparison(int comparison) {
    switch (comparison) {
    case kCompareLess: return kStoredLess;
    case kCompareGreater: return kStoredGreater;
    default: return kStoredEqual;
    }
}

int comparison_from_stored(std::uint32_t stored) {
    switch (stored) {
    case kStoredLess: return kCompareLess;
    case kStoredGreater: return kCompareGreater;
    default: return kCompareEqual;
    }
}

std::string rule_key_name(std::size_t n) { return "rule #" + std::to_string(n); }

// The n of "rule #n", or nullopt for any other name.
std::optional<long long> rule_number(const std::string& name) {
    constexpr std::string_view prefix = "rule #";
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
    long long n = 0;
    const char* end = name.data() + name.size();
    const auto [ptr, ec] = std::from_chars(name.data() + prefix.size(), end, n);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return n;
}

std::array<CTrigger, CTrigger::kCount>& triggers() {
    static std::array<CTrigger, CTrigger::kCount> all{CTrigger(0), CTrigger(1), CTrigger(2),
                                                      CTrigger(3), CTrigger(4), CTrigger(5)};
    return all;
}

// Per thread, so the GUI thread's reading never hides the poll thread's.
thread_local std::array<bool, CTrigger::kCount> t_evaluating{};

}  // namespace

CTriggerRule::CTriggerRule(int channel, int comparison_code, float constant)
    : comparison(comparison_code), channel_id(channel), value(constant), attributes(channel) {}

std::string CTriggerRule::Describe() const {
    const char* op = comparison == kCompareLess ? " < " : comparison == kCompareGreater ? " > " : " = ";
    return attributes.label + op + attributes.FormatValue(value, false);
}

bool CTriggerRule::Matches() const {
    if (variable == nullptr) return false;
    const float v = variable->Value();
    switch (comparison) {
    case kCompareEqual: return v == value;
    case kCompareLess: return v < value;
    case kCompareGreater: return v > value;
    default: return false;
    }
}

std::unique_lock<LinkMutex> CTrigger::edit_lock() const {
    if (auto* hub = dynamic_cast<CSampleHub*>(list_)) return std::unique_lock<LinkMutex>(hub->mutex());
    return {};
}

void CTrigger::Feed(CVariableList& list) {
    if (list_ != nullptr) return;
    list_ = &list;
    for (auto& rule : rules_) rule->variable = list.Acquire(rule->channel_id);
}

void CTrigger::Reset() {
    CVariableList* list = std::exchange(list_, nullptr);
    if (list == nullptr) return;
    for (auto& rule : rules_) {
        if (rule->variable != nullptr) list->Release(std::exchange(rule->variable, nullptr));
    }
}

int CTrigger::Evaluate() const {
    bool& active = t_evaluating[static_cast<std::size_t>(number_)];
    if (active || rules_.empty()) return 0;
    active = true;
    bool result = rules_.front()->Matches();
    for (std::size_t i = 1; i < rules_.size(); ++i) {
        const bool match = rules_[i]->Matches();  // every rule is read, none skipped
        result = logic_ == kLogicAnd ? (result && match) : (result || match);
    }
    active = false;
    return result ? 1 : 0;
}

bool CTrigger::AddRule(std::unique_ptr<CTriggerRule> rule) {
    if (!rule || WouldDependOnItself(number_, rule->channel_id)) return false;
    auto lock = edit_lock();
    if (list_ != nullptr) rule->variable = list_->Acquire(rule->channel_id);
    rules_.push_back(std::move(rule));
    return true;
}

void CTrigger::RemoveRule(std::size_t position) {
    if (position >= rules_.size()) return;
    auto lock = edit_lock();
    std::unique_ptr<CTriggerRule> rule = std::move(rules_[position]);
    rules_.erase(rules_.begin() + static_cast<std::ptrdiff_t>(position));
    if (list_ != nullptr && rule->variable != nullptr) list_->Release(rule->variable);
}

void CTrigger::SetLogic(int logic) {
    auto lock = edit_lock();
    logic_ = logic;
}

void CTrigger::EditRule(std::size_t position, int comparison, float value) {
    if (position >= rules_.size()) return;
    auto lock = edit_lock();
    rules_[position]->comparison = comparison;
    rules_[position]->value = value;
}

void CTrigger::Clear() {
    Reset();
    rules_.clear();
    logic_ = kLogicAnd;
}

void CTrigger::Load(const platform::SettingsStore& store, const platform::SettingsPath& key) {
    logic_ = kLogicAnd;
    if (const std::optional<std::string> logic = store.read_string(key, "logic")) {
        if (*logic == "OR") logic_ = kLogicOr;
    }
    // The store lists "rule #10" before "rule #2": load by number.
    std::vector<std::string> names = store.subkeys(key);
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::optional<long long> x = rule_number(a);
        const std::optional<long long> y = rule_number(b);
        if (x && y) return *x < *y;
        return x.has_value() && !y.has_value();
    });
    for (const std::string& name : names) {
        platform::SettingsPath rule_key = key;
        rule_key.push_back(name);
        const std::optional<std::string> label = store.read_string(rule_key, "name");
        if (!label) continue;
        const int id = GetChannelIdByLabel(*label);
        if (id < 0) continue;
        const int comparison = comparison_from_stored(store.read_dword(rule_key, "logic").value_or(kStoredEqual));
        const float value = read_float(store, rule_key, "value").value_or(0.0f);
        AddRule(std::make_unique<CTriggerRule>(id, comparison, value));
    }
}

bool CTrigger::Save(platform::SettingsStore& store, const platform::SettingsPath& key) const {
    bool ok = store.write_string(key, "logic", logic_ == kLogicAnd ? "AND" : "OR");
    for (std::size_t i = 0; i < rules_.size(); ++i) {
        platform::SettingsPath rule_key = key;
        rule_key.push_back(rule_key_name(i));
        const CTriggerRule& rule = *rules_[i];
        ok = store.write_string(rule_key, "name", rule.attributes.label) && ok;
        ok = store.write_dword(rule_key, "logic", stored_comparison(rule.comparison)) && ok;
        ok = write_float(store, rule_key, "value", rule.value) && ok;
    }
    return ok;
}

CTrigger& Trigger(int number) { return triggers().at(static_cast<std::size_t>(number)); }

void ClearTriggers() {
    for (CTrigger& trigger : triggers()) trigger.Clear();
}

int TriggerNumberOfChannel(int channel_id) {
    const int n = channel_id - CTrigger::kFirstChannel;
    return n >= 0 && n < CTrigger::kCount ? n : -1;
}

bool WouldDependOnItself(int number, int channel_id) {
    // Walk the triggers the channel reads, through their rules.
    std::array<bool, CTrigger::kCount> seen{};
    std::vector<int> pending;
    if (const int first = TriggerNumberOfChannel(channel_id); first >= 0) pending.push_back(first);
    while (!pending.empty()) {
        const int m = pending.back();
        pending.pop_back();
        if (m == number) return true;
        if (std::exchange(seen[static_cast<std::size_t>(m)], true)) continue;
        for (const auto& rule : Trigger(m).rules()) {
            if (const int next = TriggerNumberOfChannel(rule->channel_id); next >= 0) pending.push_back(next);
        }
    }
    return false;
}

CTriggerVariable::CTriggerVariable(int number)
    : CVariable(CTrigger::kFirstChannel + number, -1, 1.0f, 0.0f), number_(number) {}

CTriggerVariable::~CTriggerVariable() {
    if (feeding_) Trigger(number_).Reset();
}

void CTriggerVariable::Attach(CVariableList& list) {
    // No request byte: the table stays unset, so nothing is removed later.
    CTrigger& trigger = Trigger(number_);
    if (trigger.fed()) return;  // fed elsewhere already; that holder resets it
    trigger.Feed(list);
    feeding_ = true;
}

float CTriggerVariable::Value() const { return static_cast<float>(Trigger(number_).Evaluate()); }

int CTriggerVariable::Raw() const { return Trigger(number_).Evaluate() & 0xFF; }

}  // namespace korv::boxlogger
