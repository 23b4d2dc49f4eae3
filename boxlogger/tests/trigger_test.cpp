// Triggers: evaluation, rule edits while fed at the hub, cycles refused, and
// their stored form.
#include <gtest/gtest.h>

#include <cmath>

#include "boxlogger/core/channel_table.h"
#include "boxlogger/core/link_engine.h"
#include "boxlogger/core/settings_values.h"
#include "boxlogger/core/trigger.h"
#include "platform/core/memory_settings_store.h"

namespace korv::boxlogger {
namespace {

constexpr int kEngineSpeed = 9;
constexpr int kThrottle = 7;

// A channel whose value the test sets.
class FixedVariable : public CVariable {
public:
    FixedVariable(int id, float v) : CVariable(id, 0x00), value(v) {}
    float Value() const override { return value; }
    float value;
};

class Triggers : public ::testing::Test {
protected:
    void SetUp() override {
        ResetChannelTable();
        ClearTriggers();
    }
    void TearDown() override { ClearTriggers(); }

    CTriggerRule& add(CTrigger& trigger, int id, int comparison, float value, FixedVariable& variable) {
        EXPECT_TRUE(trigger.AddRule(std::make_unique<CTriggerRule>(id, comparison, value)));
        CTriggerRule& rule = *trigger.rules().back();
        rule.variable = &variable;
        return rule;
    }
};

TEST_F(Triggers, AndNeedsEveryRuleOrAnyAndNoRulesReadZero) {
    CTrigger& trigger = Trigger(0);
    EXPECT_EQ(trigger.Evaluate(), 0) << "no rules";
    FixedVariable rpm(kEngineSpeed, 0.0f);
    FixedVariable throttle(kThrottle, 0.0f);
    add(trigger, kEngineSpeed, kCompareGreater, 3000.0f, rpm);
    add(trigger, kThrottle, kCompareGreater, 90.0f, throttle);
    struct Case {
        float rpm, throttle;
        int and_result, or_result;
    };
    for (const Case c : {Case{2000, 50, 0, 0}, Case{4000, 50, 0, 1}, Case{2000, 95, 0, 1}, Case{4000, 95, 1, 1},
                         Case{3000, 90, 0, 0}}) {
        rpm.value = c.rpm;
        throttle.value = c.throttle;
        trigger.SetLogic(kLogicAnd);
        EXPECT_EQ(trigger.Evaluate(), c.and_result) << c.rpm << " " << c.throttle;
        trigger.SetLogic(kLogicOr);
        EXPECT_EQ(trigger.Evaluate(), c.or_result) << c.rpm << " " << c.throttle;
    }
}

TEST_F(Triggers, EqualMatchesOnlyTheExactFloat) {
    FixedVariable volts(4, 12.3f);
    CTrigger& trigger = Trigger(1);
    add(trigger, 4, kCompareEqual, 12.3f, volts);
    EXPECT_EQ(trigger.Evaluate(), 1);
    volts.value = std::nextafter(12.3f, 13.0f);
    EXPECT_EQ(trigger.Evaluate(), 0);
    volts.value = 12.3f;
    trigger.rules().back()->variable = nullptr;
    EXPECT_EQ(trigger.Evaluate(), 0) << "a rule without a variable does not match";
}

TEST_F(Triggers, ARuleThatWouldMakeATriggerDependOnItselfIsRefused) {
    EXPECT_FALSE(Trigger(0).AddRule(std::make_unique<CTriggerRule>(53, kCompareEqual, 1.0f))) << "its own channel";
    ASSERT_TRUE(Trigger(0).AddRule(std::make_unique<CTriggerRule>(54, kCompareEqual, 1.0f)));
    ASSERT_TRUE(Trigger(1).AddRule(std::make_unique<CTriggerRule>(55, kCompareEqual, 1.0f)));
    EXPECT_FALSE(Trigger(2).AddRule(std::make_unique<CTriggerRule>(53, kCompareEqual, 1.0f))) << "through 1 and 2";
    EXPECT_TRUE(Trigger(3).AddRule(std::make_unique<CTriggerRule>(53, kCompareEqual, 1.0f)));
    EXPECT_TRUE(Trigger(2).rules().empty());
}

TEST_F(Triggers, DescribeShowsLabelComparisonAndValueWithUnits) {
    EXPECT_EQ(CTriggerRule(kEngineSpeed, kCompareGreater, 3000.0f).Describe(), "Engine Speed > 3000 RPM");
    EXPECT_EQ(CTriggerRule(kThrottle, kCompareLess, 12.0f).Describe(), "Throttle Position < 12 %");
    EXPECT_EQ(CTriggerRule(19, kCompareEqual, 1.0f).Describe(), "A/C Switch = On");
}

TEST_F(Triggers, SavesLogicAndNumberedRules) {
    platform::MemorySettingsStore store;
    const platform::SettingsPath key{"DataDescriptions", "Trigger 1"};
    CTrigger& trigger = Trigger(0);
    trigger.AddRule(std::make_unique<CTriggerRule>(kEngineSpeed, kCompareGreater, 3000.0f));
    trigger.AddRule(std::make_unique<CTriggerRule>(kThrottle, kCompareLess, 12.5f));
    trigger.AddRule(std::make_unique<CTriggerRule>(19, kCompareEqual, 1.0f));
    trigger.SetLogic(kLogicOr);
    ASSERT_TRUE(trigger.Save(store, key));
    EXPECT_EQ(store.read_string(key, "logic"), "OR");
    EXPECT_EQ(store.subkeys(key), (std::vector<std::string>{"rule #0", "rule #1", "rule #2"}));
    const platform::SettingsPath second{"DataDescriptions", "Trigger 1", "rule #1"};
    EXPECT_EQ(store.read_string(second, "name"), "Throttle Position");
    EXPECT_EQ(store.read_dword(second, "logic"), 60u);
    EXPECT_EQ(store.read_dword(second, "value"), dword_from_float(12.5f));
    EXPECT_EQ(store.read_dword({"DataDescriptions", "Trigger 1", "rule #0"}, "logic"), 62u);
    EXPECT_EQ(store.read_dword({"DataDescriptions", "Trigger 1", "rule #2"}, "logic"), 61u);
}

TEST_F(Triggers, TwelveRulesLoadInTheirOrderAndUnknownNamesAndCyclesAreDropped) {
    platform::MemorySettingsStore store;
    const platform::SettingsPath key{"Trigger 2"};
    const std::vector<int> ids = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const platform::SettingsPath rule{"Trigger 2", "rule #" + std::to_string(i)};
        store.write_string(rule, "name", *GetChannelLabel(ids[i]));
        store.write_dword(rule, "value", dword_from_float(static_cast<float>(i)));
    }
    store.write_string({"Trigger 2", "rule #12"}, "name", "No Such Channel");
    store.write_string({"Trigger 2", "rule #13"}, "name", "trigger 2");  // its own channel
    Trigger(1).Load(store, key);
    ASSERT_EQ(Trigger(1).rules().size(), ids.size());
    for (std::size_t i = 0; i < ids.size(); ++i) {
        EXPECT_EQ(Trigger(1).rules()[i]->channel_id, ids[i]);
        EXPECT_EQ(Trigger(1).rules()[i]->value, static_cast<float>(i));
    }
    EXPECT_EQ(Trigger(1).logic(), kLogicAnd);
}

// A trigger channel held at the hub polls its rules' channels, and rule
// edits while fed add and remove their request bytes.
TEST_F(Triggers, FedAtTheHubItsRulesChannelsArePolled) {
    CSerialPort port;
    CLinkEngine engine(port);
    CSampleHub& hub = engine.hub();
    Trigger(0).AddRule(std::make_unique<CTriggerRule>(kEngineSpeed, kCompareGreater, 3000.0f));
    CSampleRing* ring = hub.CreateRing();
    CVariable* trigger_variable = hub.Subscribe(53, ring);
    ASSERT_NE(trigger_variable, nullptr);
    EXPECT_TRUE(Trigger(0).fed());
    EXPECT_EQ(hub.table().count(), 1) << "Engine Speed's request byte";

    ASSERT_TRUE(Trigger(0).AddRule(std::make_unique<CTriggerRule>(kThrottle, kCompareGreater, 90.0f)));
    EXPECT_EQ(hub.table().count(), 2);
    Trigger(0).RemoveRule(0);
    EXPECT_EQ(hub.table().count(), 1);

    hub.Unsubscribe(trigger_variable, ring);
    EXPECT_FALSE(Trigger(0).fed());
    EXPECT_EQ(hub.table().count(), 0);
    EXPECT_EQ(hub.size(), 0u);
    hub.RemoveRing(ring);
}

TEST_F(Triggers, AnEngineGoingAwayLetsGoOfAFedTrigger) {
    Trigger(2).AddRule(std::make_unique<CTriggerRule>(kEngineSpeed, kCompareGreater, 3000.0f));
    Trigger(2).AddRule(std::make_unique<CTriggerRule>(kThrottle, kCompareGreater, 90.0f));
    {
        CSerialPort port;
        CLinkEngine engine(port);
        engine.hub().Subscribe(55, engine.hub().CreateRing());
        EXPECT_TRUE(Trigger(2).fed());
    }
    EXPECT_FALSE(Trigger(2).fed());
    for (const auto& rule : Trigger(2).rules()) EXPECT_EQ(rule->variable, nullptr);
}

}  // namespace
}  // namespace korv::boxlogger
