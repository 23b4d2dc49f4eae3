// Splitting 3d.dat lines: the names and types lines, and record lines by
// their field types.
#include "common/core/log_3d_tokens.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <vector>

using namespace korv;

namespace {

const std::vector<int> kThreeNumbers = {kLog3dNumeric, kLog3dNumeric, kLog3dNumeric};

std::vector<float> numbers(const Log3dParsed& p) {
    std::vector<float> out;
    for (const auto& v : p.values) out.push_back(std::get<float>(v));
    return out;
}

}  // namespace

TEST(Log3dTokens, SplitOnBlanksAndTabsOnly) {
    EXPECT_EQ(log3d_tokens("Rpms      O2\tP/W  \"a b\"  "),
              (std::vector<std::string>{"Rpms", "O2", "P/W", "\"a", "b\""}));
    EXPECT_TRUE(log3d_tokens(" \t ").empty());
}

TEST(Log3dTokens, SixTypeSpellings) {
    for (const char* s : {"String", "STRING", "string"}) EXPECT_EQ(log3d_field_type(s), kLog3dString) << s;
    for (const char* s : {"Numeric", "NUMERIC", "numeric"}) EXPECT_EQ(log3d_field_type(s), kLog3dNumeric) << s;
    for (const char* s : {"sTRING", "Number", "NUMERICS", ""}) EXPECT_FALSE(log3d_field_type(s)) << s;
}

TEST(Log3dRecordLine, NumbersReadAsWritten) {
    struct Case {
        const char* line;
        std::vector<float> want;
    };
    const Case cases[] = {
        {"5. .5 .", {5.0f, 0.5f, 0.0f}},
        {"abc 12 x7 -5.0", {12.0f, 7.0f, -5.0f}},  // letters skipped between values, signs kept
        {"1.0E-4 +2.5 -3.4028235E38", {1.0e-4f, 2.5f, -3.4028235e38f}},
        {"13.879999\t0.1 1", {13.879999f, 0.1f, 1.0f}},
        {"0.12345678901234567890123 1 2", {0.12345678901234567890123f, 1.0f, 2.0f}},  // long fraction
        {"1 2 3 4 5", {1.0f, 2.0f, 3.0f}},                                            // extra values ignored
        {"1 2 3 \"unclosed", {1.0f, 2.0f, 3.0f}},  // after the last field nothing counts
    };
    for (const auto& c : cases) {
        const auto p = log3d_parse_record(c.line, kThreeNumbers);
        ASSERT_EQ(p.kind, Log3dLine::record) << c.line;
        const auto got = numbers(p);
        for (std::size_t i = 0; i < c.want.size(); ++i)
            EXPECT_EQ(std::bit_cast<std::uint32_t>(got[i]), std::bit_cast<std::uint32_t>(c.want[i])) << c.line;
    }
}

TEST(Log3dRecordLine, LinesThatCannotHoldTheirValuesFail) {
    for (const char* line : {"1.2.3 1 1", "1 2 12abc", "1 2 nan", "1 -inf 2", "Infinity 1 2", "1e39 1 2",
                             "1 2 \"text\"", "1 2 3\"", "1 2 -.x", "1 2 4E"}) {
        EXPECT_EQ(log3d_parse_record(line, kThreeNumbers).kind, Log3dLine::failed) << line;
    }
}

TEST(Log3dRecordLine, ShortAndEmptyLinesAreTold) {
    EXPECT_EQ(log3d_parse_record("", kThreeNumbers).kind, Log3dLine::empty);
    EXPECT_EQ(log3d_parse_record("  \t", kThreeNumbers).kind, Log3dLine::empty);
    EXPECT_EQ(log3d_parse_record("1 2", kThreeNumbers).kind, Log3dLine::short_);
    // A field without a type can take no value.
    EXPECT_EQ(log3d_parse_record("1 \"a\" 3", std::vector<int>{kLog3dNumeric, kLog3dString, kLog3dInvalid}).kind,
              Log3dLine::failed);
}

TEST(Log3dRecordLine, QuotedStringsInStringFields) {
    const std::vector<int> types = {kLog3dString, kLog3dNumeric, kLog3dString};
    const auto p = log3d_parse_record("\"a 1.5 b\"  2 abc\"\"", types);
    ASSERT_EQ(p.kind, Log3dLine::record);
    EXPECT_EQ(std::get<std::string>(p.values[0]), "a 1.5 b");
    EXPECT_EQ(std::get<float>(p.values[1]), 2.0f);
    EXPECT_EQ(std::get<std::string>(p.values[2]), "");
    // Unquoted digits in a string field, an unclosed quote: the line fails.
    EXPECT_EQ(log3d_parse_record("12 2 \"x\"", types).kind, Log3dLine::failed);
    EXPECT_EQ(log3d_parse_record("\"a\" 2 \"open", types).kind, Log3dLine::failed);
}
