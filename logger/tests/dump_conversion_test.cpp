// Sample dump -> minimal-header log, byte for byte, and read back the way
// the player reads it.
#include "logger/core/dump_conversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <map>

#include "common/core/vxm_player_reader.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

namespace korv::logger {
namespace {

using testsupport::append_be32;
using testsupport::minimal_header;
using testsupport::read_bytes;
using testsupport::TempFolder;
using testsupport::write_bytes;

// Expected single-precision bits computed apart (python3, float32 rounding
// after every operation) for value bytes 0, 128 and 255. Type 1 uses the
// same byte as first and second value byte.
const std::map<int, std::array<std::uint32_t, 3>> kObdExpected = {
    {0, {0xC2800000u, 0x00000000u, 0x427E0000u}},  {1, {0xC2200000u, 0x433E6666u, 0x43D18000u}},
    {3, {0x00000000u, 0x3F23D70Au, 0x3FA33333u}},  {7, {0x00000000u, 0x4248C8CAu, 0x42C80000u}},
    {9, {0x00000000u, 0x46008000u, 0x467FFF00u}},  {10, {0x00000000u, 0x4203126Fu, 0x42828F5Du}},
    {11, {0xC2200000u, 0x433E6666u, 0x43D18000u}}, {12, {0xC2C80000u, 0x00000000u, 0x42C67000u}},
    {13, {0xC2C80000u, 0x00000000u, 0x42C67000u}}, {14, {0xC2C80000u, 0x00000000u, 0x42C67000u}},
    {17, {0x00000000u, 0x43000000u, 0x437F0000u}}, {18, {0x00000000u, 0x4587FA8Cu, 0x46077292u}},
    {20, {0x00000000u, 0x429F1412u, 0x431E74FEu}}, {48, {0x00000000u, 0x00000000u, 0x00000000u}},
    {99, {0x00000000u, 0x00000000u, 0x00000000u}},
};
const std::map<int, std::array<std::uint32_t, 3>> kDsmExpected = {
    {0, {0xC1200000u, 0x42EC0000u, 0x43750000u}},  {1, {0x43460000u, 0x428C0000u, 0xC2640000u}},
    {3, {0x00000000u, 0x4023D70Au, 0x40A33333u}},  {7, {0x00000000u, 0x4248C8C9u, 0x42C80000u}},
    {9, {0x00000000u, 0x457AF5C3u, 0x45F9FACDu}},  {10, {0x00000000u, 0x4203126Fu, 0x42828F5Du}},
    {11, {0x43530000u, 0x42A60000u, 0xC2300000u}}, {12, {0x00000000u, 0x43228F5Cu, 0x43A1ECCDu}},
    {13, {0x00000000u, 0x43228F5Cu, 0x43A1ECCDu}}, {14, {0x00000000u, 0x43228F5Cu, 0x43A1ECCDu}},
    {17, {0x00000000u, 0x43000000u, 0x437F0000u}}, {18, {0x00000000u, 0x4448C8B4u, 0x44C7FFEBu}},
    {20, {0x00000000u, 0x00000000u, 0x00000000u}}, {48, {0x00000000u, 0x43228F5Cu, 0x43A1ECCDu}},
    {99, {0x00000000u, 0x00000000u, 0x00000000u}},
};
constexpr std::array<std::uint8_t, 3> kBytes = {0, 128, 255};

TEST(LoggerSampleScaling, EveryObdCodeAtTheEndsAndMiddleOfAByte) {
    for (const auto& [code, expected] : kObdExpected) {
        for (std::size_t i = 0; i < kBytes.size(); ++i) {
            EXPECT_EQ(std::bit_cast<std::uint32_t>(convert_sample(LogType::obd, code, kBytes[i], kBytes[i])),
                      expected[i])
                << "code " << code << " byte " << int(kBytes[i]);
        }
    }
}

TEST(LoggerSampleScaling, EveryDsmCodeAtTheEndsAndMiddleOfAByte) {
    for (const auto& [code, expected] : kDsmExpected) {
        for (std::size_t i = 0; i < kBytes.size(); ++i) {
            // The second byte must not matter to a one-byte type.
            EXPECT_EQ(std::bit_cast<std::uint32_t>(convert_sample(LogType::dsm, code, kBytes[i], 0x5A)), expected[i])
                << "code " << code << " byte " << int(kBytes[i]);
        }
    }
}

TEST(LoggerSampleScaling, ObdOneByteItemsReadTheSecondByteAndWordsBoth) {
    EXPECT_EQ(convert_sample(LogType::obd, 17, 7, 200), 7.0f);        // knock: first byte
    EXPECT_EQ(convert_sample(LogType::obd, 3, 200, 0), 0.0f);         // O2: second byte
    EXPECT_EQ(convert_sample(LogType::obd, 9, 0x1F, 0x40), 2000.0f);  // rpm: the 16-bit word
    EXPECT_EQ(convert_sample(LogType::pms, 9, 0x1F, 0x40), 0.0f);
}

// A column's scaler chooses its conversion once, from the column's code; it
// must give convert_sample's bits for every code, every value byte it reads
// and whatever sits in the byte it does not read.
TEST(LoggerSampleScaling, ColumnScalerGivesConvertSamplesBitsForEveryByte) {
    const struct {
        LogType type;
        std::vector<int> other_bytes;  // tried in the byte the type leaves unread
    } cases[] = {
        {LogType::obd, {}},  // two value bytes: every pair is tried
        {LogType::dsm, {0, 0x5A, 255}},
        {LogType::pms, {0, 0x5A, 255}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.type));
        for (int code = 0; code < 256; ++code) {
            const ColumnScaler scale(c.type, static_cast<std::uint8_t>(code));
            std::vector<int> seconds = c.other_bytes;
            if (seconds.empty())
                for (int b = 0; b < 256; ++b) seconds.push_back(b);
            int mismatches = 0;
            for (int a = 0; a < 256; ++a) {
                for (int b : seconds) {
                    const auto code8 = static_cast<std::uint8_t>(code);
                    const auto a8 = static_cast<std::uint8_t>(a), b8 = static_cast<std::uint8_t>(b);
                    const float direct = convert_sample(c.type, code, a8, b8);
                    if (std::bit_cast<std::uint32_t>(scale(code8, a8, b8)) != std::bit_cast<std::uint32_t>(direct) &&
                        mismatches++ == 0) {
                        ADD_FAILURE() << "code " << code << " bytes " << a << ", " << b;
                    }
                }
            }
        }
    }
}

TEST(LoggerSampleScaling, ColumnScalerTakesASampleWithAnotherCodeAsItsOwnCodeSays) {
    const ColumnScaler rpm(LogType::obd, 9);
    EXPECT_EQ(rpm(9, 0x1F, 0x40), 2000.0f);
    EXPECT_EQ(rpm(3, 0x1F, 200), convert_sample(LogType::obd, 3, 0, 200));  // O2 volts, from the second byte
    EXPECT_EQ(rpm(17, 0x1F, 0x40), 31.0f);                                  // knock, from the first
    const ColumnScaler knock(LogType::dsm, 17);
    EXPECT_EQ(knock(9, 64, 0), convert_sample(LogType::dsm, 9, 64, 0));
}

TEST(LoggerSampleScaling, BuildIntTakesSignedBytesAsUnsigned) {
    EXPECT_EQ(build_int(-1, -1), 65535);
    EXPECT_EQ(build_int(0x1F, 0x40), 8000);
    EXPECT_EQ(build_int(-128, 0), 32768);
}

class LoggerDumpConversion : public ::testing::Test {
protected:
    std::string dump() const { return folder.file("kvt.tmp"); }
    std::string log() const { return folder.file("out.db1"); }
    TempFolder folder;
};

TEST_F(LoggerDumpConversion, ObdGoldenRecord) {
    write_bytes(dump(), {0x02, 0x00, 0x00, 0x00, 0x09, 0x03, 0x09, 0x1F, 0x40, 0x03, 0x00, 0x66});
    const DumpConversion done = convert_dump(LogType::obd, dump(), log());
    ASSERT_FALSE(done.error) << *done.error;
    EXPECT_TRUE(done.written);
    EXPECT_EQ(done.records, 1u);

    std::vector<std::uint8_t> expected = minimal_header({0x09, 0x03});
    append_be32(expected, 0x00000000u);  // time slot
    append_be32(expected, 0x44FA0000u);  // 2000.0
    append_be32(expected, 0x3F028F5Cu);  // 102 x 0.005
    EXPECT_EQ(read_bytes(log()), expected);

    VxmPlayerReader reader;
    ASSERT_FALSE(reader.open(log(), FloatOrder::big));
    ASSERT_EQ(reader.model().vxm_parm_count, 2);
    ASSERT_EQ(reader.model().log_records, 1);
    ASSERT_FALSE(reader.seek_record(0));
    ASSERT_FALSE(reader.read_vxm_record());
    EXPECT_EQ(reader.model().vxm_data_fields[0], 0.0f);
    EXPECT_EQ(reader.model().vxm_data_fields[player_slot_of_id(9)], 2000.0f);
    EXPECT_EQ(reader.model().vxm_data_fields[player_slot_of_id(3)], 0.51f);
}

TEST_F(LoggerDumpConversion, DsmGoldenRecord) {
    write_bytes(dump(), {0x02, 0x00, 0x00, 0x00, 0x09, 0x03, 0x09, 0x40, 0x03, 0x33});
    const DumpConversion done = convert_dump(LogType::dsm, dump(), folder.file("out.db2"));
    ASSERT_FALSE(done.error) << *done.error;

    std::vector<std::uint8_t> expected = minimal_header({0x09, 0x03});
    append_be32(expected, 0x00000000u);
    append_be32(expected, 0x44FAF5C3u);  // 64 x 31.37
    append_be32(expected, 0x3F828F5Cu);  // 51 x 0.02
    EXPECT_EQ(read_bytes(folder.file("out.db2")), expected);

    VxmPlayerReader reader;
    ASSERT_FALSE(reader.open(folder.file("out.db2"), FloatOrder::big));
    ASSERT_FALSE(reader.seek_record(0));
    ASSERT_FALSE(reader.read_vxm_record());
    EXPECT_EQ(reader.model().vxm_data_fields[player_slot_of_id(9)], 2007.68f);
    EXPECT_EQ(reader.model().vxm_data_fields[player_slot_of_id(3)], 1.02f);
}

TEST_F(LoggerDumpConversion, DsmHighTrimIsSavedLikeTheOtherTrims) {
    write_bytes(dump(), {0x01, 0x00, 0x00, 0x00, 48, 48, 100});
    ASSERT_FALSE(convert_dump(LogType::dsm, dump(), log()).error);
    std::vector<std::uint8_t> expected = minimal_header({48});
    append_be32(expected, 0);
    append_be32(expected, std::bit_cast<std::uint32_t>(100.0f * 1.27f));
    EXPECT_EQ(read_bytes(log()), expected);
}

TEST_F(LoggerDumpConversion, RecordsAreConvertedByTheirOwnCodeBytes) {
    // The 32-bit count's upper bytes are not read; the header names 9 but
    // the sample says 17 (knock, first value byte).
    write_bytes(dump(), {0x01, 0x7F, 0x7F, 0x7F, 0x09, 17, 5, 0});
    ASSERT_FALSE(convert_dump(LogType::obd, dump(), log()).error);
    std::vector<std::uint8_t> expected = minimal_header({9});
    append_be32(expected, 0);
    append_be32(expected, 0x40A00000u);  // 5.0
    EXPECT_EQ(read_bytes(log()), expected);
}

TEST_F(LoggerDumpConversion, EmptyDumpWritesNoFile) {
    write_bytes(dump(), {});
    const DumpConversion done = convert_dump(LogType::obd, dump(), log());
    EXPECT_TRUE(done.empty_dump);
    EXPECT_FALSE(done.written);
    EXPECT_FALSE(done.error);
    EXPECT_FALSE(std::filesystem::exists(log()));
}

TEST_F(LoggerDumpConversion, HeaderOnlyDumpWritesAHeaderAndNoRecords) {
    write_bytes(dump(), {0x02, 0, 0, 0, 0x09, 0x03});
    const DumpConversion done = convert_dump(LogType::obd, dump(), log());
    EXPECT_FALSE(done.error);
    EXPECT_EQ(done.records, 0u);
    EXPECT_EQ(read_bytes(log()), minimal_header({0x09, 0x03}));
}

// A long run is read and written many records at a time; every record must
// still be its own samples scaled by their own codes, past each batch's edge.
TEST_F(LoggerDumpConversion, LongRunsAreEverySampleScaledInOrder) {
    const std::vector<std::uint8_t> codes = {9, 0, 7, 3, 12, 13, 18, 1, 11, 20};
    constexpr int kRecords = 30000;  // more than a megabyte of log
    for (const LogType type : {LogType::obd, LogType::dsm}) {
        SCOPED_TRACE(static_cast<int>(type));
        const bool two_bytes = type == LogType::obd;
        std::vector<std::uint8_t> bytes(4 + codes.size(), 0);
        bytes[0] = static_cast<std::uint8_t>(codes.size());
        std::copy(codes.begin(), codes.end(), bytes.begin() + 4);
        std::vector<std::uint8_t> expected = minimal_header(codes);
        for (int r = 0; r < kRecords; ++r) {
            append_be32(expected, 0);  // time slot
            for (std::size_t c = 0; c < codes.size(); ++c) {
                // Now and then a sample carries another channel's code.
                const int step = r * 31 + static_cast<int>(c) * 7;
                const auto code = step % 97 == 0 ? codes[(c + 3) % codes.size()] : codes[c];
                const auto a = static_cast<std::uint8_t>(step), b = static_cast<std::uint8_t>(step >> 5);
                bytes.insert(bytes.end(), {code, a});
                if (two_bytes) bytes.push_back(b);
                append_be32(expected, std::bit_cast<std::uint32_t>(convert_sample(type, code, a, two_bytes ? b : 0)));
            }
        }
        bytes.insert(bytes.end(), {9, 1});  // a record cut short
        write_bytes(dump(), bytes);

        const DumpConversion done = convert_dump(type, dump(), log());
        ASSERT_TRUE(done.error);
        EXPECT_NE(done.error->find("the " + std::to_string(kRecords) + " whole records"), std::string::npos);
        EXPECT_EQ(done.records, static_cast<std::size_t>(kRecords));
        EXPECT_TRUE(read_bytes(log()) == expected);
    }
}

TEST_F(LoggerDumpConversion, OneStrayByteAfterTheLastRecordIsIgnored) {
    write_bytes(dump(), {0x01, 0, 0, 0, 0x09, 0x09, 0x40, 0x09});
    const DumpConversion done = convert_dump(LogType::dsm, dump(), log());
    EXPECT_FALSE(done.error);
    EXPECT_EQ(done.records, 1u);
}

TEST_F(LoggerDumpConversion, CutShortRecordKeepsTheWholeRecordsAndReportsIt) {
    // Two whole OBD-II records of two channels, then a record missing 2 bytes.
    std::vector<std::uint8_t> bytes = {0x02, 0, 0, 0, 0x09, 0x03};
    for (int i = 0; i < 2; ++i) bytes.insert(bytes.end(), {0x09, 0x1F, 0x40, 0x03, 0x00, 0x66});
    bytes.insert(bytes.end(), {0x09, 0x1F, 0x40, 0x03});
    write_bytes(dump(), bytes);

    const DumpConversion done = convert_dump(LogType::obd, dump(), log());
    ASSERT_TRUE(done.error);
    EXPECT_NE(done.error->find("ends inside a record"), std::string::npos) << *done.error;
    EXPECT_TRUE(done.written);
    EXPECT_EQ(done.records, 2u);
    EXPECT_EQ(read_bytes(log()).size(), minimal_header({9, 3}).size() + 2 * 12);
}

TEST_F(LoggerDumpConversion, DumpCutInsideItsChannelListLeavesAnEarlierLogAlone) {
    write_bytes(log(), {'o', 'l', 'd'});
    write_bytes(dump(), {0x05, 0, 0, 0, 0x09});
    const DumpConversion done = convert_dump(LogType::obd, dump(), log());
    EXPECT_TRUE(done.error);
    EXPECT_FALSE(done.written);
    EXPECT_EQ(read_bytes(log()), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);
}

TEST_F(LoggerDumpConversion, SamplesWithoutChannelsEndTheSaveInsteadOfLoopingForever) {
    write_bytes(dump(), {0x00, 0, 0, 0, 0x09, 0x40, 0x09, 0x40});
    const DumpConversion done = convert_dump(LogType::dsm, dump(), log());
    EXPECT_TRUE(done.error);
    EXPECT_FALSE(std::filesystem::exists(log()));
}

TEST_F(LoggerDumpConversion, PmsLogsHoldOnlyZeros) {
    write_bytes(dump(), {0x01, 0, 0, 0, 0x09, 0x09, 0x40});
    ASSERT_FALSE(convert_dump(LogType::pms, dump(), folder.file("out.db3")).error);
    std::vector<std::uint8_t> expected = minimal_header({9});
    append_be32(expected, 0);
    append_be32(expected, 0);
    EXPECT_EQ(read_bytes(folder.file("out.db3")), expected);
}

TEST_F(LoggerDumpConversion, MissingDumpIsAnError) {
    const DumpConversion done = convert_dump(LogType::obd, folder.file("none.tmp"), log());
    EXPECT_TRUE(done.error);
    EXPECT_FALSE(done.written);
}

}  // namespace
}  // namespace korv::logger
