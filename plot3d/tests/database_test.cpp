// The record table read from 3d.dat files, and its filtered copies.
#include "plot3d/core/database.h"

#include <gtest/gtest.h>

#include <bit>
#include <string>

#include "common/core/log_3d.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

using namespace korv;
using namespace korv::plot3d;

namespace {

class DatabaseFile : public ::testing::Test {
protected:
    Database read(const std::string& text) {
        testsupport::write_text(folder_.file("3d.dat"), text);
        return Database();
    }
    testsupport::WorkingFolder folder_;
};

std::uint32_t bits(float v) { return std::bit_cast<std::uint32_t>(v); }

}  // namespace

TEST_F(DatabaseFile, WhatThePlayerWritesReadsBackBitForBit) {
    Log3dRecord a{3000.0f, 0.85f, 14.7f, 25.0f, 100.0f, -5.0f, 12.3f, 180.0f, 95.0f};
    Log3dRecord b{1.0e-4f, -2.5e-7f, 1.5e7f, -3.4028235e38f, 13.879999f, 0.0f, -0.001f, 1.0e10f, 7.0f};
    Log3dFile file;
    ASSERT_FALSE(file.create(kLog3dFileName));
    ASSERT_TRUE(file.add(a, 1));
    ASSERT_TRUE(file.add(b, 123456789012));
    ASSERT_FALSE(file.close());
    ASSERT_GT(log3d_record_line(b, 123456789012)->size(), kLog3dLineLength);  // a long line

    const Database db;
    ASSERT_EQ(db.fieldcount, 10);
    EXPECT_EQ(db.fieldname[2], "Pressure");
    EXPECT_EQ(db.fieldname[9], "Rec");
    EXPECT_EQ(db.fieldtype, std::vector<int>(10, Database::NUMERIC));
    ASSERT_EQ(db.reccount, 2);
    EXPECT_EQ(db.failedlines, 0);
    // Columns: rpm, O2, pressure, timing, tps, fuel, ...
    const float want[2][10] = {
        {3000.0f, 0.85f, -5.0f, 25.0f, 100.0f, 14.7f, 12.3f, 180.0f, 95.0f, 1.0f},
        {1.0e-4f, -2.5e-7f, 0.0f, -3.4028235e38f, 13.879999f, 1.5e7f, -0.001f, 1.0e10f, 7.0f, 123456789012.0f}};
    for (int r = 0; r < 2; ++r)
        for (int f = 0; f < 10; ++f) EXPECT_EQ(bits(db.numericValue(r, f)), bits(want[r][f])) << r << "," << f;
}

TEST_F(DatabaseFile, AnyLineEndAndCountedFailures) {
    const Database db = read(
        "a b c\r\nNUMERIC numeric Numeric\r"
        "1 2 3\n"
        "\n"
        "4 5\r"          // short
        "1.2.3 1 1\r\n"  // two points
        "\"q\" 1 1\n"    // quote in a number field
        "7 8 9");        // no line end
    ASSERT_EQ(db.reccount, 2);
    EXPECT_EQ(db.numericValue(1, 2), 9.0f);
    EXPECT_EQ(db.failedlines, 3);
    EXPECT_FALSE(db.readerror);
}

TEST_F(DatabaseFile, FewerTypesThanNamesLeavesFieldsInvalid) {
    const Database db = read("a b c\nNUMERIC STRING\n1 \"x\" 2\n");
    EXPECT_EQ(db.fieldtype, (std::vector<int>{Database::NUMERIC, Database::STRING, Database::INVALID}));
    EXPECT_EQ(db.reccount, 0);
    EXPECT_EQ(db.failedlines, 1);
}

TEST_F(DatabaseFile, StringFields) {
    const Database db = read("name rpm\nSTRING NUMERIC\n\"third gear\" 3000.0\n");
    ASSERT_EQ(db.reccount, 1);
    EXPECT_EQ(db.stringValue(0, 0), "third gear");
    EXPECT_EQ(db.numericValue(0, 1), 3000.0f);
}

TEST_F(DatabaseFile, BadHeadersRefuseTheTable) {
    for (const char* text : {"", "  \t\nNUMERIC\n", "a b\n", "a b\nNUMERIC NUMBER\n", "a\nNUMERIC NUMERIC\n"}) {
        testsupport::write_text(folder_.file("3d.dat"), text);
        EXPECT_THROW(Database(), DatabaseError) << text;
    }
    std::filesystem::remove(folder_.file("3d.dat"));
    EXPECT_THROW(Database(), DatabaseError);
}

TEST_F(DatabaseFile, HostileHeadersAreRefusedWithAShortPlainMessage) {
    const auto refusal = [this](const std::string& text) {
        testsupport::write_text(folder_.file("3d.dat"), text);
        try {
            Database db;
        } catch (const DatabaseError& e) {
            return std::string(e.what());
        }
        return std::string("accepted");
    };
    std::string names, types;
    for (int f = 0; f < 257; ++f) {
        names += "f" + std::to_string(f) + " ";
        types += "NUMERIC ";
    }
    EXPECT_EQ(refusal(names + "\n" + types + "\n"), "3d.dat has 257 fields; the plot takes at most 256");
    names.resize(names.rfind("f256"));
    types.resize(types.size() - 8);
    EXPECT_EQ(refusal(names + "\n" + types + "\n1\n"), "accepted");

    // A bad type is quoted printable and short: bytes outside printable
    // ASCII escaped, never split, and the whole cut to 20 characters.
    const auto repeat = [](const std::string& piece, int n) {
        std::string out;
        for (int i = 0; i < n; ++i) out += piece;
        return out;
    };
    struct Case {
        std::string token;
        std::string shown;
    };
    const Case cases[] = {
        {"NUMBER", "NUMBER"},
        {"\x01\x1b[2J\xff\\", "\\x01\\x1B[2J\\xFF\\\\"},
        {std::string(100, 'x'), std::string(17, 'x') + "..."},
        {std::string(5, '\x7f'), repeat("\\x7F", 5)},
        {std::string(6, '\x7f'), repeat("\\x7F", 4) + "..."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(refusal("a\n" + c.token + "\n"), "Unknown field type in 3d.dat: " + c.shown) << c.token;
        EXPECT_LE(c.shown.size(), 20u);
    }
}

TEST_F(DatabaseFile, FilterBoundsAreInclusiveAndAllMustHold) {
    const Database db = read("x y s\nNUMERIC NUMERIC STRING\n1 10 \"a\"\n2 20 \"b\"\n3 30 \"c\"\n4 40 \"d\"\n");
    Filter filter(2);
    filter.findex = {0, 1};
    filter.needmin = {true, false};
    filter.min = {2.0f, 0.0f};
    filter.needmax = {false, true};
    filter.max = {0.0f, 30.0f};
    const Database copy(db, filter);
    EXPECT_EQ(copy.fieldname, db.fieldname);
    EXPECT_EQ(copy.fieldtype, db.fieldtype);
    ASSERT_EQ(copy.reccount, 2);
    EXPECT_EQ(copy.numericValue(0, 0), 2.0f);
    EXPECT_EQ(copy.stringValue(1, 2), "c");
    EXPECT_EQ(Database(db, Filter(0)).reccount, 4);
}
