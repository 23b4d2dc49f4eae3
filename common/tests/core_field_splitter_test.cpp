// Comma-separated fields under each reader's rule: the player's CSV tokens
// skip empty fields, its chart table keeps them and trims blanks, and the
// acceleration log keeps them up to a column limit.
#include "common/core/field_splitter.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace korv {
namespace {

using Fields = std::vector<std::string_view>;

constexpr FieldRule kCsvTokens{.keep_empty = false};
constexpr FieldRule kTableCells{.trim_blanks = true};
constexpr FieldRule kLogColumns{.max_fields = 3};

struct SplitCase {
    std::string_view line;
    Fields csv_tokens, table_cells, log_columns;
};

const SplitCase kCases[] = {
    {"a,b,c", {"a", "b", "c"}, {"a", "b", "c"}, {"a", "b", "c"}},
    {"", {}, {""}, {""}},
    {"a,,b", {"a", "b"}, {"a", "", "b"}, {"a", "", "b"}},
    {",a,", {"a"}, {"", "a", ""}, {"", "a", ""}},
    {",,,,", {}, {"", "", "", "", ""}, {"", "", ""}},
    {" a ,\tb\t, c", {" a ", "\tb\t", " c"}, {"a", "b", "c"}, {" a ", "\tb\t", " c"}},
    {"a , ", {"a ", " "}, {"a", ""}, {"a ", " "}},
    {"1,2,3,4,5", {"1", "2", "3", "4", "5"}, {"1", "2", "3", "4", "5"}, {"1", "2", "3"}},
    {"no comma", {"no comma"}, {"no comma"}, {"no comma"}},
};

TEST(FieldSplitter, EachReadersRuleForEmptyFieldsBlanksAndLimits) {
    Fields fields{"left over"};
    for (const SplitCase& c : kCases) {
        split_fields(c.line, kCsvTokens, fields);
        EXPECT_EQ(fields, c.csv_tokens) << '"' << c.line << '"';
        split_fields(c.line, kTableCells, fields);
        EXPECT_EQ(fields, c.table_cells) << '"' << c.line << '"';
        split_fields(c.line, kLogColumns, fields);
        EXPECT_EQ(fields, c.log_columns) << '"' << c.line << '"';
    }
}

}  // namespace
}  // namespace korv
