// The sample dump's bytes and block rule, and the request rows each cable
// builds (oracles worked out by hand from the frame layouts).
#include "nativeio/core/logger_dump.h"
#include "nativeio/core/obd_channels.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace korv::korvio {
namespace {

using testsupport::read_bytes;
using testsupport::WorkingFolder;
using Bytes = std::vector<std::uint8_t>;

std::uint8_t sample_byte(int cycle, int row, int k) { return static_cast<std::uint8_t>(cycle * 7 + row * 3 + k); }

void add_cycle(LoggerDump& dump, int cycle, int rows) {
    for (int row = 0; row < rows; ++row) {
        const std::uint8_t s[3] = {sample_byte(cycle, row, 0), sample_byte(cycle, row, 1), sample_byte(cycle, row, 2)};
        dump.add(s);
    }
}

TEST(LoggerDump, HeadCountsTheIdsAndKeepsTheirLowBytes) {
    WorkingFolder cwd;
    LoggerDump dump("kvt1.tmp", 3);
    ASSERT_EQ(dump.create({9, 300, 7}), 0);
    ASSERT_EQ(dump.finish(), 0);
    EXPECT_EQ(read_bytes("kvt1.tmp"), (Bytes{3, 0, 0, 0, 9, 0x2C, 7}));
}

TEST(LoggerDump, WholeCyclesReachTheFileAcrossBlocksAndACutCycleNever) {
    WorkingFolder cwd;
    constexpr int kRows = 49;  // 147 bytes a cycle: a block every 55 cycles
    constexpr int kCycles = 200;
    LoggerDump dump("kvt1.tmp", 3);
    ASSERT_EQ(dump.create(std::vector<int>(kRows, 1)), 0);
    Bytes expected{kRows, 0, 0, 0};
    expected.insert(expected.end(), kRows, 1);
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        add_cycle(dump, cycle, kRows);
        ASSERT_EQ(dump.end_cycle(true), 0);
        for (int row = 0; row < kRows; ++row)
            for (int k = 0; k < 3; ++k) expected.push_back(sample_byte(cycle, row, k));
        if (cycle == 110) {  // right after the second block: a cycle cut short
            add_cycle(dump, 999, 20);
            ASSERT_EQ(dump.end_cycle(false), 0);
        }
    }
    add_cycle(dump, 1000, 5);  // still under way at the end
    ASSERT_EQ(dump.finish(), 0);
    EXPECT_EQ(read_bytes("kvt1.tmp"), expected);
}

TEST(LoggerDump, TwoByteSamplesForTheDsmDump) {
    WorkingFolder cwd;
    LoggerDump dump("kvt2.tmp", 2);
    ASSERT_EQ(dump.create({9}), 0);
    const std::uint8_t s[2] = {9, 0x7F};
    dump.add(s);
    ASSERT_EQ(dump.end_cycle(true), 0);
    ASSERT_EQ(dump.finish(), 0);
    EXPECT_EQ(read_bytes("kvt2.tmp"), (Bytes{1, 0, 0, 0, 9, 9, 0x7F}));
}

TEST(LoggerDump, FileThatCannotBeCreatedOrWrittenFails) {
    WorkingFolder cwd;
    std::filesystem::create_directory("kvt1.tmp");
    LoggerDump unopened("kvt1.tmp", 3);
    EXPECT_EQ(unopened.create({9}), kWorkingFileFailed);
    EXPECT_EQ(unopened.finish(), kWorkingFileFailed);

    // A full disk: the first block cannot be written.
    std::filesystem::create_symlink("/dev/full", "full.tmp");
    LoggerDump full("full.tmp", 3);
    ASSERT_EQ(full.create({1}), 0);  // still buffered
    int result = 0;
    for (int cycle = 0; cycle < 3000 && result == 0; ++cycle) {
        add_cycle(full, cycle, 1);
        result = full.end_cycle(true);
    }
    EXPECT_EQ(result, kWorkingFileFailed);
    EXPECT_EQ(full.finish(), kWorkingFileFailed);
}

TEST(ChannelRows, EachCableFramesItsRequests) {
    const std::vector<int> items{9, 20, 3, 49};
    // Cable 0: the PID alone; ids without a parameter are skipped.
    auto rows = build_channel_rows(0, items);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].request, Bytes{0x0C});
    EXPECT_EQ(rows[1].request, Bytes{0x14});
    EXPECT_EQ(rows[2].request, Bytes{0x0F});  // 49 is intake air, as 11
    EXPECT_EQ(rows[2].reply_length, 3);

    // Cable 1: 15-byte frames; 20 asks for PID 01.
    rows = build_channel_rows(1, items);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].request, (Bytes{0x25, 0x10, 0x05, 0x68, 0x6A, 0xF1, 0x01, 0x0C, 0, 0, 0, 0, 0, 0, 0xE5}));
    EXPECT_EQ(rows[1].request, (Bytes{0x25, 0x10, 0x05, 0x68, 0x6A, 0xF1, 0x01, 0x01, 0, 0, 0, 0, 0, 0, 0xDA}));
    EXPECT_EQ(rows[1].id, 20);
    EXPECT_EQ(rows[3].reply_length, 14);

    // Cable 2: the K-line frame, its check the sum of all five bytes.
    rows = build_channel_rows(2, items);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].request, (Bytes{0x68, 0x6A, 0xF1, 0x01, 0x0C, 0xD0}));
    EXPECT_EQ(rows[1].request, (Bytes{0x68, 0x6A, 0xF1, 0x01, 0x14, 0xD8}));
    EXPECT_EQ(rows[0].reply_length, 8);
    EXPECT_EQ(rows[1].reply_length, 7);

    // Cable 3: a length byte first; O2 answers with two bytes.
    rows = build_channel_rows(3, items);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2].request, (Bytes{0x06, 0x68, 0x6A, 0xF1, 0x01, 0x0F, 0xD3}));
    EXPECT_EQ(rows[0].reply_length, 9);
    EXPECT_EQ(rows[1].reply_length, 9);
    EXPECT_EQ(rows[2].reply_length, 8);
    // The start request as listed.
    EXPECT_EQ(box3_frame(0x11), (Bytes{0x06, 0x68, 0x6A, 0xF1, 0x01, 0x11, 0xD5}));
}

}  // namespace
}  // namespace korv::korvio
