// 3d.dat line by line, against lines written out by hand.
#include "common/core/log_3d.h"

#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace korv;
using namespace korv::testsupport;

namespace {

std::string blanks(std::size_t n) { return std::string(n, ' '); }

// Names at columns 0, 10, ..., 90; "Rec" ends at column 92, so 6 blanks to 99.
const std::string kNames =
    "Rpms      O2        Pressure  Timing    Tps       Fuel      P/W       W/T       A/T       Rec" + blanks(6) + "\n";
// "NUMERIC" is 7 long: 3 blanks between, and 2 after the tenth to column 99.
const std::string kTypes =
    "NUMERIC   NUMERIC   NUMERIC   NUMERIC   NUMERIC   NUMERIC   NUMERIC   NUMERIC   NUMERIC   NUMERIC  \n";

Log3dRecord typical() {
    Log3dRecord r;
    r.rpm = 3000.0f;
    r.o2 = 0.85f;
    r.pressure = 5.5f;
    r.timing = 25.0f;
    r.tps = 100.0f;
    r.fuel = 0.0f;
    r.pulse_width = 12.3f;
    r.coolant = 180.0f;
    r.air_temperature = 95.0f;
    return r;
}

class Log3dFileTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return folder_.file(name); }
    TempFolder folder_;
};

}  // namespace

TEST(Log3dLines, HeaderLinesAreHundredCharacters) {
    EXPECT_EQ(log3d_names_line(), kNames);
    EXPECT_EQ(log3d_types_line(), kTypes);
    EXPECT_EQ(kNames.size(), 100u);
    EXPECT_EQ(kTypes.size(), 100u);
}

TEST(Log3dLines, RecordLineHasItsFieldsAtTheirColumns) {
    const std::string expected =
        "3000.0    0.85      5.5       25.0      100.0     0.0       12.3      180.0     95.0      42" + blanks(7) +
        "\n";
    EXPECT_EQ(log3d_record_line(typical(), 42), expected);
}

TEST(Log3dLines, SignsAreKept) {
    Log3dRecord r = typical();
    r.pressure = -5.0f;
    const std::string line = *log3d_record_line(r, 1);
    EXPECT_EQ(line.substr(20, 10), "-5.0      ");
}

TEST(Log3dLines, TenCharacterFieldGetsABlankBeforeTheNext) {
    Log3dFields fields;
    fields.fill("x");
    fields[0] = "abcdefghij";  // exactly ten
    const std::string line = log3d_line(fields);
    EXPECT_EQ(line.substr(0, 13), "abcdefghij x ");
    // Only the touching field moved; the others keep their columns.
    EXPECT_EQ(line.substr(19, 3), " x ");
    EXPECT_EQ(line.substr(89, 3), " x ");
    EXPECT_EQ(line.size(), 100u);
    EXPECT_EQ(line.back(), '\n');
}

TEST(Log3dLines, LongFieldsPushTheRestAndTheLineGrowsRatherThanCut) {
    Log3dFields fields;
    fields.fill("1.0");
    fields[0] = std::string(25, '9');
    const std::string line = log3d_line(fields);
    // Field 1 right after one blank, field 2 at column 30 again.
    EXPECT_EQ(line.substr(0, 30), std::string(25, '9') + " 1.0 ");
    EXPECT_EQ(line.substr(30, 4), "1.0 ");
    EXPECT_EQ(line.size(), 100u);

    fields.fill(std::string(12, '7'));
    const std::string wide = log3d_line(fields);
    // Ten fields of 12 with one blank between: 129 characters, then LF.
    std::string expected;
    for (int k = 0; k < 10; ++k) expected += (k ? " " : "") + std::string(12, '7');
    EXPECT_EQ(wide, expected + "\n");
}

TEST(Log3dLines, NonFiniteValuesSkipTheRecord) {
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                      -std::numeric_limits<float>::infinity()}) {
        Log3dRecord r = typical();
        r.pulse_width = bad;
        EXPECT_FALSE(log3d_record_line(r, 1).has_value());
    }
}

TEST_F(Log3dFileTest, FileHoldsHeaderAndCountedRecords) {
    Log3dFile file;
    ASSERT_FALSE(file.create(path("3d.dat")).has_value());
    EXPECT_TRUE(file.add(typical(), 42));
    Log3dRecord bad = typical();
    bad.o2 = std::nanf("");
    EXPECT_FALSE(file.add(bad, 43));
    EXPECT_EQ(file.count_3d(), 1);
    ASSERT_FALSE(file.close().has_value());
    const Bytes bytes = read_bytes(path("3d.dat"));
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text, kNames + kTypes + *log3d_record_line(typical(), 42));
}

TEST_F(Log3dFileTest, AFolderThatCannotTakeTheFileIsReported) {
    Log3dFile file;
    const auto error = file.create(path("missing/3d.dat"));
    ASSERT_TRUE(error.has_value());
    EXPECT_FALSE(error->empty());
    EXPECT_FALSE(file.add(typical(), 1));
}
