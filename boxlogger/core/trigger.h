#pragma once
// Triggers: six derived channels ("Trigger 1" to "Trigger 6", ids 53-58)
// that read 1 while a condition over other channels holds. Each is a list of
// rules, one channel compared with a constant, joined by AND or OR.
//
// A trigger is fed (its rules' channels polled) while its channel is held on
// a variable list; the poll thread then evaluates it under the hub's lock,
// and edits of a fed trigger take that lock too.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "boxlogger/core/data_attributes.h"
#include "boxlogger/core/link_mutex.h"
#include "boxlogger/core/variable.h"
#include "platform/core/settings_store.h"

namespace korv::boxlogger {

class CVariableList;

enum TriggerLogic : std::int32_t { kLogicAnd = 3, kLogicOr = 4 };
enum TriggerComparison : std::int32_t { kCompareEqual = 0, kCompareLess = 1, kCompareGreater = 2 };

class CTriggerRule {
public:
    CTriggerRule(int channel_id, int comparison, float value);

    // The label, " = ", " < " or " > ", and the constant as the channel shows
    // values, with its units: "Engine Speed > 3000 RPM".
    std::string Describe() const;
    bool Matches() const;

    int comparison;
    int channel_id;
    float value;
    CVariable* variable = nullptr;  // held on the trigger's list while fed
    CDataAttributes attributes;
};

class CTrigger {
public:
    static constexpr int kCount = 6;
    static constexpr int kFirstChannel = 53;

    explicit CTrigger(int number) : number_(number) {}

    int number() const { return number_; }
    int channel_id() const { return kFirstChannel + number_; }
    int logic() const { return logic_; }
    const std::vector<std::unique_ptr<CTriggerRule>>& rules() const { return rules_; }
    bool fed() const { return list_ != nullptr; }

    // Holds each rule's channel on the list; runs where the list is locked.
    void Feed(CVariableList& list);
    // Lets go of the rules' channels.
    void Reset();
    // 1 while the rules hold (AND: all, OR: any), 0 without rules. A
    // re-entered evaluation reads 0.
    int Evaluate() const;

    // False, and nothing changes, when the rule's channel depends on this
    // trigger (or is it).
    bool AddRule(std::unique_ptr<CTriggerRule> rule);
    void RemoveRule(std::size_t position);
    void SetLogic(int logic);
    // Changes the comparison and constant of a rule in place.
    void EditRule(std::size_t position, int comparison, float value);

    // Logic and rules from a trigger row's subkey; rules naming no channel,
    // or one that would make the trigger depend on itself, are dropped.
    void Load(const platform::SettingsStore& store, const platform::SettingsPath& key);
    bool Save(platform::SettingsStore& store, const platform::SettingsPath& key) const;
    // Empties the trigger (logic AND, no rules); it must not be fed.
    void Clear();

private:
    // Held while a fed trigger's rules change; none when not fed by the hub.
    std::unique_lock<LinkMutex> edit_lock() const;

    int number_;
    int logic_ = kLogicAnd;
    std::vector<std::unique_ptr<CTriggerRule>> rules_;
    CVariableList* list_ = nullptr;
};

// The six program-wide triggers, numbers 0-5.
CTrigger& Trigger(int number);
// All six emptied (start-up, tests).
void ClearTriggers();
// The trigger number of a channel id (53-58), else -1.
int TriggerNumberOfChannel(int channel_id);
// True when a rule on `channel_id` would make trigger `number` depend on
// itself, directly or through other triggers.
bool WouldDependOnItself(int number, int channel_id);

// The descriptor of a trigger channel: no request byte of its own; attached
// to a list it feeds its trigger there, and its value is the trigger's.
class CTriggerVariable : public CVariable {
public:
    explicit CTriggerVariable(int number);
    ~CTriggerVariable() override;
    void Attach(CVariableList& list) override;
    float Value() const override;
    int Raw() const override;

private:
    int number_;
    bool feeding_ = false;
};

}  // namespace korv::boxlogger
