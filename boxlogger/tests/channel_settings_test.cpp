// The channel settings: data descriptions, quick selects (new and older
// form), the one load order, and the round trip through the INI store.
#include <gtest/gtest.h>

#include <QString>
#include <cmath>
#include <limits>

#include "boxlogger/core/channel_table.h"
#include "boxlogger/core/data_descriptions.h"
#include "boxlogger/core/quick_select.h"
#include "boxlogger/core/settings_values.h"
#include "boxlogger/core/trigger.h"
#include "boxlogger/core/vxmlog_settings.h"
#include "platform/core/memory_settings_store.h"
#include "platform/gui/qt_settings_store.h"
#include "testsupport/temp_folder.h"

namespace korv::boxlogger {
namespace {

using platform::MemorySettingsStore;
using platform::SettingsPath;

constexpr int kEngineSpeed = 9;
constexpr int kThrottle = 7;
constexpr int kBoxSpeed = 25;  // "VXM Engine Speed"

// A memory store whose flush fails, as a full disk would make it.
class UnflushableStore : public platform::SettingsStore {
public:
    bool key_exists(const SettingsPath& k) const override { return inner.key_exists(k); }
    bool create_key(const SettingsPath& k) override { return inner.create_key(k); }
    bool remove_key(const SettingsPath& k) override { return inner.remove_key(k); }
    std::vector<std::string> subkeys(const SettingsPath& k) const override { return inner.subkeys(k); }
    std::vector<std::string> value_names(const SettingsPath& k) const override { return inner.value_names(k); }
    std::optional<std::uint32_t> read_dword(const SettingsPath& k, std::string_view n) const override {
        return inner.read_dword(k, n);
    }
    bool write_dword(const SettingsPath& k, std::string_view n, std::uint32_t v) override {
        return inner.write_dword(k, n, v);
    }
    std::optional<std::string> read_string(const SettingsPath& k, std::string_view n) const override {
        return inner.read_string(k, n);
    }
    bool write_string(const SettingsPath& k, std::string_view n, std::string_view v) override {
        return inner.write_string(k, n, v);
    }
    bool remove_value(const SettingsPath& k, std::string_view n) override { return inner.remove_value(k, n); }
    bool flush() override { return false; }

    MemorySettingsStore inner;
};

class ChannelSettings : public ::testing::Test {
protected:
    void SetUp() override {
        ResetChannelTable();
        ClearTriggers();
    }
    void TearDown() override {
        ResetChannelTable();
        ClearTriggers();
    }
    // Saves, forgets everything, and loads again, as an exit and a new start do.
    void restart(platform::SettingsStore& store) {
        ASSERT_EQ(SaveChannelSettings(store, sets), std::nullopt);
        ResetChannelTable();
        ClearTriggers();
        sets = {};
        EXPECT_TRUE(LoadChannelSettings(store, sets).empty());
    }

    QuickSelectSets sets;
};

TEST_F(ChannelSettings, FirstStartGivesDefaultNamesAndExitWritesThemAndTheSixTriggerKeys) {
    MemorySettingsStore store;
    EXPECT_TRUE(LoadChannelSettings(store, sets).empty());
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(sets[n - 1].name(), "Quick Select #" + std::to_string(n));
        EXPECT_TRUE(sets[n - 1].channels.empty());
    }
    ASSERT_EQ(SaveChannelSettings(store, sets), std::nullopt);
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(store.read_string({"QuickSelects"}, "QuickSelect" + std::to_string(n)),
                  "Quick Select #" + std::to_string(n));
    }
    EXPECT_EQ(store.subkeys({"DataDescriptions"}),
              (std::vector<std::string>{"Trigger 1", "Trigger 2", "Trigger 3", "Trigger 4", "Trigger 5", "Trigger 6"}));
    EXPECT_EQ(store.read_string({"DataDescriptions", "Trigger 6"}, "logic"), "AND");
    EXPECT_TRUE(store.value_names({"DataDescriptions", "Trigger 1"}) == std::vector<std::string>{"logic"});
}

TEST_F(ChannelSettings, StoredSetsResolveLabelsAndAliasesAndNameEmptyOnes) {
    MemorySettingsStore store;
    store.write_string({"QuickSelects"}, "QuickSelect2", "\nEngine Speed");
    store.write_string({"QuickSelects"}, "QuickSelect3", "Revs\nrpm\nNo Such Channel\nthrottle position");
    store.write_string({"QuickSelects"}, "QuickSelect4", "Big" + std::string(5000, '\n'));
    LoadChannelSettings(store, sets);
    EXPECT_EQ(sets[1].name(), "Quick Select #2");
    EXPECT_EQ(sets[1].channels, std::vector<std::uint32_t>{kEngineSpeed});
    EXPECT_EQ(sets[2].name(), "Revs");
    EXPECT_EQ(sets[2].channels, (std::vector<std::uint32_t>{kEngineSpeed, kThrottle}));
    EXPECT_EQ(sets[3].name(), "Quick Select #4") << "a value over 5000 bytes is unreadable";
}

TEST_F(ChannelSettings, NamesLoseTheirLineBreaks) {
    CQuickSelect set;
    set.SetName("Two\nlines\r");
    set.channels = {kEngineSpeed};
    MemorySettingsStore store;
    ASSERT_TRUE(set.Save(store, {"QuickSelects"}, 1));
    CQuickSelect back;
    back.Load(store, {"QuickSelects"}, 1);
    EXPECT_EQ(back.name(), "Twolines");
    EXPECT_EQ(back.channels, std::vector<std::uint32_t>{kEngineSpeed});
}

TEST_F(ChannelSettings, OlderSetsMoveToTheNewFormAndTheirKeysGo) {
    MemorySettingsStore store;
    store.write_string({"QuickSelect2"}, "Name", "Dyno");
    store.write_string({"QuickSelect2"}, "Engine Speed", "");
    store.write_dword({"QuickSelect2"}, "Throttle Position", 1);
    store.create_key({"QuickSelect4"});
    EXPECT_TRUE(LoadChannelSettings(store, sets).empty());
    EXPECT_EQ(sets[1].name(), "Dyno");
    EXPECT_EQ(sets[1].channels, (std::vector<std::uint32_t>{kEngineSpeed, kThrottle}));
    EXPECT_EQ(sets[3].name(), "Quick Select #4");
    EXPECT_FALSE(store.key_exists({"QuickSelect2"}));
    EXPECT_FALSE(store.key_exists({"QuickSelect4"}));
    EXPECT_EQ(store.read_string({"QuickSelects"}, "QuickSelect2"), "Dyno\nEngine Speed\nThrottle Position");
}

TEST_F(ChannelSettings, OlderSetsStayWhenTheNewFormCannotBeFlushed) {
    UnflushableStore store;
    store.inner.write_string({"QuickSelect1"}, "Name", "Dyno");
    EXPECT_EQ(LoadChannelSettings(store, sets).size(), 1u);
    EXPECT_EQ(sets[0].name(), "Dyno");
    EXPECT_TRUE(store.inner.key_exists({"QuickSelect1"}));
    EXPECT_TRUE(SaveChannelSettings(store, sets)) << "a failed flush at exit is reported";
}

TEST_F(ChannelSettings, ARenamedChannelStaysInItsSetAndRuleAcrossARestart) {
    MemorySettingsStore store;
    LoadChannelSettings(store, sets);
    FindChannelById(kEngineSpeed)->label = "Revs";
    FindChannelById(kBoxSpeed)->label = "Box Revs";  // its key is listed after the trigger keys
    sets[0].channels = {kEngineSpeed, kBoxSpeed};
    ASSERT_TRUE(Trigger(0).AddRule(std::make_unique<CTriggerRule>(kBoxSpeed, kCompareGreater, 90.0f)));
    ASSERT_TRUE(Trigger(0).AddRule(std::make_unique<CTriggerRule>(kEngineSpeed, kCompareGreater, 3000.0f)));
    restart(store);
    EXPECT_EQ(store.read_string({"DataDescriptions", "Engine Speed"}, "label"), "Revs");
    EXPECT_EQ(GetChannelLabel(kEngineSpeed), "Revs");
    EXPECT_EQ(sets[0].channels, (std::vector<std::uint32_t>{kEngineSpeed, kBoxSpeed}));
    ASSERT_EQ(Trigger(0).rules().size(), 2u);
    EXPECT_EQ(Trigger(0).rules()[0]->channel_id, kBoxSpeed);
    EXPECT_EQ(Trigger(0).rules()[1]->channel_id, kEngineSpeed);
}

TEST_F(ChannelSettings, SaveWritesOnlyWhatDiffersUnderTheBuiltInLabel) {
    MemorySettingsStore store;
    store.write_string({"DataDescriptions", "Not A Channel"}, "label", "x");
    ChannelRow& row = *FindChannelById(kEngineSpeed);
    row.label = "rpm";
    row.colour = 0x00112233;
    FindChannelById(6)->units = "steps";
    FindChannelById(3)->units.reset();
    ASSERT_TRUE(SaveDataDescriptions(store, {"DataDescriptions"}));
    EXPECT_FALSE(store.key_exists({"DataDescriptions", "Not A Channel"}));
    EXPECT_EQ(store.value_names({"DataDescriptions", "Engine Speed"}), (std::vector<std::string>{"color", "label"}));
    EXPECT_EQ(store.read_dword({"DataDescriptions", "Engine Speed"}, "color"), 0x00112233u);
    EXPECT_EQ(store.read_string({"DataDescriptions", "ISC Steps"}, "units"), "steps");
    EXPECT_EQ(store.read_string({"DataDescriptions", "Oxygen Sensor"}, "units"), "");
    ResetChannelTable();
    LoadDataDescriptions(store, {"DataDescriptions"});
    EXPECT_EQ(FindChannelById(kEngineSpeed)->label, "rpm");
    EXPECT_EQ(FindChannelById(3)->units, std::nullopt) << "an empty units text removes the units";
    EXPECT_EQ(FindChannelById(6)->units, "steps");
}

TEST_F(ChannelSettings, LoadedValuesThatWouldBreakTheTableAreIgnored) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* what;
        std::string key;
        std::string name;
        std::optional<std::string> text;
        std::uint32_t dword;
    };
    const std::vector<Case> cases = {
        {"empty label", "Engine Speed", "label", "", 0},
        {"another row's label", "Engine Speed", "label", "throttle position", 0},
        {"a label with a line break", "Engine Speed", "label", "a\nb", 0},
        {"a NaN minimum", "Engine Speed", "min", std::nullopt, dword_from_float(nan)},
        {"an infinite maximum", "Engine Speed", "max", std::nullopt,
         dword_from_float(std::numeric_limits<float>::infinity())},
        {"a minimum above the maximum", "Engine Speed", "min", std::nullopt, dword_from_float(9000.0f)},
        {"a precision of 10", "Engine Speed", "precision", std::nullopt, 10},
        {"a precision of -2", "Engine Speed", "precision", std::nullopt, static_cast<std::uint32_t>(-2)},
        {"a trigger row's precision", "Trigger 2", "precision", std::nullopt, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemorySettingsStore store;
        const SettingsPath key{"DataDescriptions", c.key};
        if (c.text) {
            store.write_string(key, c.name, *c.text);
        } else {
            store.write_dword(key, c.name, c.dword);
        }
        LoadDataDescriptions(store, {"DataDescriptions"});
        const std::span<const ChannelRow> built_in = BuiltInChannelRows();
        const std::span<ChannelRow> rows = ChannelRows();
        EXPECT_TRUE(std::equal(rows.begin(), rows.end(), built_in.begin(), built_in.end()));
    }
    MemorySettingsStore store;
    store.write_dword({"DataDescriptions", "engine speed"}, "precision", 9);
    store.write_dword({"DataDescriptions", "Engine Speed"}, "min", dword_from_float(500.0f));
    LoadDataDescriptions(store, {"DataDescriptions"});
    EXPECT_EQ(FindChannelById(kEngineSpeed)->precision, 9) << "subkeys match labels without case";
    EXPECT_EQ(FindChannelById(kEngineSpeed)->min, 500.0f);
}

TEST_F(ChannelSettings, ASlashInALabelSurvivesTheIniStore) {
    testsupport::TempFolder dir;
    const QString ini = QString::fromStdString(dir.file("VXMlog.ini"));
    {
        platform::QtSettingsStore store(ini);
        LoadChannelSettings(store, sets);
        FindChannelById(19)->label = "A/C On";
        FindChannelById(19)->colour = 0x00FF0000;
        sets[4].channels = {19, kEngineSpeed};
        Trigger(5).AddRule(std::make_unique<CTriggerRule>(19, kCompareEqual, 1.0f));
        ASSERT_EQ(SaveChannelSettings(store, sets), std::nullopt);
    }
    ResetChannelTable();
    ClearTriggers();
    sets = {};
    platform::QtSettingsStore store(ini);
    EXPECT_TRUE(LoadChannelSettings(store, sets).empty());
    EXPECT_EQ(GetChannelLabel(19), "A/C On");
    EXPECT_EQ(FindChannelById(19)->colour, 0x00FF0000u);
    EXPECT_EQ(sets[4].channels, (std::vector<std::uint32_t>{19, kEngineSpeed}));
    ASSERT_EQ(Trigger(5).rules().size(), 1u);
    EXPECT_EQ(Trigger(5).rules()[0]->channel_id, 19);
}

}  // namespace
}  // namespace korv::boxlogger
