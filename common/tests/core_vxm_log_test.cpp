// The minimal-header logs and the player's reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"
#include "common/core/byte_order.h"
#include "common/core/java_numbers.h"
#include "common/core/vxm_float_order.h"
#include "common/core/vxm_minimal_writer.h"
#include "common/core/vxm_player_reader.h"
#include "common/core/vxm_record_decoder.h"

namespace korv {
namespace {

using testsupport::Bytes;
using testsupport::hex;
using testsupport::minimal_header;
using testsupport::read_bytes;
using testsupport::TempFolder;
using testsupport::write_bytes;
using testsupport::operator+;

// ---------------------------------------------------------------- record decoder

// Inputs where the decoder's cases meet: a sweep across all bit patterns
// plus dense runs around the edges, NaNs, infinities and signed zeros, with
// a length that leaves a tail for the narrower paths.
std::vector<std::uint32_t> decoder_edge_inputs() {
    std::vector<std::uint32_t> inputs;
    for (std::uint64_t bits = 0; bits <= 0xFFFFFFFFull; bits += 4099)
        inputs.push_back(static_cast<std::uint32_t>(bits));
    for (float edge : {0.0f, 0.01f, 83886.08f, 21474836.48f, 21474836.0f, 1.0f}) {
        for (float sign : {1.0f, -1.0f}) {
            float v = sign * edge;
            for (int k = 0; k < 2000; ++k) v = std::nextafter(v, -sign * 1e30f);
            for (int k = 0; k < 4000; ++k, v = std::nextafter(v, sign * 1e30f))
                inputs.push_back(std::bit_cast<std::uint32_t>(v));
        }
    }
    for (std::uint32_t special : {0x7FC00000u, 0xFFC00001u, 0x7F800001u, 0x7F800000u, 0xFF800000u, 0x80000000u}) {
        inputs.push_back(special);
    }
    while (inputs.size() % 8 != 7) inputs.push_back(0x3F800000u);
    return inputs;
}

Bytes encoded(const std::vector<std::uint32_t>& inputs, FloatOrder order) {
    Bytes bytes(inputs.size() * 4);
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (order == FloatOrder::big) {
            store_u32_be(&bytes[4 * i], inputs[i]);
        } else {
            store_u32_le(&bytes[4 * i], inputs[i]);
        }
    }
    return bytes;
}

using Decode = std::function<void(const std::uint8_t*, FloatOrder, float*, std::size_t)>;

// Decodes the edge inputs in both byte orders, from every start within a
// vector's width (so each path meets unaligned data and every tail length),
// and compares with trim_decimals bit for bit.
void expect_trim_decimals_bits(const Decode& decode) {
    const std::vector<std::uint32_t> inputs = decoder_edge_inputs();
    int failures = 0;
    for (FloatOrder order : {FloatOrder::little, FloatOrder::big}) {
        const Bytes bytes = encoded(inputs, order);
        for (std::size_t start = 0; start < 9 && failures < 10; ++start) {
            std::vector<float> out(inputs.size() - start);
            decode(bytes.data() + 4 * start, order, out.data(), out.size());
            for (std::size_t i = 0; i < out.size() && failures < 10; ++i) {
                const std::uint32_t input = inputs[start + i];
                const auto expected = std::bit_cast<std::uint32_t>(trim_decimals(std::bit_cast<float>(input)));
                const auto got = std::bit_cast<std::uint32_t>(out[i]);
                if (got != expected) {
                    ADD_FAILURE() << std::hex << "input 0x" << input << " expected 0x" << expected << " got 0x" << got
                                  << (order == FloatOrder::big ? " (big" : " (little") << " endian, start " << std::dec
                                  << start << ")";
                    ++failures;
                }
            }
        }
    }
}

// The decoder the reader uses, whichever path this processor gets.
TEST(VxmRecordDecoder, MatchesTrimDecimalsBitForBit) { expect_trim_decimals_bits(decode_trimmed_floats); }

// Each path on its own, where the processor has it: the wide paths must agree
// with the scalar one bit for bit.
TEST(VxmRecordDecoder, EveryPathMatchesTrimDecimalsBitForBit) {
    const std::pair<DecodePath, const char*> paths[] = {
        {DecodePath::scalar, "scalar"}, {DecodePath::sse2, "SSE2"}, {DecodePath::avx2, "AVX2"}};
    for (const auto& [path, name] : paths) {
        SCOPED_TRACE(name);
        if (!decode_path_available(path)) {
            std::printf("the %s path is not available on this processor\n", name);
            continue;
        }
        // An init-capture: clang 14 cannot capture a structured binding itself.
        expect_trim_decimals_bits([path = path](const std::uint8_t* src, FloatOrder order, float* out, std::size_t n) {
            decode_trimmed_floats_with(path, src, order, out, n);
        });
    }
}

// ---------------------------------------------------------------- writer

TEST(VxmMinimalWriter, GoldenBytesForRpmAndThrottle) {
    TempFolder dir;
    const std::string path = dir.file("log.db1");
    VxmMinimalWriter writer;
    const std::uint8_t ids[] = {9, 7};
    ASSERT_EQ(writer.open(path, ids), std::nullopt);
    const float record[] = {3000.0f, 95.0f};
    ASSERT_EQ(writer.append_record(record), std::nullopt);
    ASSERT_EQ(writer.commit(), std::nullopt);

    Bytes expected(73, 0);
    expected[5] = 0x02;
    expected[22] = 0x09;
    expected[52] = 0x07;
    expected = expected + hex("00 00 00 00  45 3B 80 00  42 BE 00 00");
    EXPECT_EQ(read_bytes(path), expected);
}

TEST(VxmMinimalWriter, NoChannelsGivesThirteenByteHeaderAndTimeOnlyRecords) {
    TempFolder dir;
    const std::string path = dir.file("empty.db2");
    VxmMinimalWriter writer;
    ASSERT_EQ(writer.open(path, {}), std::nullopt);
    ASSERT_EQ(writer.append_record({}), std::nullopt);
    ASSERT_EQ(writer.commit(), std::nullopt);
    EXPECT_EQ(read_bytes(path), Bytes(17, 0));
}

TEST(VxmMinimalWriter, RefusesWhatTheLayoutCannotHold) {
    TempFolder dir;
    const std::string path = dir.file("big.db1");
    VxmMinimalWriter writer;
    const Bytes too_many(256, 9);
    const auto error = writer.open(path, too_many);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("256"), std::string::npos) << *error;
    EXPECT_TRUE(dir.names().empty());

    const std::uint8_t ids[] = {9, 7};
    ASSERT_EQ(writer.open(path, ids), std::nullopt);
    const float one[] = {1.0f};
    EXPECT_TRUE(writer.append_record(one));
}

TEST(VxmMinimalWriter, ReplacesTheOldFileOnlyOnCommit) {
    TempFolder dir;
    const std::string path = dir.file("log.db1");
    write_bytes(path, hex("DE AD BE EF"));

    const std::uint8_t ids[] = {9};
    const float record[] = {850.0f};
    {
        VxmMinimalWriter writer;
        ASSERT_EQ(writer.open(path, ids), std::nullopt);
        ASSERT_EQ(writer.append_record(record), std::nullopt);
        EXPECT_EQ(read_bytes(path), hex("DE AD BE EF"));
        // Abandoned without commit.
    }
    EXPECT_EQ(read_bytes(path), hex("DE AD BE EF"));
    EXPECT_EQ(dir.names(), std::vector<std::string>{"log.db1"});

    VxmMinimalWriter writer;
    ASSERT_EQ(writer.open(path, ids), std::nullopt);
    ASSERT_EQ(writer.append_record(record), std::nullopt);
    ASSERT_EQ(writer.commit(), std::nullopt);
    EXPECT_EQ(read_bytes(path).size(), 43u + 8u);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"log.db1"});
}

TEST(VxmMinimalWriter, ReportsAnUnwritableFolder) {
    TempFolder dir;
    VxmMinimalWriter writer;
    const auto error = writer.open(dir.file("missing/log.db1"), {});
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("missing"), std::string::npos) << *error;
}

// ---------------------------------------------------------------- player reader

class PlayerReader : public ::testing::Test {
protected:
    std::optional<std::string> open(const Bytes& bytes, FloatOrder order = FloatOrder::big) {
        write_bytes(path_, bytes);
        return reader_.open(path_, order);
    }
    const VxmPlayerModel& m() const { return reader_.model(); }

    TempFolder dir_;
    std::string path_ = dir_.file("log.db1");
    VxmPlayerReader reader_;
};

TEST_F(PlayerReader, ReadsTheMinimalLogOfTheWriter) {
    VxmMinimalWriter writer;
    const std::uint8_t ids[] = {9, 7};
    ASSERT_EQ(writer.open(path_, ids), std::nullopt);
    const float r0[] = {3000.0f, 95.0f};
    const float r1[] = {3100.5f, 12.349f};
    ASSERT_EQ(writer.append_record(r0), std::nullopt);
    ASSERT_EQ(writer.append_record(r1), std::nullopt);
    ASSERT_EQ(writer.commit(), std::nullopt);

    ASSERT_EQ(reader_.open(path_, FloatOrder::big), std::nullopt);
    EXPECT_EQ(m().vxm_parm_count, 2);
    EXPECT_EQ(m().vxm_type[1], 10);
    EXPECT_EQ(m().vxm_type[2], 8);
    EXPECT_EQ(m().first_record, 73);
    EXPECT_EQ(m().log_record_length, 12);
    EXPECT_EQ(m().log_records, 2);

    ASSERT_EQ(reader_.seek_record(1), std::nullopt);
    ASSERT_EQ(reader_.read_vxm_record(), std::nullopt);
    EXPECT_EQ(m().vxm_data_fields[10], 3100.5f);
    EXPECT_EQ(m().vxm_rpms, 3100);
    EXPECT_EQ(m().vxm_data_fields[8], 12.34f);
    EXPECT_EQ(m().vxm_tps, 12);

    ASSERT_EQ(reader_.seek_record(0), std::nullopt);
    ASSERT_EQ(reader_.read_vxm_record(), std::nullopt);
    EXPECT_EQ(m().vxm_rpms, 3000);
    EXPECT_EQ(m().vxm_tps, 95);
    EXPECT_EQ(m().vxm_data_fields[0], 0.0f);
}

TEST_F(PlayerReader, LittleEndianFloatsAreTrimmedToo) {
    const Bytes record = hex("00 00 00 3F") + hex("00 80 3B 45") + hex("81 95 45 41") + hex("96 43 8B BC");
    // Channels: rpm (3000.0), air temperature slot 12 (12.349), slot 13 (-0.017).
    ASSERT_EQ(open(minimal_header({9, 11, 12}) + record, FloatOrder::little), std::nullopt);
    ASSERT_EQ(reader_.read_vxm_record(), std::nullopt);
    EXPECT_EQ(m().vxm_data_fields[0], 0.5f);
    EXPECT_EQ(m().vxm_data_fields[10], 3000.0f);
    EXPECT_EQ(m().vxm_data_fields[12], 12.34f);
    EXPECT_EQ(m().vxm_data_fields[13], -0.01f);
    EXPECT_EQ(m().vxm_airtemp, 12);
    EXPECT_EQ(m().vxm_s1, 0);
}

TEST_F(PlayerReader, RecordCountIgnoresATrailingPartialRecord) {
    const Bytes two_and_a_half(30, 0);  // 2.5 records of 12 bytes
    ASSERT_EQ(open(minimal_header({9, 7}) + two_and_a_half), std::nullopt);
    EXPECT_EQ(m().log_records, 2);
}

TEST_F(PlayerReader, NoChannelsMeansFourByteRecords) {
    ASSERT_EQ(open(minimal_header({}) + hex("3F 80 00 00  40 00 00 00  00 00")), std::nullopt);
    EXPECT_EQ(m().first_record, 13);
    EXPECT_EQ(m().log_record_length, 4);
    EXPECT_EQ(m().log_records, 2);
    ASSERT_EQ(reader_.seek_record(1), std::nullopt);
    ASSERT_EQ(reader_.read_vxm_record(), std::nullopt);
    EXPECT_EQ(m().vxm_data_fields[0], 2.0f);
}

TEST_F(PlayerReader, HighestIdFillsTheLastSlot) {
    ASSERT_EQ(open(minimal_header({98}) + hex("00 00 00 00  42 28 00 00")), std::nullopt);
    EXPECT_EQ(m().vxm_type[1], 99);
    ASSERT_EQ(reader_.read_vxm_record(), std::nullopt);
    EXPECT_EQ(m().vxm_data_fields[99], 42.0f);
}

TEST_F(PlayerReader, NamedFieldsTruncateAndNarrow) {
    // ids 0 timing, 7 throttle, 17 knock, 1 coolant, 3 O2 volts, 90 road speed, 96 ticks
    const Bytes record = hex("00 00 00 00") + hex("C1 2C 00 00")  // -10.75
                         + hex("43 48 00 00")                     // 200.0
                         + hex("43 96 00 00")                     // 300.0
                         + hex("42 AB CC CD")                     // 85.9
                         + hex("3E E9 78 D5")                     // 0.456
                         + hex("42 8A 00 00")                     // 69.0
                         + hex("4E 6E 6B 28");                    // 1e9
    ASSERT_EQ(open(minimal_header({0, 7, 17, 1, 3, 90, 96}) + record), std::nullopt);
    ASSERT_EQ(reader_.read_vxm_record(), std::nullopt);
    EXPECT_EQ(m().vxm_timing, -10);
    EXPECT_EQ(m().vxm_tps, -56);
    EXPECT_EQ(m().vxm_knock, 44);
    EXPECT_EQ(m().vxm_watertemp, 85);
    EXPECT_EQ(m().vxm_o2voltage, 0.45f);
    EXPECT_EQ(m().vxm_mph, 69);
    // 1e9 * 100 saturates the int before the division.
    EXPECT_EQ(m().vxm_ticks, 21474836);
    EXPECT_EQ(m().vxm_pressure, 0.0f);
}

TEST_F(PlayerReader, NewHeaderClearsEverySlotOfThePreviousLog) {
    ASSERT_EQ(open(minimal_header({9, 48}) + hex("00 00 00 00  45 3B 80 00  41 20 00 00")), std::nullopt);
    ASSERT_EQ(reader_.read_vxm_record(), std::nullopt);
    ASSERT_EQ(m().vxm_rpms, 3000);
    ASSERT_EQ(m().vxm_mtrim, 10);

    ASSERT_EQ(open(minimal_header({7}) + hex("3F 80 00 00  42 BE 00 00")), std::nullopt);
    EXPECT_EQ(m().vxm_data_fields[10], 0.0f);
    EXPECT_EQ(m().vxm_rpms, 0);
    EXPECT_EQ(m().vxm_type[2], 0);
    ASSERT_EQ(reader_.read_vxm_record(), std::nullopt);
    EXPECT_EQ(m().vxm_tps, 95);
    EXPECT_EQ(m().vxm_rpms, 0);
    EXPECT_EQ(m().vxm_mtrim, 0);
    EXPECT_EQ(m().vxm_data_fields[49], 0.0f);
}

TEST_F(PlayerReader, ShortRecordKeepsWhatArrivedAndReportsTheRest) {
    ASSERT_EQ(open(minimal_header({9, 7}) + hex("3F 80 00 00  45 3B 80 00  42 BE 00 00  40 00 00 00  45 3B")),
              std::nullopt);
    ASSERT_EQ(m().log_records, 1);
    ASSERT_EQ(reader_.read_vxm_record(), std::nullopt);
    ASSERT_EQ(m().vxm_data_fields[10], 3000.0f);
    ASSERT_EQ(reader_.seek_record(1), std::nullopt);
    const auto error = reader_.read_vxm_record();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->rfind("6) Unable to open file: ", 0), 0u) << *error;
    EXPECT_EQ(m().vxm_data_fields[0], 2.0f);
    EXPECT_EQ(m().vxm_data_fields[10], 0.0f);
    EXPECT_EQ(m().vxm_data_fields[8], 0.0f);
}

// A pass in blocks gives each record's values as a read of that record alone
// gives them, and stops before a trailing partial record; a log longer than
// the read buffer crosses several refills, with block sizes that split it
// unevenly.
TEST_F(PlayerReader, BlocksOfRecordsMatchRecordByRecordReads) {
    const std::vector<std::uint8_t> ids = {9, 7, 3, 0, 10, 17, 98};
    constexpr int kRecords = 40000;  // 1.28 MB of records
    Bytes bytes = minimal_header(ids);
    for (int r = 0; r < kRecords; ++r) {
        for (std::size_t c = 0; c <= ids.size(); ++c) {
            const auto bits = static_cast<std::uint32_t>(r * 2654435761u + c * 40503u);
            const float v = c % 2 ? std::bit_cast<float>(bits) : static_cast<float>(bits % 900000) * 0.013f - 99.0f;
            const std::size_t at = bytes.size();
            bytes.resize(at + 4);
            store_u32_be(&bytes[at], std::bit_cast<std::uint32_t>(v));
        }
    }
    bytes.resize(bytes.size() + 9);  // part of one more record
    ASSERT_EQ(open(bytes), std::nullopt);
    ASSERT_EQ(m().log_records, kRecords);

    const std::size_t width = ids.size() + 1;
    std::vector<std::vector<float>> expected;
    for (int r = 0; r < kRecords; ++r) {
        ASSERT_EQ(reader_.read_vxm_record(), std::nullopt);
        std::vector<float> row{m().vxm_data_fields[0]};
        for (std::size_t c = 1; c < width; ++c) row.push_back(m().vxm_data_fields[m().vxm_type[c]]);
        expected.push_back(std::move(row));
    }

    for (std::size_t block_records : {1u, 777u, 65536u}) {
        SCOPED_TRACE("blocks of " + std::to_string(block_records));
        ASSERT_EQ(reader_.seek_record(0), std::nullopt);
        const VxmPlayerModel before = m();
        std::vector<float> block(block_records * width + 3);  // room left over for less than a record
        std::size_t row = 0;
        int mismatches = 0;
        for (;;) {
            const VxmRecordBlock got = reader_.read_vxm_records(block);
            ASSERT_EQ(got.error, std::nullopt);
            if (got.records == 0) break;
            ASSERT_LE(got.records, static_cast<std::int64_t>(block_records));
            for (std::int64_t r = 0; r < got.records; ++r, ++row) {
                for (std::size_t c = 0; c < width && mismatches < 5; ++c) {
                    const float value = block[static_cast<std::size_t>(r) * width + c];
                    if (std::bit_cast<std::uint32_t>(value) != std::bit_cast<std::uint32_t>(expected[row][c])) {
                        ADD_FAILURE() << "record " << row << " value " << c << ": " << value << " instead of "
                                      << expected[row][c];
                        ++mismatches;
                    }
                }
            }
        }
        EXPECT_EQ(row, static_cast<std::size_t>(kRecords));
        EXPECT_EQ(m().vxm_rpms, before.vxm_rpms);
        EXPECT_EQ(m().vxm_data_fields, before.vxm_data_fields);
    }
}

TEST_F(PlayerReader, NamedFieldsAreLeftAloneWhenNotAskedFor) {
    ASSERT_EQ(open(minimal_header({9}) + hex("00 00 00 00  45 3B 80 00  00 00 00 00  45 3C 80 00")), std::nullopt);
    ASSERT_EQ(reader_.read_vxm_record(), std::nullopt);
    ASSERT_EQ(m().vxm_rpms, 3000);
    ASSERT_EQ(reader_.read_vxm_record(NamedFields::skip), std::nullopt);
    EXPECT_EQ(m().vxm_data_fields[10], 3016.0f);
    EXPECT_EQ(m().vxm_rpms, 3000);
}

TEST_F(PlayerReader, SeeksOnlyWhereAFileCouldReach) {
    ASSERT_EQ(open(minimal_header({9}) + hex("00 00 00 00  45 3B 80 00")), std::nullopt);
    const std::int64_t last_reachable = (std::numeric_limits<std::int64_t>::max() - m().first_record) / 8;
    EXPECT_EQ(reader_.seek_record(last_reachable), std::nullopt);
    for (std::int64_t n : {last_reachable + 1, std::numeric_limits<std::int64_t>::max() / 8 + 1,
                           std::numeric_limits<std::int64_t>::max(), std::int64_t{-1}}) {
        const auto error = reader_.seek_record(n);
        ASSERT_TRUE(error) << n;
        EXPECT_EQ(error->rfind("6) Unable to open file: record ", 0), 0u) << *error;
    }
}

TEST_F(PlayerReader, BlocksNeedAnOpenLog) {
    std::vector<float> block(64);
    const VxmRecordBlock got = reader_.read_vxm_records(block);
    EXPECT_EQ(got.records, 0);
    ASSERT_TRUE(got.error);
    EXPECT_EQ(got.error->rfind("6) Unable to open file: ", 0), 0u) << *got.error;
}

TEST_F(PlayerReader, LongFormTitleIsSkippedWhole) {
    Bytes header = minimal_header({9});
    Bytes title = hex("FF 2C 01") + Bytes(300, 'x');  // 300 characters
    header.erase(header.begin() + 4);                 // the empty title's byte
    header.insert(header.begin() + 4, title.begin(), title.end());
    ASSERT_EQ(open(header + hex("00 00 00 00  45 3B 80 00")), std::nullopt);
    EXPECT_EQ(m().first_record, 13 + 30 + 302);
    EXPECT_EQ(m().log_records, 1);
    ASSERT_EQ(reader_.read_vxm_record(), std::nullopt);
    EXPECT_EQ(m().vxm_rpms, 3000);
}

void expect_refused(const VxmPlayerReader& reader, const std::optional<std::string>& error, const std::string& reason) {
    ASSERT_TRUE(error) << "accepted; expected: " << reason;
    EXPECT_EQ(error->rfind("4) Unable to open file: ", 0), 0u) << *error;
    EXPECT_NE(error->find(reason), std::string::npos) << *error;
    const VxmPlayerModel& m = reader.model();
    EXPECT_EQ(m.vxm_parm_count, 0);
    EXPECT_EQ(m.log_records, 0);
    EXPECT_TRUE(std::all_of(m.vxm_type.begin(), m.vxm_type.end(), [](int s) { return s == 0; }));
}

TEST_F(PlayerReader, RefusesHeadersBeyondItsLimits) {
    Bytes count_250 = minimal_header({});
    count_250[5] = 250;
    expect_refused(reader_, open(count_250 + Bytes(10000, 0)), "channel count 250 is over 99");

    // The count's high byte is the first descriptor byte in a minimal log.
    Bytes count_high = minimal_header({9, 7});
    count_high[8] = 1;
    expect_refused(reader_, open(count_high), "channel count 16777218 is over 99");

    Bytes count_100 = minimal_header(Bytes(100, 1));
    expect_refused(reader_, open(count_100), "channel count 100 is over 99");

    expect_refused(reader_, open(minimal_header({9, 99})), "channel 2 has id 99");
    expect_refused(reader_, open(minimal_header({200})), "id 200");

    Bytes wide_id = minimal_header({9});
    wide_id[23] = 1;  // second byte of the id
    expect_refused(reader_, open(wide_id), "id 265");

    // After a refusal there is no log to read.
    const auto error = reader_.read_vxm_record();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->rfind("6) Unable to open file: ", 0), 0u);
    EXPECT_TRUE(reader_.seek_record(0));
}

TEST_F(PlayerReader, RefusesLengthsPastTheEnd) {
    const Bytes prefix = hex("00 00 00 00");
    expect_refused(reader_, open(prefix + hex("C8") + Bytes(50, 0)), "title of 200 bytes runs past");
    expect_refused(reader_, open(prefix + hex("01")), "title of 1 byte runs past");
    expect_refused(reader_, open(prefix + hex("FF 00 F0") + Bytes(50, 0)), "title of 61440 bytes");
    expect_refused(reader_, open(prefix + hex("FF FF FF FF FF FF 7F") + Bytes(50, 0)), "title of 2147483647 bytes");
    expect_refused(reader_, open(prefix + hex("FF FF FF FF FF FF FF") + Bytes(50, 0)), "64-bit");
    expect_refused(reader_, open(prefix + hex("FF FE FF 03 61 00 62 00 63 00") + Bytes(50, 0)), "UTF-16");

    Bytes long_units = minimal_header({9});
    long_units[17] = 0xFF;  // units length byte of the first descriptor
    long_units[18] = 0xFF;
    long_units[19] = 0xFF;
    expect_refused(reader_, open(long_units + Bytes(40, 0)), "units");

    Bytes long_label = minimal_header({9});
    long_label[34] = 0x7F;  // label length byte of the first descriptor
    expect_refused(reader_, open(long_label), "label of 127 bytes runs past");
}

TEST_F(PlayerReader, RefusesEveryTruncationOfAValidHeader) {
    const Bytes header = minimal_header({9, 7});
    for (std::size_t length = 0; length < header.size(); ++length) {
        SCOPED_TRACE(length);
        expect_refused(reader_, open(Bytes(header.begin(), header.begin() + static_cast<std::ptrdiff_t>(length))), "");
    }
    ASSERT_EQ(open(header), std::nullopt);
    EXPECT_EQ(m().log_records, 0);
}

TEST_F(PlayerReader, ReportsAMissingFile) {
    const auto error = reader_.open(dir_.file("absent.db1"), FloatOrder::big);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->rfind("4) Unable to open file: ", 0), 0u);
}

TEST(VxmFloatOrder, ChosenByFileName) {
    EXPECT_EQ(choose_vxm_float_order("/home/u/run.vxg"), VxmOrderChoice::little_endian);
    EXPECT_EQ(choose_vxm_float_order("RUN.VXG"), VxmOrderChoice::little_endian);
    EXPECT_EQ(choose_vxm_float_order("/logs/a.db1"), VxmOrderChoice::big_endian);
    EXPECT_EQ(choose_vxm_float_order("/logs/a.DB2"), VxmOrderChoice::big_endian);
    EXPECT_EQ(choose_vxm_float_order("/work/csv.tmp"), VxmOrderChoice::big_endian);
    EXPECT_EQ(choose_vxm_float_order("csv.tmp"), VxmOrderChoice::big_endian);
    EXPECT_EQ(choose_vxm_float_order("/work/mycsv.tmp"), VxmOrderChoice::needs_conversion_dialog);
    EXPECT_EQ(choose_vxm_float_order("/logs/pms.db3"), VxmOrderChoice::needs_conversion_dialog);
    EXPECT_EQ(choose_vxm_float_order("/logs/a.db1.bak"), VxmOrderChoice::needs_conversion_dialog);
    EXPECT_EQ(choose_vxm_float_order("/logs/pms.db3", true), VxmOrderChoice::little_endian);
    EXPECT_EQ(choose_vxm_float_order("/logs/a.db1", true), VxmOrderChoice::big_endian);
}

}  // namespace
}  // namespace korv
