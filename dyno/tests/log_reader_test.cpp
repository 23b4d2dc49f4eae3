// Reading acceleration logs: column names, time formats and damaged files.
#include "dyno/core/log_reader.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "common/core/field_splitter.h"
#include "common/core/line_reader.h"
#include "common/core/number_text.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

namespace korv::dyno {
namespace {

LogReadResult parse(const std::string& text) { return parse_dyno_log(text); }

TEST(DynoLogColumns, KindsFollowTheTestOrder) {
    EXPECT_EQ(classify_column("Time (secs)"), ColumnKind::time);
    EXPECT_EQ(classify_column("Inj Deadtime Scale"), ColumnKind::time);  // holds "time"
    EXPECT_EQ(classify_column("Engine Speed (RPM)"), ColumnKind::rpm);
    EXPECT_EQ(classify_column("Engine Speed"), ColumnKind::ignored);
    EXPECT_EQ(classify_column("TPS"), ColumnKind::throttle);
    EXPECT_EQ(classify_column("Throttle Position (%)"), ColumnKind::throttle);
    EXPECT_EQ(classify_column("Air Temp"), ColumnKind::air_temp);
    EXPECT_EQ(classify_column("Barometer"), ColumnKind::barometer);
    EXPECT_EQ(classify_column("RPM per sec"), ColumnKind::time);  // time test comes first
}

TEST(DynoLogHeader, RefusesLogsWithoutRpmOrTime) {
    EXPECT_EQ(parse("x\nTime (secs),Engine Speed,Throttle Position\n1,2,3\n2,3,4\n").status,
              LogReadStatus::no_rpm_or_time);
    EXPECT_EQ(parse("x\nRPM,TPS\n1,2\n").status, LogReadStatus::no_rpm_or_time);
    EXPECT_EQ(parse("x\n,,,\n1,2\n").status, LogReadStatus::no_rpm_or_time);
    EXPECT_EQ(parse("only one line").status, LogReadStatus::no_rpm_or_time);
    EXPECT_EQ(parse("").status, LogReadStatus::no_rpm_or_time);
    EXPECT_EQ(log_read_message(LogReadStatus::no_rpm_or_time), "Can't read RPM or Time from log");
}

TEST(DynoLogHeader, ColumnsBeyondThirtyAreIgnored) {
    std::string header, row;
    for (int k = 0; k < 30; ++k) {
        header += "c" + std::to_string(k) + ",";
        row += "0,";
    }
    EXPECT_EQ(parse("x\n" + header + "Time,RPM\n" + row + "1,2\n" + row + "2,3\n").status,
              LogReadStatus::no_rpm_or_time);
}

TEST(DynoLogRows, CapturedExportIsRead) {
    const auto r = parse(
        "Calderis Datalogger\n\nTime,Engine Speed (RPM),Throttle Position (%)\n"
        "0.00,2000.50,99.00\r\n0.05,2100.25,98.00\r\n\r\n\n0.10,2200.00,97.50\n");
    ASSERT_EQ(r.status, LogReadStatus::ok);
    ASSERT_EQ(r.samples.size(), 3u);
    EXPECT_FLOAT_EQ(r.samples[1][kTime], 0.05f);
    EXPECT_FLOAT_EQ(r.samples[1][kRawRpm], 2100.25f);
    EXPECT_FLOAT_EQ(r.samples[2][kThrottle], 97.5f);
    EXPECT_FLOAT_EQ(r.samples[2][kSmoothRpm], 0.0f);  // set by smoothing, not here
}

TEST(DynoLogRows, MinutesAndSeconds) {
    double t = 0;
    ASSERT_TRUE(parse_log_time("1:02.5", t));
    EXPECT_DOUBLE_EQ(t, 62.5);
    ASSERT_TRUE(parse_log_time(" 62.5", t));
    EXPECT_DOUBLE_EQ(t, 62.5);
    EXPECT_FALSE(parse_log_time("1:", t));
    EXPECT_FALSE(parse_log_time("a:3", t));
    EXPECT_FALSE(parse_log_time("", t));
    EXPECT_FALSE(parse_log_time("nan", t));
    EXPECT_FALSE(parse_log_time("inf", t));
}

TEST(DynoLogRows, TooFewSamples) {
    EXPECT_EQ(parse("x\nTime,RPM\n1,2\n").status, LogReadStatus::too_few_samples);
    EXPECT_EQ(parse("x\nTime,RPM\n").status, LogReadStatus::too_few_samples);
    EXPECT_EQ(log_read_message(LogReadStatus::too_few_samples), "Can't enough samples from log");
}

// Damaged rows must neither shift the columns nor produce samples from nothing.
TEST(DynoLogRows, DamagedRowsKeepColumnsInStep) {
    const auto r = parse(
        "x\nTPS,Time,RPM\n"
        "50,1.0,1000\n"
        ",2.0,2000\n"          // empty throttle reads 0, RPM still in place
        "60,3.0\n"             // no RPM field: skipped
        "70,abc,4000\n"        // time does not parse: skipped
        "80,nan,5000\n"        // nan is not a number: skipped
        "90,6.0,inf\n"         // nor is an infinite RPM: skipped
        "99,7.0,7000,1,2,3\n"  // fields past the header are ignored
        "95,8.0,8000rpm\n");   // leading number of the field
    ASSERT_EQ(r.status, LogReadStatus::ok);
    ASSERT_EQ(r.samples.size(), 4u);
    EXPECT_EQ(r.dropped_rows, 4u);
    EXPECT_EQ(r.time_origin, 1.0);  // times are kept since the first row's
    EXPECT_FLOAT_EQ(r.samples[1][kThrottle], 0.0f);
    EXPECT_FLOAT_EQ(r.samples[1][kRawRpm], 2000.0f);
    EXPECT_FLOAT_EQ(r.samples[2][kTime], 6.0f);
    EXPECT_FLOAT_EQ(r.samples[2][kThrottle], 99.0f);
    EXPECT_FLOAT_EQ(r.samples[3][kRawRpm], 8000.0f);
}

// A zero RPM read from a cell without a number would dip the smoothed curve
// and make its recovery the longest rising block: such a row goes, as a row
// whose time is no number does, and is counted.
TEST(DynoLogRows, RowsWhoseRpmIsNoNumberAreDroppedAndCounted) {
    const struct {
        const char* rpm;
        bool kept;
    } cells[] = {{"nan", false}, {"NaN", false}, {"-nan", false}, {"inf", false},  {"", false},   {"abc", false},
                 {"-", false},   {" ", false},   {"3000", true},  {" 3000", true}, {"3e3", true}, {"3000rpm", true}};
    for (const auto& c : cells) {
        const auto r = parse(std::string("x\nTime,RPM\n0,1000\n1,") + c.rpm + "\n2,2000\n");
        ASSERT_EQ(r.status, LogReadStatus::ok) << '"' << c.rpm << '"';
        EXPECT_EQ(r.samples.size(), c.kept ? 3u : 2u) << '"' << c.rpm << '"';
        EXPECT_EQ(r.dropped_rows, c.kept ? 0u : 1u) << '"' << c.rpm << '"';
        if (c.kept) {
            EXPECT_FLOAT_EQ(r.samples[1][kRawRpm], 3000.0f) << '"' << c.rpm << '"';
        }
    }
    // Time and RPM rows are counted together; empty lines are no rows at all.
    const auto both = parse("x\nTime,RPM\n0,1000\n\nx,1500\n1,nan\n2,2000\n,2500\n");
    EXPECT_EQ(both.samples.size(), 2u);
    EXPECT_EQ(both.dropped_rows, 3u);
    EXPECT_EQ(dropped_rows_message(1), "1 row was left out: its time or RPM held no number.");
    EXPECT_EQ(dropped_rows_message(3), "3 rows were left out: their time or RPM held no number.");
}

TEST(DynoLogRows, FirstColumnOfEachKindWins) {
    const auto r = parse("x\nTime,RPM,Sec,rpm2,TPS,Throttle\n1,100,9,9,10,9\n2,200,9,9,20,9\n");
    ASSERT_EQ(r.status, LogReadStatus::ok);
    ASSERT_EQ(r.samples.size(), 2u);
    EXPECT_FLOAT_EQ(r.samples[1][kTime], 1.0f);  // since the first row's 1
    EXPECT_FLOAT_EQ(r.samples[1][kRawRpm], 200.0f);
    EXPECT_FLOAT_EQ(r.samples[1][kThrottle], 20.0f);
}

TEST(DynoLogRows, LinesOfAnyLength) {
    const std::string pad(5000, 'x');
    const auto r = parse(pad + "\nTime," + pad + ",RPM\n1," + pad + ",1500\n2," + pad + ",1600\n");
    ASSERT_EQ(r.status, LogReadStatus::ok);
    EXPECT_FLOAT_EQ(r.samples[1][kRawRpm], 1600.0f);
}

TEST(DynoLogRows, GermanLocaleReadsPoints) {
    const char* set = std::setlocale(LC_ALL, "de_DE.UTF-8");
    ASSERT_NE(set, nullptr) << "the de_DE.UTF-8 locale is missing";
    const auto r = parse("x\nTime,RPM\n1.5,1000.25\n2.5,2000.75\n");
    std::setlocale(LC_ALL, "C");
    ASSERT_EQ(r.status, LogReadStatus::ok);
    EXPECT_EQ(r.time_origin, 1.5);
    EXPECT_FLOAT_EQ(r.samples[1][kTime], 1.0f);
    EXPECT_FLOAT_EQ(r.samples[1][kRawRpm], 2000.75f);
}

// The rows as the reader took them line by line: each line copied out and
// split into as many fields as the header has, then read field by field. The
// reader now splits only the fields it reads, straight from its chunk of the
// file; it must keep to these rows. Header: Time,RPM,x,TPS.
struct ReferenceRow {
    double time;
    float rpm, throttle;
};

std::vector<ReferenceRow> rows_split_then_read(const std::string& text) {
    std::vector<ReferenceRow> rows;
    LineReader lines;
    lines.open_text(text);
    std::string line;
    int filled = 0;
    std::vector<std::string_view> fields;
    auto leading = [](std::string_view f) -> std::optional<float> {
        const auto parsed = parse_float(f);
        if (!parsed) return std::nullopt;
        return parsed->value;
    };
    while (lines.next_line(line)) {
        if (line.empty() || ++filled <= 2) continue;  // the title and the header
        split_fields(line, {.max_fields = 4}, fields);
        double t = 0;
        if (fields.size() < 2 || !parse_log_time(fields[0], t)) continue;
        const std::optional<float> rpm = leading(fields[1]);
        if (!rpm) continue;
        rows.push_back({t, *rpm, fields.size() > 3 ? leading(fields[3]).value_or(0.0f) : 0.0f});
    }
    return rows;
}

// Rows as a logger writes them, `count` of them, with line ends of all kinds.
std::string many_rows(int count) {
    std::string rows;
    const char* const ends[] = {"\n", "\r\n", "\r", "\n\n"};
    for (int i = 0; i < count; ++i) {
        rows += std::to_string(i / 100) + "." + std::to_string(i % 100) + "," + std::to_string(2000 + i % 5000) +
                ".25,x," + std::to_string(i % 100) + ".5" + ends[i % 4];
    }
    return rows;
}

TEST(DynoLogRows, RowsAreTheOnesSplittingThenReadingGave) {
    const std::string past_a_chunk(LineReader::kChunkBytes + 7, 'z');
    const struct {
        const char* name;
        std::string rows;
    } cases[] = {
        {"quotes", "0,\"100\",x,5\n\"1\",200,x,6\n2,\"300,x\",7\n3,400\n4,500,\"x\",\"8\"\n"},
        {"empty fields", "0,,x,\n1,100,,\n,200,x,5\n2,,,\n3,300\n4\n"},
        {"line ends", "0,100,x,1\r\n1,200,x,2\r2,300,x,3\n\r\n\r3,400,x,4"},
        {"bad numbers", "0,abc,x,1.5x\n1,nan,x,inf\n2,1e999,x,--1\nnope,1,x,1\n3,12abc,x, 7\n4,+5,x,.5\n"},
        {"clock times", "1:02.5,100,x,1\n1:03,200,x,2\n0:1:04,300,x,3\n1::05,400,x,4\n1:x,500,x,5\n"},
        {"more fields than columns", "0,100,x,1,2,3\n1,200,x,2,,\n"},
        {"a row past a chunk", "0,100,x,1\n1,200," + past_a_chunk + ",2" + past_a_chunk + "\n2,300,x,3\n"},
        {"a file large enough to be mapped", many_rows(LineReader::kMapFromBytes / 16)},
        {"fields that go the general way", "1e1,2e3,x,5e-1\n 11, 12,x, 13\n+12.,13.x,x,.25%\n13,-0,x,-.5\n"},
    };
    testsupport::TempFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = "title\n\nTime,RPM,x,TPS\n" + c.rows;
        const std::vector<ReferenceRow> reference = rows_split_then_read(text);
        ASSERT_GE(reference.size(), 2u);
        testsupport::write_text(folder.file("log.csv"), text);
        for (const LogReadResult& read : {parse(text), read_dyno_log(folder.file("log.csv"))}) {
            ASSERT_EQ(read.status, LogReadStatus::ok);
            ASSERT_EQ(read.samples.size(), reference.size());
            EXPECT_EQ(read.time_origin, reference.front().time);
            for (std::size_t i = 0; i < reference.size(); ++i) {
                SCOPED_TRACE(i);
                EXPECT_EQ(read.samples[i][kTime], static_cast<float>(reference[i].time - reference.front().time));
                EXPECT_EQ(read.samples[i][kRawRpm], reference[i].rpm);
                EXPECT_EQ(read.samples[i][kThrottle], reference[i].throttle);
            }
        }
    }
}

// With more than one clock, the rows kept are those the chosen clock reads,
// each with its time since the chosen clock's first.
TEST(DynoLogRows, TheChosenClockDecidesTheRowsAndTheirTimes) {
    const struct {
        const char* name;
        std::string rows;
        double origin;
        std::vector<float> times, rpms;
    } cases[] = {
        {"the first never goes back", "5,1,100\n6,x,200\n7,3,300\n", 5, {0, 1, 2}, {100, 200, 300}},
        {"the first goes back", "5,1,100\n4,x,200\n7,3,300\n6,4,400\n", 1, {0, 2, 3}, {100, 300, 400}},
        {"the first reads too seldom", "x,1,100\n5,2,200\nx,3,300\n", 1, {0, 1, 2}, {100, 200, 300}},
        {"the second never reads", "1.5,,100\nx,,200\n2.5,,300\n", 1.5, {0, 1}, {100, 300}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto read = parse("x\nTime,Sec,RPM\n" + c.rows);
        ASSERT_EQ(read.status, LogReadStatus::ok);
        EXPECT_EQ(read.time_origin, c.origin);
        ASSERT_EQ(read.samples.size(), c.times.size());
        for (std::size_t i = 0; i < c.times.size(); ++i) {
            EXPECT_EQ(read.samples[i][kTime], c.times[i]) << i;
            EXPECT_EQ(read.samples[i][kRawRpm], c.rpms[i]) << i;
        }
    }
}

TEST(DynoLogFile, MissingOrUnreadableFile) {
    testsupport::TempFolder dir;
    EXPECT_EQ(read_dyno_log(dir.file("missing.csv")).status, LogReadStatus::cannot_open);
    EXPECT_EQ(read_dyno_log(dir.path()).status, LogReadStatus::cannot_open);
    EXPECT_EQ(log_read_message(LogReadStatus::cannot_open), "Can't open file");
    testsupport::write_text(dir.file("ok.csv"), "x\nTime,RPM\n1,2\n2,3\n");
    EXPECT_EQ(read_dyno_log(dir.file("ok.csv")).samples.size(), 2u);
}

}  // namespace
}  // namespace korv::dyno
