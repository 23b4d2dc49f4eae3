// Code texts, the catalogue's line rules and where it is found, and the
// catalogue shipped beside the library.
#include "nativeio/core/dtc_catalogue.h"
#include "nativeio/core/trouble_codes.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

namespace korv::korvio {
namespace {

using testsupport::read_text;
using testsupport::WorkingFolder;
namespace fs = std::filesystem;

void write_file(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

TEST(CodeText, TopBitsPickTheLetterAndTheRestIsLowerCaseHex) {
    EXPECT_EQ(obd_code_text(0x03, 0x01), "P0301");
    EXPECT_EQ(obd_code_text(0x01, 0x43), "P0143");
    EXPECT_EQ(obd_code_text(0x41, 0x00), "C0100");
    EXPECT_EQ(obd_code_text(0x80, 0x01), "B0001");
    EXPECT_EQ(obd_code_text(0xD1, 0x23), "U1123");
    EXPECT_EQ(obd_code_text(0xFF, 0x34), "U3f34");
    EXPECT_EQ(obd_code_text(0x3A, 0xBC), "P3abc");
}

TEST(Catalogue, MatchesTheFirstFiveCharactersOfLinesOfSixOrMore) {
    WorkingFolder cwd;
    write_file("dtc.txt",
               "header line\n"
               "P0A01 upper-case digits never match\n"
               "P0a01 first entry\n"
               "P0a01 second entry\n"
               "P0102\n"
               "P0103\r\n"
               "P0104");
    const auto catalogue = DtcCatalogue::load("dtc.txt");
    ASSERT_TRUE(catalogue.has_value());
    EXPECT_EQ(catalogue->find("P0a01"), "P0a01 first entry\n");
    EXPECT_EQ(catalogue->find("P0A01"), "P0A01 upper-case digits never match\n");  // only an exact text
    // The line end counts towards the six: a bare code text on a line is an entry...
    EXPECT_EQ(catalogue->find("P0102"), "P0102\n");
    EXPECT_EQ(catalogue->find("P0103"), "P0103\r\n");  // copied as read
    // ...but not on the last line without one.
    EXPECT_EQ(catalogue->find("P0104"), std::nullopt);
    EXPECT_EQ(catalogue->find("P0105"), std::nullopt);
}

TEST(Catalogue, LastLineWithoutLineEndGetsOne) {
    WorkingFolder cwd;
    write_file("dtc.txt", "P0300 Random misfire\nP0301 Cylinder 1 misfire");
    EXPECT_EQ(DtcCatalogue::load("dtc.txt")->find("P0301"), "P0301 Cylinder 1 misfire\n");
}

TEST(Catalogue, WorkingDirectoryFirstThenTheFallbackDirectory) {
    WorkingFolder cwd;
    const fs::path beside = fs::current_path() / "beside";
    fs::create_directory(beside);
    EXPECT_FALSE(DtcCatalogue::open(beside).has_value());
    EXPECT_FALSE(DtcCatalogue::open(fs::path{}).has_value());

    write_file(beside / "dtc.txt", "P0301 from beside the library\n");
    ASSERT_TRUE(DtcCatalogue::open(beside).has_value());
    EXPECT_EQ(DtcCatalogue::open(beside)->find("P0301"), "P0301 from beside the library\n");

    write_file("dtc.txt", "P0301 from the working directory\n");
    EXPECT_EQ(DtcCatalogue::open(beside)->find("P0301"), "P0301 from the working directory\n");
}

TEST(Catalogue, LibraryDirectoryIsThatOfTheModuleHoldingTheCode) {
    // Linked into this test program, the code lives in its executable.
    EXPECT_EQ(library_directory(), fs::canonical("/proc/self/exe").parent_path());
}

TEST(ShippedCatalogue, EveryLineIsAnEntryWithALowerCaseCodeText) {
    std::ifstream in(KORVIO_SHIPPED_CATALOGUE, std::ios::binary);
    ASSERT_TRUE(in);
    const std::regex entry("[PCBU][0-9a-f]{4} [^\r]+");
    std::set<std::string> codes;
    std::string line;
    int lines = 0;
    while (std::getline(in, line)) {
        ++lines;
        EXPECT_TRUE(std::regex_match(line, entry)) << line;
        EXPECT_TRUE(codes.insert(line.substr(0, 5)).second) << "listed twice: " << line;
    }
    EXPECT_GT(lines, 200);
    // The demonstration port's codes.
    EXPECT_TRUE(codes.count("P0143") && codes.count("P0196"));
}

TEST(ShippedCatalogue, LiesBesideTheBuiltLibrary) {
    const fs::path beside = fs::path(KORVIO_LIBRARY_PATH).parent_path() / "dtc.txt";
    ASSERT_TRUE(fs::exists(beside));
    EXPECT_EQ(read_text(beside.string()), read_text(KORVIO_SHIPPED_CATALOGUE));
}

}  // namespace
}  // namespace korv::korvio
