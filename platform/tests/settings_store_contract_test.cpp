// One set of cases run against every settings store. Reads go through
// reopened(), which for the QSettings store is a fresh store on the flushed
// file, so each case also proves the file round trip.
#include "platform/core/memory_settings_store.h"
#include "platform/gui/qt_settings_store.h"

#include <QTemporaryDir>
#include <bit>
#include <gtest/gtest.h>
#include <limits>

namespace korv::platform {
namespace {

using Names = std::vector<std::string>;

class MemoryStoreHarness {
public:
    SettingsStore& store() { return store_; }
    SettingsStore& reopened() { return store_; }

private:
    MemorySettingsStore store_;
};

class QtStoreHarness {
public:
    QtStoreHarness() { EXPECT_TRUE(folder_.isValid()); }
    SettingsStore& store() { return *store_; }
    SettingsStore& reopened() {
        EXPECT_TRUE(store_->flush());
        reopened_ = std::make_unique<QtSettingsStore>(store_->file_name());
        return *reopened_;
    }

private:
    QTemporaryDir folder_;
    std::unique_ptr<QtSettingsStore> store_ =
        std::make_unique<QtSettingsStore>(vxmlog_settings.organisation, vxmlog_settings.application, folder_.path());
    std::unique_ptr<QtSettingsStore> reopened_;
};

template <typename Harness>
class SettingsStoreContract : public testing::Test {
protected:
    SettingsStore& store() { return harness_.store(); }
    SettingsStore& reopened() { return harness_.reopened(); }

private:
    Harness harness_;
};

using Harnesses = testing::Types<MemoryStoreHarness, QtStoreHarness>;
TYPED_TEST_SUITE(SettingsStoreContract, Harnesses);

const SettingsPath settings_key = {"Settings"};

TYPED_TEST(SettingsStoreContract, DwordsKeepEveryBitIncludingMinusOneAndFloatPatterns) {
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"Zero", 0u},
        {"MinusOne", 0xFFFFFFFFu},
        {"HighBit", 0x80000000u},
        {"OnePointFive", std::bit_cast<std::uint32_t>(1.5f)},
        {"NegativeZero", std::bit_cast<std::uint32_t>(-0.0f)},
        {"QuietNaN", 0x7FC00001u},
        {"NegativeNaN", 0xFFC12345u},
        {"SignallingNaN", 0x7F800001u},
        {"Infinity", std::bit_cast<std::uint32_t>(std::numeric_limits<float>::infinity())},
    };
    for (const auto& [name, bits] : cases) {
        ASSERT_TRUE(this->store().write_dword(settings_key, name, bits));
    }

    SettingsStore& store = this->reopened();
    for (const auto& [name, bits] : cases) {
        EXPECT_EQ(store.read_dword(settings_key, name), bits) << name;
    }
}

TYPED_TEST(SettingsStoreContract, StringsKeepWindows1252BytesNewlinesAndIniSpecials) {
    std::string every_byte;
    for (int byte = 1; byte < 256; ++byte) every_byte += static_cast<char>(byte);
    const std::pair<const char*, std::string> cases[] = {
        {"Degrees",
         "Coolant \xB0"
         "F"},
        {"Euro", "\x80 12,50"},
        {"TwoLines", "first line\nsecond line"},
        {"Specials", "  padded; a=b, \"quoted\" @at #hash  "},
        {"LooksLikeGroup", "[General]"},
        {"Empty", ""},
        {"EveryByte", every_byte},
    };
    for (const auto& [name, text] : cases) {
        ASSERT_TRUE(this->store().write_string(settings_key, name, text));
    }

    SettingsStore& store = this->reopened();
    for (const auto& [name, text] : cases) {
        EXPECT_EQ(store.read_string(settings_key, name), text) << name;
    }
}

TYPED_TEST(SettingsStoreContract, ATypeIsReadOnlyAsItselfAndAWriteReplacesTheOtherType) {
    SettingsStore& store = this->store();
    ASSERT_TRUE(store.write_string(settings_key, "Digits", "4294967295"));
    ASSERT_TRUE(store.write_dword(settings_key, "Number", 7));
    ASSERT_TRUE(store.write_dword(settings_key, "Changed", 1));
    ASSERT_TRUE(store.write_string(settings_key, "Changed", "now text"));

    SettingsStore& again = this->reopened();
    EXPECT_EQ(again.read_dword(settings_key, "Digits"), std::nullopt);
    EXPECT_EQ(again.read_string(settings_key, "Number"), std::nullopt);
    EXPECT_EQ(again.read_dword(settings_key, "Changed"), std::nullopt);
    EXPECT_EQ(again.read_string(settings_key, "Changed"), "now text");
    EXPECT_EQ(again.value_names(settings_key), (Names{"Changed", "Digits", "Number"}));
}

TYPED_TEST(SettingsStoreContract, MissingKeysAndValuesReadAsNothing) {
    SettingsStore& store = this->store();
    ASSERT_TRUE(store.write_dword(settings_key, "Present", 1));

    EXPECT_TRUE(store.key_exists({}));
    EXPECT_FALSE(store.key_exists({"State"}));
    EXPECT_EQ(store.read_dword(settings_key, "Absent"), std::nullopt);
    EXPECT_EQ(store.read_string({"State"}, "Present"), std::nullopt);
    EXPECT_TRUE(store.subkeys({"State"}).empty());
    EXPECT_TRUE(store.value_names({"State"}).empty());
    EXPECT_FALSE(store.remove_value(settings_key, "Absent"));
    EXPECT_FALSE(store.remove_key({"State"}));
    EXPECT_FALSE(store.remove_key({}));
    // A value is not a key.
    EXPECT_FALSE(store.key_exists({"Settings", "Present"}));
}

TYPED_TEST(SettingsStoreContract, NamesWithSlashBackslashAndPercentStayOneName) {
    const SettingsPath descriptions = {"DataDescriptions"};
    const Names labels = {"A/F Ratio", "Boost \\ Vacuum", "Duty 100%", "%2F",
                          "Oil \xB0"
                          "C"};
    SettingsStore& store = this->store();
    for (const std::string& label : labels) {
        ASSERT_TRUE(store.write_string({"DataDescriptions", label}, "Units/Scale\\%", label));
    }

    SettingsStore& again = this->reopened();
    Names expected = labels;
    sort_settings_names(expected);
    EXPECT_EQ(again.subkeys(descriptions), expected);
    EXPECT_FALSE(again.key_exists({"DataDescriptions", "A"}));
    EXPECT_FALSE(again.key_exists({"DataDescriptions", "Boost "}));
    for (const std::string& label : labels) {
        EXPECT_EQ(again.value_names({"DataDescriptions", label}), Names{"Units/Scale\\%"});
        EXPECT_EQ(again.read_string({"DataDescriptions", label}, "Units/Scale\\%"), label);
    }
}

TYPED_TEST(SettingsStoreContract, EnumerationIgnoresCaseThenKeepsByteOrder) {
    SettingsStore& store = this->store();
    for (const char* name : {"beta", "Gamma", "alpha", "Alpha", "Delta"}) {
        ASSERT_TRUE(store.create_key({"QuickSelects", name}));
        ASSERT_TRUE(store.write_dword({"State"}, name, 0));
    }

    SettingsStore& again = this->reopened();
    const Names expected = {"Alpha", "alpha", "beta", "Delta", "Gamma"};
    EXPECT_EQ(again.subkeys({"QuickSelects"}), expected);
    EXPECT_EQ(again.value_names({"State"}), expected);
    EXPECT_EQ(again.subkeys({}), (Names{"QuickSelects", "State"}));
}

TYPED_TEST(SettingsStoreContract, CreatedKeysExistEmptyAndOutliveTheirLastChild) {
    SettingsStore& store = this->store();
    ASSERT_TRUE(store.create_key({"DataDescriptions", "Trigger", "Rule 1"}));
    ASSERT_TRUE(store.create_key({"DataDescriptions", "Trigger", "Rule 1"}));  // already there
    ASSERT_TRUE(store.write_dword({"State"}, "Only", 3));
    ASSERT_TRUE(store.remove_value({"State"}, "Only"));

    SettingsStore& again = this->reopened();
    EXPECT_TRUE(again.key_exists({"DataDescriptions"}));
    EXPECT_TRUE(again.key_exists({"DataDescriptions", "Trigger", "Rule 1"}));
    EXPECT_TRUE(again.value_names({"DataDescriptions", "Trigger", "Rule 1"}).empty());
    EXPECT_TRUE(again.key_exists({"State"}));
    EXPECT_TRUE(again.value_names({"State"}).empty());

    ASSERT_TRUE(again.remove_key({"DataDescriptions", "Trigger", "Rule 1"}));
    EXPECT_TRUE(again.key_exists({"DataDescriptions", "Trigger"}));
    EXPECT_TRUE(again.subkeys({"DataDescriptions", "Trigger"}).empty());
}

TYPED_TEST(SettingsStoreContract, RemoveKeyTakesEverythingBelowAndNothingBeside) {
    const SettingsPath trigger = {"DataDescriptions", "Trigger"};
    SettingsStore& store = this->store();
    ASSERT_TRUE(store.write_string(trigger, "Mode", "rise"));
    ASSERT_TRUE(store.write_dword({"DataDescriptions", "Trigger", "Rule 1"}, "Level", 10));
    ASSERT_TRUE(store.write_dword({"DataDescriptions", "Trigger", "Rule 2"}, "Level", 20));
    ASSERT_TRUE(store.write_dword({"DataDescriptions", "Trigger Delay"}, "Level", 30));
    // A value named like the key, in the key's parent.
    ASSERT_TRUE(store.write_dword({"DataDescriptions"}, "Trigger", 99));

    ASSERT_TRUE(store.remove_key(trigger));

    SettingsStore& again = this->reopened();
    EXPECT_FALSE(again.key_exists(trigger));
    EXPECT_FALSE(again.key_exists({"DataDescriptions", "Trigger", "Rule 1"}));
    EXPECT_EQ(again.read_dword({"DataDescriptions", "Trigger", "Rule 2"}, "Level"), std::nullopt);
    EXPECT_EQ(again.subkeys({"DataDescriptions"}), Names{"Trigger Delay"});
    EXPECT_EQ(again.read_dword({"DataDescriptions", "Trigger Delay"}, "Level"), 30u);
    EXPECT_EQ(again.read_dword({"DataDescriptions"}, "Trigger"), 99u);
}

TYPED_TEST(SettingsStoreContract, RemoveValueLeavesASubkeyOfTheSameName) {
    SettingsStore& store = this->store();
    ASSERT_TRUE(store.write_dword({}, "Window", 1));
    ASSERT_TRUE(store.write_dword({"Window"}, "Left", 40));
    ASSERT_TRUE(store.write_dword({}, "Other", 2));

    ASSERT_TRUE(store.remove_value({}, "Window"));
    EXPECT_FALSE(store.remove_value({}, "Window"));

    SettingsStore& again = this->reopened();
    EXPECT_EQ(again.value_names({}), Names{"Other"});
    EXPECT_EQ(again.read_dword({"Window"}, "Left"), 40u);
}

TYPED_TEST(SettingsStoreContract, RefusesEmptyNamesAndNulBytes) {
    SettingsStore& store = this->store();
    EXPECT_FALSE(store.create_key({"Settings", ""}));
    EXPECT_FALSE(store.write_dword(settings_key, "", 1));
    EXPECT_FALSE(store.write_dword(settings_key, std::string_view("a\0b", 3), 1));
    EXPECT_FALSE(store.write_string(settings_key, "Text", std::string_view("a\0b", 3)));
    EXPECT_FALSE(store.key_exists({""}));
    EXPECT_EQ(store.read_dword({""}, "x"), std::nullopt);
    EXPECT_FALSE(store.key_exists(settings_key));
}

}  // namespace
}  // namespace korv::platform
