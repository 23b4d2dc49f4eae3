#include "nativeio/core/handheld_record_text.h"

#include "nativeio/core/result_codes.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <sstream>

namespace korv::korvio {
namespace {

struct Line {
    std::uint8_t id;
    std::uint8_t value;
    const char* text;
};

TEST(HandheldRecordText, EachChannelItsOwnScale) {
    const Line lines[] = {
        {0, 100, "Timing: 90 100"}, {0, 3, "Timing: -7 3"},    {1, 100, "Ect: 98 "},     {3, 150, "O2v: 3.00 "},
        {3, 1, "O2v: 0.02 "},       {7, 100, "Tps: 40 "},      {7, 3, "Tps: 1 "},        {9, 100, "Rpm: 3137 "},
        {9, 255, "Rpm: 7999 "},     {10, 128, "Pw: 32.77 "},   {11, 100, "Iat: 111 "},   {11, 255, "Iat: -44 "},
        {12, 100, "S trim: 127 "},  {13, 255, "L trim: 324 "}, {17, 40, "Knck: 40.00 "}, {18, 255, "Air Flow: 255.00 "},
        {48, 128, "M trim: 163 "},  {2, 99, "Field 2 "},       {255, 0, "Field 255 "},
    };
    for (const Line& line : lines)
        EXPECT_EQ(handheld_record_item(line.id, line.value, 0), line.text) << int{line.id} << " " << int{line.value};
}

TEST(HandheldRecordText, DemonstrationPortShowsItsFixedValues) {
    const Line lines[] = {
        {0, 0, "Timing: 170 180"}, {1, 0, "Ect: 48 "},      {3, 0, "O2v: 3.00 "},       {7, 100, "Tps: 40 "},
        {9, 0, "Rpm: 3984 "},      {10, 0, "Pw: 32.77 "},   {11, 0, "Iat: 21 "},        {12, 0, "S trim: 190 "},
        {13, 0, "L trim: 229 "},   {17, 0, "Knck: 40.00 "}, {18, 7, "Air Flow: 7.00 "}, {48, 0, "M trim: 229 "},
        {5, 0, "Field 5 "},
    };
    for (const Line& line : lines)
        EXPECT_EQ(handheld_record_item(line.id, line.value, kDemoPort), line.text) << int{line.id};
    EXPECT_EQ(handheld_record_item(9, 0, 3), "Rpm: 0 ");
}

TEST(HandheldRecordText, WritesOneLinePerWholeRecord) {
    const std::uint8_t records[] = {9, 100, 1, 100, 3, 150, 7};
    std::ostringstream out;
    write_handheld_record_text(records, 2, 0, out);
    EXPECT_EQ(out.str(), "Rpm: 3137 \nEct: 98 \n");

    // A count beyond the records given stops at the last whole record.
    std::ostringstream all;
    write_handheld_record_text(records, 9, 0, all);
    EXPECT_EQ(all.str(), "Rpm: 3137 \nEct: 98 \nO2v: 3.00 \n");
    std::ostringstream none;
    write_handheld_record_text(records, -1, 0, none);
    write_handheld_record_text({}, 4, 0, none);
    EXPECT_EQ(none.str(), "");
}

TEST(HandheldRecordText, GermanLocaleChangesNothing) {
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "the de_DE.UTF-8 locale is missing (test.sh generates it)";
    const std::locale previous = std::locale::global(std::locale("de_DE.UTF-8"));
    std::ostringstream out;
    const std::uint8_t records[] = {10, 128, 9, 255};
    write_handheld_record_text(records, 2, 0, out);
    std::locale::global(previous);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(out.str(), "Pw: 32.77 \nRpm: 7999 \n");
}

}  // namespace
}  // namespace korv::korvio
