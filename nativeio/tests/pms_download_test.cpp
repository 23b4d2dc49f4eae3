#include "nativeio/include/korvio.h"
#include "nativeio/include/korvio_files.h"

#include "nativeio/core/pms_download.h"
#include "nativeio/core/port_table.h"
#include "nativeio/tests/pms_test_support.h"
#include "testsupport/file_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace korv::korvio {
namespace {

using platform::serial::LineChange;
using platform::serial::OutputLine;
using sim::ComPortBinding;
using sim::PeerOnPort;
using sim::PmsPeer;
using testing::expected_dump;
using testing::kPmsBlocks;
using testsupport::read_text;
using testsupport::write_text;
using Bytes = std::vector<std::uint8_t>;

// The wake-up CR and the seven opening frames, byte for byte.
const Bytes kOpeningBytes = {
    0x0D, 0x01, 0x02, 'I',  'O',  0x65, 0x0D, 0x01, 0x0A, 'K',  'O',  'R',  'V',  'I', 'O',  '-',  'P',  'M',
    'S',  0xFE, 0x0D, 0x01, 0x01, 'Q',  0xAD, 0x0D, 0x01, 0x09, 'D',  'A',  '7',  'E', '0',  'A',  '7',  'E',
    'F',  0xC2, 0x0D, 0x01, 0x09, 'D',  'A',  '7',  'F',  '0',  'A',  '7',  'F',  'F', 0xC0, 0x0D, 0x01, 0x09,
    'D',  'B',  'F',  'F',  '2',  'B',  'F',  'F',  'D',  0xA0, 0x0D, 0x01, 0x02, 'L', '1',  0x80, 0x0D,
};

int times_asked(const PmsPeer& unit, const std::string& payload) {
    const auto commands = unit.commands();
    return static_cast<int>(std::count(commands.begin(), commands.end(), payload));
}

TEST(PmsFrames, ReadCommandOfTheFirstBlock) {
    EXPECT_EQ(pms::memory_read_payload(0xA000, 0xA00F), "DA000A00F");
    // The check byte is the negated sum of the 11 bytes before it.
    EXPECT_EQ(pms::frame("DA000A00F"), (Bytes{0x01, 0x09, 'D', 'A', '0', '0', '0', 'A', '0', '0', 'F', 0xFA, 0x0D}));
    EXPECT_EQ(pms::frame("DBFF0BFFF")[11], 0xA0);
}

// A 43-byte read reply around 36 characters of address and hex data:
// SOH, length, 'D', the text, check byte, CR LF '>'.
Bytes read_reply(const std::string& text) {
    Bytes reply{0x01, 0x25, 'D'};
    for (char c : text) reply.push_back(static_cast<std::uint8_t>(c));
    unsigned sum = 0;
    for (std::uint8_t b : reply) sum += b;
    reply.push_back(static_cast<std::uint8_t>(0x100 - sum % 0x100));
    reply.insert(reply.end(), {0x0D, 0x0A, '>'});
    return reply;
}

pms::ReplyVerdict judge(const Bytes& reply, unsigned address) {
    return pms::judge_read_reply(std::span<const std::uint8_t, 43>(reply.data(), 43), address);
}

TEST(PmsFrames, RepliesAreJudgedBySumAndAddress) {
    const std::string data = "00112233445566778899AABBCCDDEEFF";
    const Bytes reply = read_reply("A010" + data);
    ASSERT_EQ(reply.size(), 43u);
    EXPECT_EQ(judge(reply, 0xA010), pms::ReplyVerdict::Accepted);
    // A sound reply for another block is a late answer, not this block.
    EXPECT_EQ(judge(reply, 0xA020), pms::ReplyVerdict::OtherBlock);
    EXPECT_EQ(judge(read_reply("a01a" + data), 0xA01A), pms::ReplyVerdict::Accepted);

    Bytes bad = reply;
    ++bad[39];
    EXPECT_EQ(judge(bad, 0xA010), pms::ReplyVerdict::BadSum);
    Bytes other_trailer = reply;
    other_trailer[41] = 0x55;  // outside the summed bytes
    EXPECT_EQ(judge(other_trailer, 0xA010), pms::ReplyVerdict::Accepted);
    Bytes zeros(43, 0x00);
    zeros[42] = '>';
    EXPECT_EQ(judge(zeros, 0xA000), pms::ReplyVerdict::AllZero);
}

using PmsDownload = testing::PmsTest;

TEST_F(PmsDownload, ReadsTheWholeMemoryInAddressOrder) {
    PeerOnPort<PmsPeer> unit(1, sim::Pacing::Wire);
    EXPECT_EQ(get_pms(unit.peer(), 1, 1), 0);

    const std::string dump = read_text("temp.bcf");
    EXPECT_EQ(dump.size(), 18432u);
    EXPECT_EQ(dump.size(), static_cast<std::size_t>(korvio_files::kPmsDumpSize));  // what readers take for whole
    EXPECT_EQ(dump, expected_dump(PmsPeer::sample_memory()));
    // The trace holds every accepted reply whole, carrying the same text.
    const std::string trace = read_text("stream.bcf");
    ASSERT_EQ(trace.size(), 512u * 43);
    for (int block = 0; block < kPmsBlocks; ++block)
        ASSERT_EQ(trace.substr(block * 43 + 3, 36), dump.substr(block * 36, 36)) << block;

    const Bytes heard = unit->received();
    ASSERT_GE(heard.size(), kOpeningBytes.size() + 13);
    EXPECT_EQ(Bytes(heard.begin(), heard.begin() + static_cast<long>(kOpeningBytes.size())), kOpeningBytes);
    EXPECT_EQ(Bytes(heard.begin() + static_cast<long>(kOpeningBytes.size()),
                    heard.begin() + static_cast<long>(kOpeningBytes.size()) + 13),
              pms::frame("DA000A00F"));
    // Every block asked for once, in address order.
    const auto commands = unit->commands();
    ASSERT_EQ(commands.size(), 7u + kPmsBlocks);
    const std::vector<std::string> reads(commands.begin() + 7, commands.end());
    for (int block = 0; block < kPmsBlocks; ++block)
        EXPECT_EQ(reads[static_cast<std::size_t>(block)],
                  pms::memory_read_payload(0xA000 + block * 16, 0xA00F + block * 16));
    EXPECT_EQ(unit->wrong_speed_bytes(), 0);

    // Both lines raised, the port closed again.
    bool dtr = false, rts = false;
    for (const LineChange& c : unit->lines().changes()) (c.line == OutputLine::Dtr ? dtr : rts) = c.on;
    EXPECT_TRUE(dtr);
    EXPECT_TRUE(rts);
    EXPECT_EQ(SioClose(1), kPortClosed);
}

TEST_F(PmsDownload, SpoiltRepliesAreAskedAgainAndNeverWritten) {
    PeerOnPort<PmsPeer> unit(0);
    unit->fail_reads(0xA010, PmsPeer::ReadFault::BadSum, 2);
    unit->fail_reads(0xA100, PmsPeer::ReadFault::AllZero, 3);
    unit->fail_reads(0xA200, PmsPeer::ReadFault::PreviousBlock, 1);
    unit->fail_reads(0xBFF0, PmsPeer::ReadFault::BadSum, pms::kBlockAttempts - 1);
    EXPECT_EQ(get_pms(unit.peer(), 0, 1), 0);

    EXPECT_EQ(read_text("temp.bcf"), expected_dump(PmsPeer::sample_memory()));
    EXPECT_EQ(std::filesystem::file_size("stream.bcf"), 512u * 43);
    EXPECT_EQ(times_asked(unit.peer(), "DA010A01F"), 3);
    EXPECT_EQ(times_asked(unit.peer(), "DA100A10F"), 4);
    EXPECT_EQ(times_asked(unit.peer(), "DA200A20F"), 2);
    EXPECT_EQ(times_asked(unit.peer(), "DBFF0BFFF"), pms::kBlockAttempts);  // nine failures, then the block
}

TEST_F(PmsDownload, ABlockThatKeepsFailingEndsTheDownloadShort) {
    PeerOnPort<PmsPeer> unit(0);
    unit->fail_reads(0xA000, PmsPeer::ReadFault::AllZero, PmsPeer::kForever);
    EXPECT_EQ(get_pms(unit.peer(), 0, 1), 0);
    EXPECT_EQ(times_asked(unit.peer(), "DA000A00F"), pms::kBlockAttempts);
    EXPECT_EQ(times_asked(unit.peer(), "DA010A01F"), 0);
    // All-zero replies are neither written nor counted.
    EXPECT_EQ(std::filesystem::file_size("temp.bcf"), 0u);
    EXPECT_EQ(std::filesystem::file_size("stream.bcf"), 0u);
}

TEST_F(PmsDownload, SilentUnitStopsWithinTheBound) {
    PeerOnPort<PmsPeer> unit(0);
    unit->fail_reads(0xA050, PmsPeer::ReadFault::Silent, PmsPeer::kForever);
    EXPECT_EQ(get_pms(unit.peer(), 0, 1), 0);

    EXPECT_EQ(read_text("temp.bcf"), expected_dump(PmsPeer::sample_memory(), 5));
    EXPECT_EQ(times_asked(unit.peer(), "DA050A05F"), pms::kBlockAttempts);
    // Ten 5-s waits, on top of the opening's seconds; not hours.
    EXPECT_GE(clock_.now_us(), pms::kBlockAttempts * 5'000'000LL);
    EXPECT_LT(clock_.now_us(), 75'000'000LL);
}

TEST_F(PmsDownload, ModeTwoRunsTheOpeningOnly) {
    std::ofstream("temp.bcf") << "older dump";
    PeerOnPort<PmsPeer> unit(0);
    EXPECT_EQ(get_pms(unit.peer(), 0, 2), 0);
    EXPECT_EQ(read_text("temp.bcf"), "older dump");
    EXPECT_FALSE(std::filesystem::exists("stream.bcf"));
    ASSERT_TRUE(unit->wait_handled(kOpeningBytes.size(), std::chrono::seconds(1)));
    EXPECT_EQ(unit->received(), kOpeningBytes);
}

TEST_F(PmsDownload, UnansweredOpeningStillEndsOnTheClock) {
    PeerOnPort<PmsPeer> unit(0);
    unit->set_fault(sim::Fault::Silent);
    EXPECT_EQ(get_pms(unit.peer(), 0, 2), 0);
    // Eight 5-s waits and six 1-s pauses.
    EXPECT_EQ(clock_.now_us(), 46'000'000LL);
}

// The caller judges a download by temp.bcf's size: a download that fails
// leaves both files empty, never an older image that passes for this one.
TEST_F(PmsDownload, DownloadThatCannotStartLeavesEmptyFiles) {
    PeerOnPort<PmsPeer> busy(0);
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);
    ComPortBinding missing(2, "/nonexistent/ttyKORV");
    const struct {
        int port;
        int expected;
    } cases[] = {
        {2, kSystemCallFailed},  // no such device
        {0, kSystemCallFailed},  // in use
        {-1, kBadPort},          // must not slip through as the defaults selector
        {128, kBadPort},
    };
    for (const auto& c : cases) {
        write_text("temp.bcf", "older dump");
        write_text("stream.bcf", "older trace");
        EXPECT_EQ(getPMS(c.port, 1, 1, 1), c.expected) << c.port;
        EXPECT_EQ(read_text("temp.bcf"), "") << c.port;
        EXPECT_EQ(read_text("stream.bcf"), "") << c.port;
        EXPECT_TRUE(std::filesystem::exists("stream.bcf")) << c.port;
    }
    EXPECT_EQ(open_defaults().line.baud, 19200);
    EXPECT_TRUE(busy->received().empty());
    EXPECT_EQ(clock_.now_us(), 0);
}

TEST_F(PmsDownload, OpeningThatCannotStartLeavesTheFilesAlone) {
    ComPortBinding missing(2, "/nonexistent/ttyKORV");
    write_text("temp.bcf", "older dump");
    write_text("stream.bcf", "older trace");
    EXPECT_EQ(getPMS(2, 2, 0, 0), kSystemCallFailed);
    EXPECT_EQ(getPMS(-1, 2, 0, 0), kBadPort);
    EXPECT_EQ(read_text("temp.bcf"), "older dump");
    EXPECT_EQ(read_text("stream.bcf"), "older trace");
}

TEST_F(PmsDownload, PortThatIsInUseIsReported) {
    PeerOnPort<PmsPeer> unit(0);
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);
    EXPECT_EQ(getPMS(0, 1, 0, 0), kSystemCallFailed);
    EXPECT_TRUE(unit->received().empty());
}

TEST_F(PmsDownload, DemonstrationPortGivesAnEmptyDumpAndTouchesNoDevice) {
    std::ofstream("temp.bcf") << "older dump";
    PeerOnPort<PmsPeer> com1(0);
    EXPECT_EQ(getPMS(kDemoPort, 2, 0, 0), 0);
    EXPECT_EQ(read_text("temp.bcf"), "older dump");
    EXPECT_EQ(getPMS(kDemoPort, 1, 0, 0), 0);
    EXPECT_EQ(std::filesystem::file_size("temp.bcf"), 0u);
    EXPECT_EQ(std::filesystem::file_size("stream.bcf"), 0u);
    EXPECT_TRUE(com1->received().empty());
    EXPECT_EQ(SioClose(0), kPortClosed);
}

}  // namespace
}  // namespace korv::korvio
