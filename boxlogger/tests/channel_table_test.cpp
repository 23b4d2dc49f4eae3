#include "boxlogger/core/channel_table.h"

#include <gtest/gtest.h>

#include <set>

namespace korv::boxlogger {
namespace {

class ChannelTableTest : public ::testing::Test {
protected:
    void SetUp() override { ResetChannelTable(); }
    void TearDown() override { ResetChannelTable(); }
};

TEST_F(ChannelTableTest, ResetGivesTheBuiltInRowsWithUniqueIdsAndLabels) {
    ASSERT_EQ(ChannelRows().size(), 47u);
    std::set<int> ids;
    std::set<std::string> labels;
    for (std::size_t i = 0; i < ChannelRows().size(); ++i) {
        EXPECT_EQ(ChannelRows()[i], BuiltInChannelRows()[i]);
        ids.insert(ChannelRows()[i].id);
        labels.insert(ChannelRows()[i].label);
    }
    EXPECT_EQ(ids.size(), 47u);
    EXPECT_EQ(labels.size(), 47u);
    // Command ids have no row.
    for (int id = 37; id <= 48; ++id) EXPECT_EQ(FindChannelById(id), nullptr) << id;
}

TEST_F(ChannelTableTest, RowsKeepTheirFieldsAndTheDegreeSignIsOneByte) {
    const ChannelRow* coolant = FindChannelById(1);
    ASSERT_NE(coolant, nullptr);
    EXPECT_EQ(coolant->units, std::optional<std::string>("\xB0"));
    EXPECT_EQ(coolant->min, 100.0f);
    EXPECT_EQ(coolant->colour, 0x800000u);
    const ChannelRow* barometer = FindChannelById(5);
    EXPECT_EQ(barometer->min, 0.7f);
    EXPECT_EQ(barometer->max, 1.1f);
    EXPECT_EQ(FindChannelById(6)->units, std::nullopt);
    EXPECT_EQ(FindChannelById(10)->precision, -1);
    EXPECT_EQ(FindChannelById(23)->kind, kKindTdcSensor);
    EXPECT_EQ(FindChannelById(58)->precision, 5);
    // Table order is not id order: the VXM rows sit between 18 and the switches.
    EXPECT_EQ(ChannelRows()[19].id, 25);
    EXPECT_EQ(ChannelRows()[31].id, 19);
    EXPECT_EQ(ChannelRows()[40].id, 51);
}

TEST_F(ChannelTableTest, LabelLookupsIgnoreCase) {
    ASSERT_NE(FindChannelByLabel("engine speed"), nullptr);
    EXPECT_EQ(FindChannelByLabel("ENGINE SPEED")->id, 9);
    EXPECT_EQ(GetChannelIdByLabel("park/neutral"), 22);
    EXPECT_EQ(GetChannelIdByLabel("Engine Speedx"), -1);
    EXPECT_EQ(GetChannelLabel(25), std::optional<std::string>("VXM Engine Speed"));
    EXPECT_EQ(GetChannelLabel(40), std::nullopt);
}

TEST_F(ChannelTableTest, ResolveAcceptsOlderNamesOnlyWhenNoRowHasTheText) {
    struct Case {
        const char* text;
        int id;
    };
    for (const Case& c : {Case{"RPM", 9}, Case{"rpm", 9}, Case{"Oxy Trim", 15}, Case{"acceleration enrichment", 16},
                          Case{"Knock Sum", 17}, Case{"Nothing", -1}, Case{"", -1}}) {
        EXPECT_EQ(ResolveChannelLabel(c.text), c.id) << c.text;
    }
    // A row renamed to an old name wins over the alias.
    FindChannelById(17)->label = "RPM";
    EXPECT_EQ(ResolveChannelLabel("RPM"), 17);
    // An alias to a renamed row finds nothing.
    FindChannelById(15)->label = "Trim";
    EXPECT_EQ(ResolveChannelLabel("Oxy Trim"), -1);
}

TEST_F(ChannelTableTest, ColourAttributeIgnoresUnknownIds) {
    EXPECT_EQ(GetChannelAttribute(9), 0x0000FF);
    SetChannelAttribute(9, 0x123456);
    EXPECT_EQ(GetChannelAttribute(9), 0x123456);
    SetChannelAttribute(40, 0x123456);
    EXPECT_EQ(GetChannelAttribute(40), -1);
    // Edits never reach the built-in rows, and a reset undoes them.
    EXPECT_EQ(BuiltInChannelRows()[9].colour, 0x0000FFu);
    ResetChannelTable();
    EXPECT_EQ(GetChannelAttribute(9), 0x0000FF);
}

TEST_F(ChannelTableTest, FreedTableFindsNothingUntilReset) {
    FreeChannelTable();
    EXPECT_TRUE(ChannelRows().empty());
    EXPECT_EQ(FindChannelById(9), nullptr);
    EXPECT_EQ(GetChannelLabel(9), std::nullopt);
    EXPECT_EQ(ResolveChannelLabel("RPM"), -1);
    EXPECT_EQ(GetChannelAttribute(9), -1);
    SetChannelAttribute(9, 1);
    ResetChannelTable();
    EXPECT_EQ(GetChannelAttribute(9), 0x0000FF);
}

TEST_F(ChannelTableTest, GroupsOfferTheLoggableChannelsOnly) {
    ASSERT_EQ(ChannelGroups().size(), 7u);
    EXPECT_STREQ(ChannelGroups()[5].tab, "VXM");
    EXPECT_EQ(ChannelGroups()[6].bit, 64u);
    EXPECT_EQ(ChannelGroupMask(9), 15u);  // Fuel, Air, Spark and Idle
    for (int id : {26, 36, 37, 48, 49, 52}) EXPECT_EQ(ChannelGroupMask(id), 0u) << id;
    // Every grouped channel has a row, and each tab offers something.
    for (const ChannelGroupEntry& e : ChannelGroupTable()) EXPECT_NE(FindChannelById(e.id), nullptr) << e.id;
    for (const ChannelGroup& g : ChannelGroups()) {
        int offered = 0;
        for (const ChannelGroupEntry& e : ChannelGroupTable()) offered += (e.mask & g.bit) != 0;
        EXPECT_GT(offered, 0) << g.tab;
    }
    int triggers = 0;
    for (const ChannelGroupEntry& e : ChannelGroupTable()) {
        if (e.mask & 64u) {
            EXPECT_EQ(FindChannelById(e.id)->kind, kKindTrigger);
            ++triggers;
        }
    }
    EXPECT_EQ(triggers, 6);
}

}  // namespace
}  // namespace korv::boxlogger
