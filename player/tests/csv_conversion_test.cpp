// Text logs into csv.tmp: header search, the column map, row checks and the
// exact bytes written, also under a German locale.
#include "player/core/csv_columns.h"
#include "player/core/csv_conversion.h"
#include "player/core/csv_preview.h"
#include "player/tests/test_files.h"

#include <gtest/gtest.h>

#include <clocale>

#include "common/core/field_splitter.h"
#include "common/core/line_reader.h"
#include "common/core/number_text.h"

using namespace korv::player;
using namespace korv::player::testing_support;

namespace {

// Items of the column controls, by their list index.
constexpr int kColumn = 0, kNotUsed = 1, kRpms = 2, kTps = 5, kCoolantTemp = 8, kBoost = 10, kTime = 11;

const std::string kExport =
    "Calderis Datalogger\r\n"
    "\r\n"
    "Time (secs), Engine Speed (RPM), Throttle Position (%), Coolant Temp (F)\r\n"
    "0.00, 850.00, 0.00, 180.00\r\n"
    "0.25, 900.00, 12.50, 181.00\r\n";

// What csv.tmp must hold for kExport with Time, Rpms, Tps and Coolant Temp chosen.
Bytes expected_export_log() { return minimal_log({9, 7, 1}, {{850.0f, 0.0f, 180.0f}, {900.0f, 12.5f, 181.0f}}); }

class CsvConversion : public InScratchFolder {
protected:
    CsvConversionResult convert(const std::string& text, std::vector<int> items, CsvHeaderScan* scan_out = nullptr) {
        write_text(path("log.csv"), text);
        CsvLogConverter converter;
        EXPECT_FALSE(converter.open(path("log.csv")));
        CsvHeaderScan scan;
        EXPECT_FALSE(converter.scan_header(scan));
        if (scan_out) *scan_out = scan;
        return converter.convert(items, path("csv.tmp"));
    }
};

}  // namespace

TEST(CsvColumns, TheMapWritesTheseChannelIds) {
    EXPECT_EQ(csv_item_text(kColumn, 3), "Column 3");
    EXPECT_EQ(csv_item_text(kCoolantTemp, 3), "Coolant Temp");
    const std::int32_t ids[] = {-2, -1, 9, 17, 3, 7, 0, 1, 1, 10, 98, 99};
    for (int item = 0; item < kCsvItemCount; ++item) EXPECT_EQ(csv_channel_id(item), ids[item]) << item;
    EXPECT_FALSE(csv_column_kept(kColumn));
    EXPECT_FALSE(csv_column_kept(kNotUsed));
    EXPECT_TRUE(csv_column_kept(kCoolantTemp));
    EXPECT_FALSE(csv_column_kept(kBoost));
    EXPECT_FALSE(csv_column_kept(kTime));
}

TEST_F(CsvConversion, ACaptureExportBecomesExactlyTheseBytes) {
    CsvHeaderScan scan;
    const CsvConversionResult result = convert(kExport, {kTime, kRpms, kTps, kCoolantTemp}, &scan);
    EXPECT_EQ(scan.column_count, 4u);
    EXPECT_EQ(scan.lines_read,
              "Calderis Datalogger\n\nTime (secs), Engine Speed (RPM), Throttle Position (%), Coolant Temp (F)\n");
    ASSERT_EQ(result.outcome, CsvOutcome::converted) << result.error;
    EXPECT_EQ(result.records, 2);
    EXPECT_EQ(result.bad_rows, 0);
    EXPECT_EQ(read_bytes(path("csv.tmp")), expected_export_log());
}

TEST_F(CsvConversion, AGermanLocaleChangesNoByte) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "the de_DE.UTF-8 locale is not installed";
    const CsvConversionResult result = convert(kExport, {kTime, kRpms, kTps, kCoolantTemp});
    std::setlocale(LC_ALL, previous.c_str());
    ASSERT_EQ(result.outcome, CsvOutcome::converted);
    EXPECT_EQ(read_bytes(path("csv.tmp")), expected_export_log());
}

TEST_F(CsvConversion, BadRowsAreSkippedAndCounted) {
    const CsvConversionResult result = convert(
        "rpm,tps,note\n"
        "1000,10,x\n"
        "abc,20,x\n"     // not a number
        "3000\n"         // a kept cell missing
        "nan,40,x\n"     // no NaN in a log
        "\n"             // blank: passed over, not counted
        "5000 , 50 ,\n"  // blanks around numbers are fine
        "6000,60",       // last line without a line break
        {kRpms, kTps, kNotUsed});
    ASSERT_EQ(result.outcome, CsvOutcome::converted);
    EXPECT_EQ(result.records, 3);
    EXPECT_EQ(result.bad_rows, 3);
    EXPECT_EQ(read_bytes(path("csv.tmp")), minimal_log({9, 7}, {{1000, 10}, {5000, 50}, {6000, 60}}));
}

TEST_F(CsvConversion, EmptyFieldsDoNotCountAsColumns) {
    CsvHeaderScan scan;
    const CsvConversionResult result = convert("a,,b,c\n1,,3,4\n5,6\n", {kRpms, kTps, kNotUsed}, &scan);
    EXPECT_EQ(scan.column_count, 3u);
    ASSERT_EQ(result.outcome, CsvOutcome::converted);
    EXPECT_EQ(read_bytes(path("csv.tmp")), minimal_log({9, 7}, {{1, 3}, {5, 6}}));
}

TEST_F(CsvConversion, OnlyUnplayableQuantitiesGiveALogWithoutChannels) {
    const CsvConversionResult result = convert("boost,time\r1.5,0\r2.5,1\r", {kBoost, kTime});
    ASSERT_EQ(result.outcome, CsvOutcome::converted);
    EXPECT_EQ(result.records, 2);
    Bytes expected = minimal_header({});
    append_zeros(expected, 8);
    EXPECT_EQ(read_bytes(path("csv.tmp")), expected);
}

TEST_F(CsvConversion, NoQuantityChosenWritesNothing) {
    const CsvConversionResult result = convert("a,b\n1,2\n", {kColumn, kNotUsed});
    EXPECT_EQ(result.outcome, CsvOutcome::nothing_chosen);
    EXPECT_FALSE(std::filesystem::exists(path("csv.tmp")));
}

TEST_F(CsvConversion, NinetyNineKeptColumnsAtMost) {
    std::string header = "c";
    for (int i = 1; i < 100; ++i) header += ",c";
    std::vector<int> items(100, kRpms);
    EXPECT_EQ(convert(header + "\n", items).outcome, CsvOutcome::too_many_columns);
    items[0] = kTime;
    std::string numbers = "0";
    for (int i = 1; i < 100; ++i) numbers += ",1";
    const CsvConversionResult fits = convert(header + "\n" + header + "\n" + numbers + "\n", items);
    EXPECT_EQ(fits.outcome, CsvOutcome::converted);
    EXPECT_EQ(fits.kept_columns, 99u);
    EXPECT_EQ(fits.bad_rows, 1);
}

TEST_F(CsvConversion, TheHeaderMustComeWithinFiveLines) {
    write_text(path("t.csv"), "one\ntwo\n\nfour\nfive\na,b\n");
    CsvLogConverter converter;
    ASSERT_FALSE(converter.open(path("t.csv")));
    CsvHeaderScan scan;
    EXPECT_FALSE(converter.scan_header(scan));
    EXPECT_EQ(scan.column_count, 0u);
    EXPECT_EQ(scan.lines_read, "one\ntwo\n\nfour\nfive\n");

    std::string wide = "c";
    for (std::size_t i = 1; i <= kMaxCsvColumns; ++i) wide += ",c";
    write_text(path("w.csv"), wide + "\n");
    ASSERT_FALSE(converter.open(path("w.csv")));
    EXPECT_TRUE(converter.scan_header(scan));
}

TEST_F(CsvConversion, AnOverlongLineIsCutAndCountedBad) {
    const std::string huge(kMaxCsvLineBytes + 100, '7');
    const CsvConversionResult result = convert("a,b\n1,2\n" + huge + ",1\n3,4\n", {kRpms, kTps});
    ASSERT_EQ(result.outcome, CsvOutcome::converted);
    EXPECT_EQ(result.bad_rows, 1);
    EXPECT_EQ(read_bytes(path("csv.tmp")), minimal_log({9, 7}, {{1, 2}, {3, 4}}));
}

// The rows as the conversion read them line by line: each line copied out,
// split into its tokens, then each kept token read as one number with
// blanks around it. The conversion now walks each line once, reading as it
// splits; it must keep to these rows.
struct ReferenceRows {
    std::vector<std::vector<float>> records;
    std::int64_t bad_rows = 0;
};

ReferenceRows rows_split_then_read(const std::string& text, const std::vector<std::size_t>& kept) {
    ReferenceRows rows;
    korv::LineReader lines(kMaxCsvLineBytes);
    lines.open_text(text);
    std::string line;
    lines.next_line(line);  // the header
    std::vector<std::string_view> tokens;
    auto blank = [](std::string_view t) { return t.find_first_not_of(" \t") == std::string_view::npos; };
    while (lines.next_line(line)) {
        if (!lines.line_was_cut() && blank(line)) continue;
        korv::split_fields(line, {.keep_empty = false}, tokens);
        std::vector<float> record;
        for (std::size_t column : kept) {
            if (lines.line_was_cut() || column >= tokens.size()) break;
            const auto parsed = korv::parse_float(tokens[column]);
            if (!parsed || !blank(tokens[column].substr(parsed->end))) break;
            record.push_back(parsed->value);
        }
        if (record.size() == kept.size()) {
            rows.records.push_back(record);
        } else {
            ++rows.bad_rows;
        }
    }
    return rows;
}

TEST_F(CsvConversion, RowsAreTheOnesSplittingThenReadingGave) {
    const std::string past_a_chunk(korv::LineReader::kChunkBytes + 7, ' ');
    // Enough records for several of the batches they are written in, the
    // last one partly filled.
    std::string many_rows;
    for (int i = 0; i < 40000; ++i) {
        many_rows += std::to_string(i) + "." + std::to_string(i % 100) + ",x," + std::to_string(i % 977) + ",-" +
                     std::to_string(i % 13) + ".5\n";
    }
    const struct {
        const char* name;
        std::string rows;
    } cases[] = {
        {"quotes", "\"1\",2,3\n4,\"5\",6\n\"7,8\",9\n"},
        {"empty and blank fields", ",1,,2,3\n1, ,2,3\n,,,\n \t\n1,2,\t3\t,,\n"},
        {"line ends", "1,2,3\r\n4,5,6\r7,8,9\n\r\n10,11,12"},
        {"bad numbers", "1.5x,2,3\nnan,1,2\ninf,1,2\n1e999,1,2\n--1,2,3\n+2,.5,5.\n1e-50,2,3\n0x10,2,3\n1 2,3,4\n"},
        {"signs and exponents", "-0,+1e3,-2.5E-2\n 7 ,\t8\t, 9e0\n"},
        {"a row past a chunk", "1,2," + past_a_chunk + "3" + past_a_chunk + ",4\n5,6,7,8\n"},
        {"a row past the cap",
         "1,2,3\n" + std::string(kMaxCsvLineBytes, '1') + ",2,3\n" + std::string(kMaxCsvLineBytes, '1') + "\n4,5,6"},
        {"fewer cells", "1,2\n1\n1,2,3,4,5\n"},
        {"rows past several batches", many_rows},
    };
    const std::vector<int> items = {kRpms, kNotUsed, kTps, kCoolantTemp};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = "a,b,c,d\n" + c.rows;
        const ReferenceRows reference = rows_split_then_read(text, {0, 2, 3});
        const CsvConversionResult result = convert(text, items);
        EXPECT_EQ(result.bad_rows, reference.bad_rows);
        ASSERT_EQ(result.records, static_cast<std::int64_t>(reference.records.size()));
        if (!reference.records.empty()) {
            EXPECT_EQ(read_bytes(path("csv.tmp")), minimal_log({9, 7, 1}, reference.records));
        }
    }
}

TEST_F(CsvConversion, AFailedWriteKeepsTheEarlierLog) {
    write_text(path("csv.tmp"), "earlier");
    write_text(path("log.csv"), "a,b\n1,2\n");
    CsvLogConverter converter;
    ASSERT_FALSE(converter.open(path("log.csv")));
    CsvHeaderScan scan;
    ASSERT_FALSE(converter.scan_header(scan));
    const CsvConversionResult result = converter.convert(std::vector<int>{kRpms, kTps}, path("no_folder/csv.tmp"));
    EXPECT_EQ(result.outcome, CsvOutcome::file_error);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(read_bytes(path("csv.tmp")), Bytes({'e', 'a', 'r', 'l', 'i', 'e', 'r'}));
}

// Quoted fields, or semicolons for commas, convert to no record at all:
// nothing is written, and the header line tells the likeliest reason.
TEST_F(CsvConversion, NoRowConvertedWritesNothing) {
    for (const std::string& text : {std::string("\"rpm\",\"tps\"\n\"1000\",\"10\"\n\"2000\",\"20\"\n"),
                                    std::string("rpm,tps\n"), std::string("rpm,tps\n\n-,-\n")}) {
        CsvHeaderScan scan;
        const CsvConversionResult result = convert(text, {kRpms, kTps}, &scan);
        EXPECT_EQ(result.outcome, CsvOutcome::no_records) << text;
        EXPECT_EQ(result.records, 0) << text;
        EXPECT_FALSE(std::filesystem::exists(path("csv.tmp"))) << text;
        EXPECT_EQ(scan.header_line, text.substr(0, text.find('\n'))) << text;
    }
}

TEST(CsvNoRows, TheHeaderLineGivesTheLikeliestReason) {
    const std::pair<const char*, const char*> cases[] = {
        {"\"Time\",\"RPM\"", "the fields are in quotes"},
        {"\"Time\";\"RPM\",x", "the fields are in quotes"},
        {"Time;RPM;AFR 14,7", "the fields seem to be separated by ';'"},
        {"Time,RPM", "no converted column held a number"},
    };
    for (const auto& [header, reason] : cases) EXPECT_EQ(csv_no_rows_reason(header), reason) << header;
}

TEST(CsvPreview, ValidUtf8IsShownAsUtf8WithoutItsMark) {
    const std::pair<std::string, bool> cases[] = {
        {"Temp (\xC2\xB0"
         "F) \xE2\x82\xAC \xF0\x9F\x9A\x97",
         true},
        {"Temp (\xB0"
         "F)",
         false},                      // Windows-1252
        {"\xC0\x80", false},          // overlong
        {"\xED\xA0\x80", false},      // a surrogate
        {"\xF4\x90\x80\x80", false},  // past U+10FFFF
        {"\xE2\x82", false},          // cut short
    };
    for (const auto& [bytes, utf8] : cases) {
        EXPECT_EQ(csv_preview(bytes).utf8, utf8) << bytes;
        EXPECT_EQ(csv_preview(bytes).text, bytes) << bytes;
    }
    EXPECT_EQ(csv_preview("\xEF\xBB\xBFTime,RPM\n").text, "Time,RPM\n");
    // A mark before bytes that are not UTF-8 is left to Windows-1252.
    EXPECT_EQ(csv_preview("\xEF\xBB\xBF\xB0").text.size(), 4u);
}
