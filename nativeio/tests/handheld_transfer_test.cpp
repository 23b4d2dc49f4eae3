#include "nativeio/include/korvio.h"

#include "nativeio/core/handheld_transfer.h"
#include "nativeio/core/port_table.h"
#include "nativeio/tests/handheld_test_support.h"
#include "testsupport/file_bytes.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace korv::korvio {
namespace {

using sim::ComPortBinding;
using sim::HandheldLog;
using sim::HandheldPeer;
using sim::PeerOnPort;
using testing::Caller;
using testsupport::read_bytes;
using Bytes = std::vector<std::uint8_t>;

using HandheldTransfer = testing::HandheldTest;

HandheldLog example_log() {
    HandheldLog log;
    log.width = 1;
    log.ids = {0x09, 0x07};
    log.records = {{0x09, 0x80}, {0xFF, 0x00}, {0x07, 0x33}};
    return log;
}

TEST_F(HandheldTransfer, ExampleLogIsStoredAndAcknowledged) {
    // Other open defaults must not matter: the port is set after it opens.
    SioBaud(kDefaults, 9600);
    PeerOnPort<HandheldPeer> handheld(0, example_log());
    Caller caller{&handheld.peer()};
    EXPECT_EQ(transfer(handheld.peer(), caller, 0), 0);

    EXPECT_EQ(read_bytes("kvt1.tmp"), (Bytes{0x01, 0x02, 0x09, 0x07, 0x09, 0x80, 0x07, 0x33}));
    EXPECT_EQ(handheld->received(), (Bytes{0x00, 0x09, 0x07, 0x09, 0xFF, 0x07}));
    EXPECT_TRUE(handheld->finished());
    EXPECT_EQ(caller.progress, std::vector<int>(8, 1));
    EXPECT_EQ(handheld->wrong_speed_bytes(), 0);
    EXPECT_EQ(SioClose(0), kPortClosed);
}

// Silence before a record ends a transfer; a record cut by a time-out, or
// one under an id the handheld never announced, is no log: the transfer
// fails, leaves kvt1.tmp empty and does not acknowledge the record.
TEST_F(HandheldTransfer, ASpoiltRecordFailsTheTransferAndLeavesNoDump) {
    const struct {
        const char* what;
        Bytes record;
    } cases[] = {
        {"an id never announced", {0x05, 0x44}},
        {"a record cut short", {0x07}},
    };
    for (const auto& c : cases) {
        HandheldLog log = example_log();
        log.records = {{0x09, 0x80}, c.record, {0x07, 0x33}};
        PeerOnPort<HandheldPeer> handheld(0, log);
        Caller caller{&handheld.peer()};
        EXPECT_EQ(transfer(handheld.peer(), caller, 0), kHandheldRecordSpoilt) << c.what;
        EXPECT_EQ(std::filesystem::file_size("kvt1.tmp"), 0u) << c.what;
        EXPECT_EQ(handheld->received(), (Bytes{0x00, 0x09, 0x07, 0x09})) << c.what;
        EXPECT_EQ(SioClose(0), kPortClosed) << c.what;
    }
}

TEST_F(HandheldTransfer, TwoByteRecordsAreStoredWhole) {
    const HandheldLog log = HandheldPeer::sample_log(2);
    PeerOnPort<HandheldPeer> handheld(3, log);
    Caller caller{&handheld.peer()};
    EXPECT_EQ(transfer(handheld.peer(), caller, 3), 0);

    Bytes expected{2, static_cast<std::uint8_t>(log.ids.size())};
    expected.insert(expected.end(), log.ids.begin(), log.ids.end());
    for (const Bytes& record : log.records) expected.insert(expected.end(), record.begin(), record.end());
    EXPECT_EQ(read_bytes("kvt1.tmp"), expected);
    EXPECT_TRUE(handheld->finished());
    // Three handshake steps, W, one per id, then W per record.
    EXPECT_EQ(caller.total(), 4 + static_cast<int>(log.ids.size()) + 2 * static_cast<int>(log.records.size()));
}

TEST_F(HandheldTransfer, NoButtonPressWithinThirtySecondsLeavesAnEmptyDump) {
    PeerOnPort<HandheldPeer> handheld(0, example_log());
    Caller caller;  // nobody presses
    EXPECT_EQ(transfer(handheld.peer(), caller, 0), 0);
    EXPECT_GE(clock_.now_us(), 30'000'000LL);
    EXPECT_LT(clock_.now_us(), 31'000'000LL);
    ASSERT_TRUE(std::filesystem::exists("kvt1.tmp"));
    EXPECT_EQ(std::filesystem::file_size("kvt1.tmp"), 0u);
    EXPECT_EQ(caller.progress, std::vector<int>{1});
    EXPECT_TRUE(handheld->received().empty());
}

TEST_F(HandheldTransfer, AnotherStartByteEndsAtOnce) {
    PeerOnPort<HandheldPeer> handheld(0, example_log());
    handheld->set_start_byte(0x7F);
    Caller caller{&handheld.peer()};
    EXPECT_EQ(transfer(handheld.peer(), caller, 0), 0);
    EXPECT_EQ(std::filesystem::file_size("kvt1.tmp"), 0u);
    EXPECT_EQ(caller.progress, (std::vector<int>{1, 1}));
    EXPECT_TRUE(handheld->received().empty());
    EXPECT_LT(clock_.now_us(), 1'000'000LL);
}

TEST_F(HandheldTransfer, OversizeAnnouncementsAreRefused) {
    struct Case {
        std::uint8_t width;
        int channels;
    };
    for (const Case c : {Case{12, 2}, Case{0, 2}, Case{255, 2}, Case{1, 53}, Case{2, 255}}) {
        HandheldLog log;
        log.width = c.width;
        log.ids.assign(static_cast<std::size_t>(c.channels), 9);
        PeerOnPort<HandheldPeer> handheld(0, log);
        Caller caller{&handheld.peer()};
        EXPECT_EQ(transfer(handheld.peer(), caller, 0), kHandheldAnnouncementRefused)
            << int{c.width} << " " << c.channels;
        EXPECT_EQ(std::filesystem::file_size("kvt1.tmp"), 0u);
        EXPECT_EQ(handheld->received(), Bytes{0x00});  // no id is sent back
        EXPECT_EQ(SioClose(0), kPortClosed);
    }
}

TEST_F(HandheldTransfer, LargestAnnouncementFits) {
    HandheldLog log;
    log.width = 11;
    for (int id = 0; id < 52; ++id) log.ids.push_back(static_cast<std::uint8_t>(id));
    Bytes record{48};
    for (int i = 0; i < 11; ++i) record.push_back(static_cast<std::uint8_t>(0xA0 + i));
    log.records = {record, record};
    PeerOnPort<HandheldPeer> handheld(0, log);
    Caller caller{&handheld.peer()};
    EXPECT_EQ(transfer(handheld.peer(), caller, 0), 0);

    const Bytes dump = read_bytes("kvt1.tmp");
    ASSERT_EQ(dump.size(), 2u + 52 + 2 * 12);
    EXPECT_EQ(dump[0], 11);
    EXPECT_EQ(dump[1], 52);
    EXPECT_EQ(Bytes(dump.end() - 12, dump.end()), record);
    EXPECT_EQ(caller.total(), 4 + 52 + 2 * 11);
}

TEST_F(HandheldTransfer, AnIdThatDoesNotArriveEndsTheTransferWithoutAHeader) {
    HandheldLog log = example_log();
    log.ids = {0x09, 0x07, 0x01};
    PeerOnPort<HandheldPeer> handheld(0, log);
    handheld->stop_after_ids(2);
    Caller caller{&handheld.peer()};
    EXPECT_EQ(transfer(handheld.peer(), caller, 0), 0);
    EXPECT_EQ(std::filesystem::file_size("kvt1.tmp"), 0u);
    EXPECT_EQ(handheld->received(), (Bytes{0x00, 0x09, 0x07}));
    EXPECT_GE(clock_.now_us(), 5'000'000LL);
}

TEST_F(HandheldTransfer, MissingCallbackIsFoundBeforeTheDumpIsTouched) {
    std::ofstream("kvt1.tmp") << "earlier transfer";
    PeerOnPort<HandheldPeer> handheld(0, example_log());
    Caller caller;
    caller.host.update_pnkorv = nullptr;
    EXPECT_EQ(getPNKORV(&caller.host, 0), kBadArgument);
    EXPECT_EQ(getPNKORV(nullptr, 0), kBadArgument);
    EXPECT_EQ(testsupport::read_text("kvt1.tmp"), "earlier transfer");
    EXPECT_EQ(SioClose(0), kPortClosed);
}

TEST_F(HandheldTransfer, PortThatCannotOpenGivesTheOpenResult) {
    ComPortBinding missing(1, "/nonexistent/ttyKORV");
    Caller caller;
    EXPECT_EQ(getPNKORV(&caller.host, 1), kSystemCallFailed);
    EXPECT_EQ(std::filesystem::file_size("kvt1.tmp"), 0u);
    EXPECT_TRUE(caller.progress.empty());
    // -1 is no port: it must not slip through as the defaults selector.
    EXPECT_EQ(getPNKORV(&caller.host, -1), kBadPort);
    EXPECT_FALSE(open_defaults().dtr);
    EXPECT_EQ(getPNKORV(&caller.host, 128), kBadPort);
}

TEST_F(HandheldTransfer, DemonstrationPortHasNoHandheld) {
    std::ofstream("kvt1.tmp") << "earlier transfer";
    PeerOnPort<HandheldPeer> com1(0, example_log());
    Caller caller;
    EXPECT_EQ(getPNKORV(&caller.host, kDemoPort), 0);
    EXPECT_EQ(std::filesystem::file_size("kvt1.tmp"), 0u);
    EXPECT_EQ(caller.progress, std::vector<int>{1});
    EXPECT_EQ(SioClose(0), kPortClosed);
}

}  // namespace
}  // namespace korv::korvio
