// The pages of the DRB II and tuning sheets, and what their readings and
// typed texts mean.
#include "boxlogger/core/channel_table.h"
#include "boxlogger/core/drb_pages.h"
#include "boxlogger/core/ecu_text.h"
#include "boxlogger/core/tuning_write.h"

#include <gtest/gtest.h>

#include <set>

namespace korv::boxlogger {
namespace {

TEST(DrbPages, NinePagesWithTheirRowsInOrder) {
    struct Expected {
        const char* caption;
        int dialog;
        std::vector<int> ids;
    } expected[] = {
        {"ECU Info", 131, {50, 49, 52}},
        {"ECU Errors", 106, {51, 52}},
        {"Engine Sensors", 132, {8, 5, 7, 10, 1, 11, 4, 6, 9, 0}},
        {"Engine I/O", 132, {19, 20, 21, 22, 23, 24}},
        {"Fuel Control", 132, {8, 4, 7, 1, 9, 5, 10, 3}},
        {"Timing Control", 132, {8, 21, 7, 1, 22, 5, 0, 9}},
        {"RPM Control", 132, {20, 22, 0, 21, 24, 1, 9, 6}},
        {"A/C Control", 132, {22, 6, 19, 7, 24, 9}},
        {"Actuators", 133, {}},
    };
    ASSERT_EQ(DrbPages().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const DrbPageSpec& page = DrbPages()[i];
        EXPECT_STREQ(page.caption, expected[i].caption);
        EXPECT_EQ(page.dialog, expected[i].dialog) << page.caption;
        EXPECT_EQ(IdsOf(page.ids), expected[i].ids) << page.caption;
    }
}

TEST(DrbPages, EveryLiveRowIsALabelledChannelAndFitsTheTwelveRows) {
    ResetChannelTable();
    std::vector<DrbPageSpec> pages(DrbPages().begin(), DrbPages().end());
    pages.insert(pages.end(), VxmVarsPages().begin(), VxmVarsPages().end());
    for (const DrbPageSpec& page : pages) {
        const std::vector<int> ids = IdsOf(page.ids);
        EXPECT_LE(ids.size(), static_cast<std::size_t>(kMaxGeneralIoRows)) << page.caption;
        EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size()) << page.caption << " repeats a row";
        for (int id : ids) EXPECT_TRUE(GetChannelLabel(id).has_value()) << page.caption << " id " << id;
    }
}

TEST(DrbPages, TuningPagesHoldTheBoxVariables) {
    ASSERT_EQ(VxmVarsPages().size(), 2u);
    EXPECT_STREQ(VxmVarsPages()[0].caption, "VXM Vars 1");
    EXPECT_STREQ(VxmVarsPages()[1].caption, "VXM Vars 2");
    EXPECT_EQ(IdsOf(VxmVarsPages()[0].ids), (std::vector<int>{26, 27, 28, 29, 30}));
    EXPECT_EQ(IdsOf(VxmVarsPages()[1].ids), (std::vector<int>{31, 32, 33, 34, 35, 36}));
    EXPECT_EQ(IdsOf(VxmVarsPages()[1].ids).size(), static_cast<std::size_t>(kMaxTuningRows));
}

TEST(DrbPages, IdListStopsAtTheEndMarkOrTheLimit) {
    const int ids[] = {1, 2, 3, kChannelListEnd, 4};
    EXPECT_EQ(IdsOf(ids), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(IdsOf(ids, 2), (std::vector<int>{1, 2}));
    EXPECT_TRUE(IdsOf(nullptr).empty());
}

TEST(DrbPages, ElevenActuatorsSixInjectorsEachRefusalByKind) {
    ASSERT_EQ(Actuators().size(), 11u);
    std::set<int> buttons, ids;
    int injectors = 0;
    for (const ActuatorSpec& a : Actuators()) {
        buttons.insert(a.button);
        ids.insert(a.channel_id);
        if (a.injector) {
            ++injectors;
            EXPECT_STREQ(a.refusal, "Could not turn off injector.  Perhaps the car is in motion.") << a.text;
        }
    }
    EXPECT_EQ(injectors, 6);
    EXPECT_EQ(buttons, (std::set<int>{1041, 1042, 1043, 1044, 1045, 1046, 1047, 1048, 1049, 1050, 1051}));
    EXPECT_EQ(ids, (std::set<int>{38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48}));
    for (const ActuatorSpec& a : Actuators()) {
        if (a.button == 1047) {
            EXPECT_EQ(a.channel_id, 42);
            EXPECT_STREQ(a.notice, "Fuel Pump Control Relay On");
            EXPECT_STREQ(a.refusal, "Could not turn on the relay.  Perhaps the engine is running.");
        }
        if (a.button == kDisable5Button) {
            EXPECT_EQ(a.channel_id, 47);
        }
        if (a.button == kDisable6Button) {
            EXPECT_EQ(a.channel_id, 48);
        }
    }
}

TEST(DrbPages, ModuleIdTextIsFourHexDigitsOfModuleThenEcu) {
    EXPECT_EQ(ModuleIdText(0x54, 0x20), "5420");
    EXPECT_EQ(ModuleIdText(0xE0, 0xC9), "E0C9");
    EXPECT_EQ(ModuleIdText(0, 7), "0007");
}

TEST(DrbPages, FaultLinesKeepTheRestAfterTheLastLineFeed) {
    EXPECT_EQ(FaultLines(""), (std::vector<std::string>{""}));
    EXPECT_EQ(FaultLines(FormatFaultCodes(0x0081)), (std::vector<std::string>{"11 Oxygen Sensor", "23 TDC Sensor"}));
    EXPECT_EQ(FaultLines("a\n"), (std::vector<std::string>{"a", ""}));
}

TEST(DrbPages, FourCylinderEnginesAreOneEightToTwoLitres) {
    struct Case {
        std::uint8_t code;
        bool four;
    } cases[] = {{0x18, true}, {0x19, true},  {0x20, true},  {0x23, true}, {0xC8, true},
                 {0xC9, true}, {0x4E, false}, {0x51, false}, {0x00, false}};
    for (const Case& c : cases)
        EXPECT_EQ(HasFourCylinders(FormatEngineCode(c.code)), c.four) << FormatEngineCode(c.code);
    EXPECT_FALSE(HasFourCylinders("2.05 Test"));
    EXPECT_FALSE(HasFourCylinders("1.79 Test"));
}

TEST(DrbPages, LooksLikeANumber) {
    struct Case {
        const char* text;
        bool number;
    } cases[] = {{"3", true},    {" -.5", true}, {"+3", true},  {"  12abc", true}, {".5", true},
                 {"abc", false}, {"", false},    {"-", false},  {".", false},      {".x", false},
                 {"+-3", false}, {"\t3", false}, {"- 3", false}};
    for (const Case& c : cases) EXPECT_EQ(LooksLikeNumber(c.text), c.number) << '"' << c.text << '"';
}

// Rows 0, 2 and 4 hold letters, rows 1 and 3 numbers: what a page clears
// after each possible outcome of its sends.
TEST(TuningWrites, LettersAreClearedUpToTheFirstFailedSend) {
    TuningPlan plan;
    plan.writes = {{1, 0x5A, 2}, {3, 0x5C, 7}};
    plan.not_numbers = {0, 2, 4};
    struct Case {
        std::size_t sent;
        std::vector<int> cleared;
    } cases[] = {{0, {0}}, {1, {0, 1, 2}}, {2, {0, 1, 2, 3, 4}}};
    for (const Case& c : cases) EXPECT_EQ(RowsToClear(plan, c.sent), c.cleared) << c.sent << " sent";

    TuningPlan letters_only;
    letters_only.not_numbers = {2, 5};
    EXPECT_EQ(RowsToClear(letters_only, 0), (std::vector<int>{2, 5}));
}

}  // namespace
}  // namespace korv::boxlogger
