#include "nativeio/include/korvio.h"

#include "nativeio/core/host.h"
#include "nativeio/core/item_list.h"
#include "nativeio/core/port_table.h"
#include "nativeio/tests/slot_fixture.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>

namespace korv::korvio {
namespace {

using platform::serial::LineChange;
using platform::serial::OutputLine;
using sim::ComPortBinding;
using sim::PeerOnPort;
using testing::ListeningPeer;
using testing::SlotTest;
using testsupport::WorkingFolder;

void ignore_int(void*, int) {}
void ignore_plot(void*, int, int, int, int, int) {}

struct Host {
    int obd = 1;
    int drb = 1;
    int pms = 1;
    korvio_host host{nullptr, &obd, &drb, &pms, &ignore_int, &ignore_int, &ignore_plot, &ignore_int};
};

TEST(EntryPoints, VersionIsSix) { EXPECT_EQ(getver(), 6); }

TEST_F(SlotTest, OpenOnlyResetOpensWithBothLinesUp) {
    PeerOnPort<ListeningPeer> peer(1);
    EXPECT_EQ(SioReset(99, 1, 0, 0), 0);
    std::vector<std::pair<OutputLine, bool>> seen;
    for (const LineChange& c : peer->lines().changes()) seen.emplace_back(c.line, c.on);
    EXPECT_EQ(seen, (std::vector<std::pair<OutputLine, bool>>{{OutputLine::Dtr, true}, {OutputLine::Rts, true}}));
    EXPECT_EQ(SioDTR(1, 'R'), 1);
    EXPECT_EQ(SioRTS(1, 'R'), 2);
    // A second open is refused with the open offset and the port stays usable.
    EXPECT_EQ(SioReset(99, 1, 1024, 1024), kSystemCallFailed + kOpenOffset);
    EXPECT_EQ(SioPutc(1, 0x33), kDone);
    EXPECT_EQ(SioDone(1), 1);
    EXPECT_EQ(SioDone(1), kPortClosed);
}

TEST_F(SlotTest, OpenOnlyResetReportsFailuresWithTheOpenOffset) {
    // -1 is no port: it must not slip through as the defaults selector.
    EXPECT_EQ(SioReset(99, -1, 1024, 1024), kBadPort + kOpenOffset);
    EXPECT_FALSE(open_defaults().dtr);
    EXPECT_EQ(SioReset(99, 128, 1024, 1024), kBadPort + kOpenOffset);
    ComPortBinding com(2, "/nonexistent/ttyKORV");
    EXPECT_EQ(SioReset(99, 2, 1024, 1024), kSystemCallFailed + kOpenOffset);
}

TEST_F(SlotTest, DemonstrationPortIsANullDevice) {
    WorkingFolder cwd;
    std::ofstream("logtrace.tmp") << "old trace";
    // COM1 would be in use by another interface; it must not be touched.
    PeerOnPort<ListeningPeer> com1(0);
    ASSERT_EQ(SioOpen(0, 1024, 1024), kDone);

    EXPECT_EQ(SioReset(99, kDemoPort, 1024, 1024), 0);
    EXPECT_FALSE(std::filesystem::exists("logtrace.tmp"));
    EXPECT_EQ(SioReset(99, kDemoPort, 1024, 1024), 0);  // nothing to delete: still 0
    for (int cable : {0, 1, 2, 3, 4, 5, 7}) EXPECT_EQ(SioReset(cable, kDemoPort, 1024, 1024), 0) << cable;
    EXPECT_EQ(dodiag(kDemoPort, 0), 0);
    EXPECT_EQ(SioDone(kDemoPort), 0);

    EXPECT_EQ(SioPutc(0, 0x11), kDone);  // COM1 still open
    ASSERT_TRUE(com1->wait_received(1, std::chrono::seconds(1)));
    EXPECT_EQ(com1->received(), std::vector<std::uint8_t>{0x11});
    EXPECT_TRUE(com1->lines().changes().size() == 2);  // only its own open
}

TEST_F(SlotTest, CableBringUpAnswers) {
    // Cables 0-4 have tests of their own; the DSM link's first step finds the port closed.
    EXPECT_EQ(SioReset(4, 0, 1024, 1024), kPortClosed + 6000);
    for (int cable : {5, 7, -3}) EXPECT_EQ(SioReset(cable, 0, 1024, 1024), 0) << cable;
}

TEST_F(SlotTest, DoneReportsTheCloseResult) {
    EXPECT_EQ(SioDone(-1), kBadPort);
    EXPECT_EQ(SioDone(128), kBadPort);
    EXPECT_EQ(SioDone(6), kPortClosed);
}

TEST(Logdata, CableOutsideTheRangeComesBackBeforeAnythingIsChecked) {
    for (int cable : {5, 7, -1, 99}) EXPECT_EQ(logdata(nullptr, -7, 2, cable, nullptr, -1, 0), cable) << cable;
}

TEST(Logdata, ItemListIsCheckedFirst) {
    Host h;
    std::vector<int> items(50, 9);
    EXPECT_EQ(logdata(&h.host, 0, 2, 0, items.data(), 50, 0), kBadArgument);
    EXPECT_EQ(logdata(nullptr, 0, 2, 0, nullptr, 3, 0), kBadArgument);
    EXPECT_EQ(logdata(nullptr, 0, 2, 0, items.data(), -1, 0), kBadArgument);
    // Negative entries do not count towards the 49.
    items.push_back(-1);
    items[0] = -5;
    EXPECT_EQ(logdata(nullptr, 0, 2, 0, items.data(), 51, 0), kStopFlagMissing);
}

TEST(Logdata, RunLooksUpTheFlagThenTheCallbacks) {
    const int items[] = {9, 7};
    EXPECT_EQ(logdata(nullptr, 0, 2, 0, items, 2, 0), kStopFlagMissing);
    for (int cable : {0, 1, 4}) {
        Host h;
        (cable == 4 ? h.host.drb_stop_flag : h.host.obd_stop_flag) = nullptr;
        EXPECT_EQ(logdata(&h.host, 0, 2, cable, items, 2, 1), kStopFlagMissing) << cable;
    }
    Host h;
    h.host.update_status = nullptr;
    h.host.obd_stop_flag = nullptr;
    EXPECT_EQ(logdata(&h.host, 0, 2, 0, items, 2, 0), kStopFlagMissing);  // the flag comes first
    h.host.obd_stop_flag = &h.obd;
    EXPECT_EQ(logdata(&h.host, 0, 2, 0, items, 2, 0), kBadArgument);
    // A probe looks nothing up: here it finds the port closed.
    EXPECT_EQ(logdata(nullptr, 0, 1, 0, items, 2, 0), kPortClosed);
}

TEST(HostLookups, FollowTheOrderAndWhoCharts) {
    Host h;
    EXPECT_EQ(look_up_engine_host(&h.host, StopFlagFamily::Obd, true), kDone);
    EXPECT_EQ(look_up_engine_host(nullptr, StopFlagFamily::Drb, false), kStopFlagMissing);

    Host no_plot;
    no_plot.host.plot_point = nullptr;
    EXPECT_EQ(look_up_engine_host(&no_plot.host, StopFlagFamily::Obd, false), kDone);
    EXPECT_EQ(look_up_engine_host(&no_plot.host, StopFlagFamily::Drb, true), kBadArgument);

    Host no_pause;
    no_pause.host.update_pause = nullptr;
    EXPECT_EQ(look_up_engine_host(&no_pause.host, StopFlagFamily::Obd, false), kBadArgument);
    no_pause.host.drb_stop_flag = nullptr;
    EXPECT_EQ(look_up_engine_host(&no_pause.host, StopFlagFamily::Drb, false), kStopFlagMissing);
    // Only the family's own flag counts.
    EXPECT_EQ(look_up_engine_host(&no_plot.host, StopFlagFamily::Obd, false), kDone);
}

TEST(HostLookups, StopFlagIsReadAsTheCallerLastWroteIt) {
    int flag = kStopFlagRun;
    std::atomic<bool> go{false};
    std::thread caller([&] {
        while (!go) std::this_thread::yield();
        std::atomic_ref<int>(flag).store(kStopFlagPause, std::memory_order_release);
    });
    EXPECT_EQ(read_stop_flag(&flag), kStopFlagRun);
    go = true;
    caller.join();
    EXPECT_EQ(read_stop_flag(&flag), kStopFlagPause);
}

TEST(EntryPoints, EnginesNotInThisBuildAnswerMinus101) {
    Host h;
    h.host.update_pnkorv = nullptr;
    EXPECT_EQ(getPNKORV(&h.host, 0), kBadArgument);
    EXPECT_EQ(getPNKORV(nullptr, 0), kBadArgument);
}

TEST(ItemList, KeepsUsableIdsInOrder) {
    const int items[] = {-1, 9, 18, -7, 3};
    std::vector<int> usable;
    EXPECT_EQ(read_item_list(items, 5, &usable), kDone);
    EXPECT_EQ(usable, (std::vector<int>{9, 18, 3}));
    EXPECT_EQ(read_item_list(nullptr, 0, &usable), kDone);
    EXPECT_TRUE(usable.empty());
    std::vector<int> full(kMaxUsableItems, 1);
    EXPECT_EQ(read_item_list(full.data(), kMaxUsableItems, &usable), kDone);
}

}  // namespace
}  // namespace korv::korvio
