// The handheld dump: its check before the save dialog, the scaling table
// and the conversion into a log. Expected floats are bit patterns worked
// out apart from the code (single precision after each operation).
#include "player/core/handheld_dump.h"
#include "player/core/handheld_save_target.h"
#include "player/core/handheld_scaling.h"
#include "player/tests/test_files.h"

#include <gtest/gtest.h>

#include <bit>
#include <filesystem>
#include <sstream>

using namespace korv::player;
using namespace korv::player::testing_support;

namespace {

std::uint32_t bits(float v) { return std::bit_cast<std::uint32_t>(v); }
Bytes f32_be_bits(std::uint32_t b) {
    return {std::uint8_t(b >> 24), std::uint8_t(b >> 16), std::uint8_t(b >> 8), std::uint8_t(b)};
}

// ---- the scaling table --------------------------------------------------------

TEST(HandheldScaling, VectorsOfTheTransferFrontEnd) {
    EXPECT_EQ(convert_handheld_sample(HandheldLogKind::two_byte, 9, 0x1F, 0x40), 2000.0f);
    EXPECT_EQ(convert_handheld_sample(HandheldLogKind::one_byte, 1, 100, 0), 98.0f);
    // Air flow from both bytes: 1000 / 100 x 60 x 0.002205.
    EXPECT_EQ(bits(convert_handheld_sample(HandheldLogKind::two_byte, 18, 0x03, 0xE8)), 0x3FA95811u);
}

TEST(HandheldScaling, EveryRowWithAHighByteValue) {
    // A = 200 (above 127, so a byte taken as signed shows), B = 7.
    struct Row {
        int kind;
        int code;
        std::uint32_t expected;
    };
    const Row rows[] = {
        {1, 0, 0x42100000},  {1, 1, 0x43A00000},  {1, 3, 0x3F800000},  {1, 7, 0x429CDCDD},   {1, 9, 0x46480700},
        {1, 10, 0x424CCCCD}, {1, 11, 0x43A00000}, {1, 12, 0x42610000}, {1, 13, 0x42610000},  {1, 14, 0x42610000},
        {1, 15, 0x43480000}, {1, 17, 0x43480000}, {1, 18, 0x42877E65}, {1, 20, 0x42F88F5C},  {1, 90, 0x42F86666},
        {1, 91, 0x426C28F5}, {1, 92, 0x42610000}, {1, 93, 0x42610000}, {1, 94, 0x429CDCDD},  {1, 95, 0x3F800000},
        {1, 96, 0x43480000}, {1, 5, 0x00000000},  {1, 48, 0x00000000}, {1, 255, 0x00000000}, {2, 0, 0x42855555},
        {2, 1, 0xC0000000},  {2, 3, 0x40800000},  {2, 7, 0x42A00000},  {2, 9, 0x45C41000},   {2, 10, 0x424CCCCD},
        {2, 11, 0x41300000}, {2, 12, 0x437E0000}, {2, 13, 0x437E0000}, {2, 14, 0x437E0000},  {2, 15, 0x43480000},
        {2, 17, 0x43480000}, {2, 18, 0x43480000}, {2, 20, 0x00000000}, {2, 90, 0x42F86666},  {2, 91, 0x426C28F5},
        {2, 92, 0x42610000}, {2, 93, 0x42610000}, {2, 94, 0x429CDCDD}, {2, 95, 0x3F800000},  {2, 96, 0x43480000},
        {2, 5, 0x00000000},  {2, 48, 0x00000000},
    };
    for (const Row& row : rows) {
        const auto kind = row.kind == 1 ? HandheldLogKind::two_byte : HandheldLogKind::one_byte;
        EXPECT_EQ(bits(convert_handheld_sample(kind, row.code, 200, 7)), row.expected)
            << "kind " << row.kind << " code " << row.code;
    }
}

// ---- the check before the save dialog -------------------------------------------

class HandheldDump : public InScratchFolder {
protected:
    HandheldDumpCheck check(const Bytes& dump) {
        write_bytes(path("kvt1.tmp"), dump);
        return check_handheld_dump(path("kvt1.tmp"));
    }
    HandheldConversion convert(const Bytes& dump, std::ostream& console) {
        write_bytes(path("kvt1.tmp"), dump);
        return convert_handheld_dump(path("kvt1.tmp"), path("out.db2"), console);
    }
};

using Outcome = HandheldDumpCheck::Outcome;

TEST_F(HandheldDump, WidthDecidesTheKindAndOnlyOneOrTwoAreSupported) {
    const HandheldDumpCheck two = check({2, 1, 9, 9, 0x1F, 0x40});
    EXPECT_EQ(two.outcome, Outcome::ready);
    EXPECT_EQ(two.kind, HandheldLogKind::two_byte);
    EXPECT_STREQ(extension_of(two.kind), ".db1");
    EXPECT_EQ(two.whole_records, 1);

    const HandheldDumpCheck one = check({1, 2, 9, 7, 9, 0x80, 7, 0x33});
    EXPECT_EQ(one.outcome, Outcome::ready);
    EXPECT_EQ(one.kind, HandheldLogKind::one_byte);
    EXPECT_STREQ(extension_of(one.kind), ".db2");
    EXPECT_EQ(one.channels, 2);

    for (std::uint8_t width : {0, 3, 11, 255}) {
        const HandheldDumpCheck odd = check({width, 1, 9, 9, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
        EXPECT_EQ(odd.outcome, Outcome::unsupported_width) << int{width};
        EXPECT_EQ(odd.width, width);
    }
    EXPECT_NE(unsupported_width_message(3).find("unsupported value width"), std::string::npos);
    EXPECT_NE(unsupported_width_message(3).find("kvt1.tmp is kept"), std::string::npos);
}

TEST_F(HandheldDump, NothingWholeToSaveIsNoData) {
    EXPECT_EQ(check_handheld_dump(path("kvt1.tmp")).outcome, Outcome::no_data);  // missing
    std::filesystem::create_directory(path("folder"));
    EXPECT_EQ(check_handheld_dump(path("folder")).outcome, Outcome::no_data);  // not a plain file
    EXPECT_EQ(check({}).outcome, Outcome::no_data);
    EXPECT_EQ(check({1}).outcome, Outcome::no_data);                       // no count
    EXPECT_EQ(check({1, 0, 9, 0x80}).outcome, Outcome::no_data);           // no channels
    EXPECT_EQ(check({1, 53}).outcome, Outcome::no_data);                   // more than a handheld sends
    EXPECT_EQ(check({1, 0x80, 9, 0x80}).outcome, Outcome::no_data);        // a count read as -128
    EXPECT_EQ(check({1, 2, 9, 7}).outcome, Outcome::no_data);              // header only
    EXPECT_EQ(check({1, 2, 9}).outcome, Outcome::no_data);                 // ids cut short
    EXPECT_EQ(check({1, 2, 9, 7, 9, 0x80, 7}).outcome, Outcome::no_data);  // a record cut short
    EXPECT_EQ(check({2, 1, 9, 9, 0x1F}).outcome, Outcome::no_data);

    Bytes widest{1, 52};
    for (int i = 0; i < 52 * 3; ++i) widest.push_back(std::uint8_t(i));
    EXPECT_EQ(check(widest).outcome, Outcome::ready);
}

TEST_F(HandheldDump, ChannelIdBeyondTheLogFormatIsRefusedAndNoLogWritten) {
    for (std::uint8_t id : {99, 0xFF}) {
        const HandheldDumpCheck refused = check({2, 2, 9, id, 9, 0x1F, 0x40, id, 0, 1});
        EXPECT_EQ(refused.outcome, Outcome::unstorable_id) << int{id};
        EXPECT_EQ(refused.channel_id, id);
        std::ostringstream console;
        const HandheldConversion converted = convert({2, 2, 9, id, 9, 0x1F, 0x40, id, 0, 1}, console);
        EXPECT_EQ(converted.error, "Channel id " + std::to_string(id) + " cannot be stored in a log");
        EXPECT_FALSE(std::filesystem::exists(path("out.db2")));
    }
    EXPECT_EQ(check({1, 1, 98, 98, 5}).outcome, Outcome::ready);
}

// ---- the conversion ----------------------------------------------------------------

TEST_F(HandheldDump, ExampleDumpBecomesTheLogByteForByte) {
    std::ostringstream console;
    const HandheldConversion done = convert({0x01, 0x02, 0x09, 0x07, 0x09, 0x80, 0x07, 0x33}, console);
    ASSERT_FALSE(done.error) << *done.error;
    EXPECT_TRUE(done.written);
    EXPECT_EQ(done.records, 1);

    Bytes expected = minimal_header({9, 7});
    append_zeros(expected, 4);  // the time slot, 0.0
    for (std::uint32_t b : {0x457AF5C3u /* 4015.36 */, 0x41A33333u /* 20.4 */}) {
        const Bytes f = f32_be_bits(b);
        expected.insert(expected.end(), f.begin(), f.end());
    }
    EXPECT_EQ(read_bytes(path("out.db2")), expected);
    EXPECT_TRUE(console.str().empty());
    EXPECT_EQ(read_bytes(path("kvt1.tmp")).size(), 8u);  // the dump stays
}

TEST_F(HandheldDump, SamplesAreScaledByTheirOwnCodeInRecordOrder) {
    std::ostringstream console;
    // Header says 9, 7; the record holds 7 first and an unknown code 5.
    const HandheldConversion done = convert({1, 2, 9, 7, 7, 100, 5, 0xFF}, console);
    ASSERT_FALSE(done.error) << *done.error;
    Bytes expected = minimal_log({9, 7}, {{40.0f, 0.0f}});
    EXPECT_EQ(read_bytes(path("out.db2")), expected);
}

TEST_F(HandheldDump, TwoByteAirFlowIsEchoedToTheConsole) {
    std::ostringstream console;
    write_bytes(path("kvt1.tmp"), {2, 2, 18, 9, 18, 0x03, 0xE8, 9, 0x1F, 0x40});
    const HandheldConversion done = convert_handheld_dump(path("kvt1.tmp"), path("out.db1"), console);
    ASSERT_FALSE(done.error) << *done.error;
    EXPECT_EQ(console.str(), "mas: 1.3230001\n");  // the stored formats' float text of 0x3FA95811
    const Bytes log = read_bytes(path("out.db1"));
    const std::size_t first_value = 13 + 30 * 2 + 4;
    ASSERT_EQ(log.size(), first_value + 8);
    EXPECT_EQ(Bytes(log.begin() + first_value, log.begin() + first_value + 4), f32_be_bits(0x3FA95811u));
    EXPECT_EQ(Bytes(log.end() - 4, log.end()), f32_be_bits(0x44FA0000u));  // 2000.0
}

TEST_F(HandheldDump, AStrayByteIsIgnoredAndACutRecordIsReportedAfterTheWholeOnes) {
    std::ostringstream console;
    const HandheldConversion stray = convert({1, 1, 9, 9, 1, 9, 2, 0x77}, console);
    EXPECT_FALSE(stray.error);
    EXPECT_EQ(stray.records, 2);

    const HandheldConversion cut = convert({1, 2, 9, 7, 9, 1, 7, 1, 9, 2, 7}, console);
    ASSERT_TRUE(cut.error);
    EXPECT_NE(cut.error->find("ends inside a record"), std::string::npos) << *cut.error;
    EXPECT_TRUE(cut.written);
    EXPECT_EQ(cut.records, 1);
    EXPECT_EQ(read_bytes(path("out.db2")), minimal_log({9, 7}, {{31.37f, 0.4f}}));
}

TEST_F(HandheldDump, AnUnwritableLogLeavesTheEarlierFileAlone) {
    std::ostringstream console;
    write_bytes(path("kvt1.tmp"), {1, 1, 9, 9, 1});
    const HandheldConversion missing_folder =
        convert_handheld_dump(path("kvt1.tmp"), path("no/such/folder/out.db2"), console);
    ASSERT_TRUE(missing_folder.error);
    EXPECT_FALSE(missing_folder.written);

    write_bytes(path("kvt1.tmp"), {7, 1, 9, 9, 1});  // changed since the check
    write_bytes(path("old.db2"), {1, 2, 3});
    const HandheldConversion changed = convert_handheld_dump(path("kvt1.tmp"), path("old.db2"), console);
    ASSERT_TRUE(changed.error);
    EXPECT_FALSE(changed.written);
    EXPECT_EQ(read_bytes(path("old.db2")), (Bytes{1, 2, 3}));
}

// ---- the name saved under --------------------------------------------------------------

TEST(HandheldSaveTarget, ExtensionIsCheckedCaseBlindElseTheTempNameInTheSameFolder) {
    const auto kept = handheld_save_target(HandheldLogKind::two_byte, std::string("/logs/Run.DB1"));
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->path, "/logs/Run.DB1");
    EXPECT_FALSE(kept->renamed_message);

    const auto renamed = handheld_save_target(HandheldLogKind::two_byte, std::string("/logs/run.db2"));
    ASSERT_TRUE(renamed);
    EXPECT_EQ(renamed->path, "/logs/temp.db1");
    EXPECT_EQ(renamed->renamed_message, "File must end with .db1!  Renamed to temp.db1!");

    const auto one_byte = handheld_save_target(HandheldLogKind::one_byte, std::string("/logs/run"));
    ASSERT_TRUE(one_byte);
    EXPECT_EQ(one_byte->path, "/logs/temp.db2");
    EXPECT_EQ(one_byte->renamed_message, "File must end with .db2!  Renamed to temp.db2!");

    EXPECT_FALSE(handheld_save_target(HandheldLogKind::one_byte, std::nullopt));
    EXPECT_FALSE(handheld_save_target(HandheldLogKind::one_byte, std::string()));
    EXPECT_FALSE(handheld_save_target(HandheldLogKind::one_byte, std::string("/logs/")));

    EXPECT_EQ(handheld_replace_question(HandheldLogKind::two_byte), "temp.db1 already exists. Replace it?");
    EXPECT_EQ(handheld_replace_question(HandheldLogKind::one_byte), "temp.db2 already exists. Replace it?");
}

}  // namespace
