// The cable-0 engine end to end against the simulated box.
#include "nativeio/core/result_codes.h"
#include "nativeio/core/sio.h"
#include "nativeio/tests/obd_run_fixture.h"
#include "sim/core/cable0_box.h"

#include <gtest/gtest.h>

#include <thread>

namespace korv::korvio {
namespace {

using sim::Cable0Box;
using sim::PeerOnPort;
using testing::dump_bytes;
using testing::HostEvent;
using testing::pause;
using testing::RecordingHost;
using testing::repeated;
using testing::status;
using testsupport::read_bytes;
using Frames = std::vector<std::vector<std::uint8_t>>;

class Cable0Engine : public testing::ObdRunTest {
protected:
    int log(RecordingHost& h, const std::vector<int>& items, int port = 0) {
        return logdata(&h.host, port, 2, 0, items.data(), static_cast<int>(items.size()), 1);
    }
};

TEST_F(Cable0Engine, LogsWholeCyclesOfOneAndTwoByteParameters) {
    PeerOnPort<Cable0Box> box(0);
    ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
    ASSERT_EQ(SioReset(0, 0, 1024, 1024), 0);
    RecordingHost h;
    h.stop_after_status(3);
    // 20 (speed) has no parameter: no row and no id in the head.
    EXPECT_EQ(log(h, {9, 20, 7}), 0);

    EXPECT_EQ(box->frames(), (Frames{{0x04}, {0x0C}, {0x11}, {0x0C}, {0x11}, {0x0C}, {0x11}}));
    EXPECT_EQ(h.events(), (std::vector<HostEvent>{status(2), status(4), status(6), pause(0)}));
    // rpm 0C 80 as A, B; throttle 26 as 00 26; no chart calls from this engine.
    EXPECT_EQ(read_bytes("kvt1.tmp"),
              dump_bytes({9, 7}, repeated<std::vector<std::uint8_t>>({{9, 0x0C, 0x80}, {7, 0x00, 0x26}}, 3)));
}

TEST_F(Cable0Engine, ReportsEveryPassWhilePausedAndStartsTheBoxAgain) {
    PeerOnPort<Cable0Box> box(0);
    ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
    RecordingHost h;
    h.on_status = [](RecordingHost& host, int calls) {
        if (calls == 2) host.set_flag(2);  // pause after the second cycle
        if (calls == 5) host.set_flag(1);  // three passes later, go on
        if (calls == 6) host.set_flag(0);
    };
    EXPECT_EQ(log(h, {1}), 0);
    EXPECT_EQ(h.events(), (std::vector<HostEvent>{status(1), status(2), pause(2), status(2), status(2), status(2),
                                                  pause(1), status(3), pause(0)}));
    EXPECT_EQ(box->frames(), (Frames{{0x04}, {0x05}, {0x05}, {0x04}, {0x05}}));
    EXPECT_EQ(read_bytes("kvt1.tmp"), dump_bytes({1}, {{1, 0, 0x7B}, {1, 0, 0x7B}, {1, 0, 0x7B}}));
}

TEST_F(Cable0Engine, FailureMidCycleEndsTheRunWithoutItsPartialCycle) {
    PeerOnPort<Cable0Box> box(0);
    ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
    RecordingHost h;
    h.on_status = [&](RecordingHost&, int calls) {
        if (calls == 2) box->car().remove(0x11);  // throttle goes silent
    };
    const auto start = clock_.now_us();
    EXPECT_EQ(log(h, {9, 7}), kTimeOut);
    // Three 5-s time-outs on the same row, then the cycle is cut short.
    EXPECT_GE(clock_.now_us() - start, 15'000'000);
    EXPECT_EQ(box->frames(), (Frames{{0x04}, {0x0C}, {0x11}, {0x0C}, {0x11}, {0x0C}, {0x11}, {0x11}, {0x11}}));
    EXPECT_EQ(h.events(), (std::vector<HostEvent>{status(2), status(4), status(4)}));
    EXPECT_EQ(read_bytes("kvt1.tmp"),
              dump_bytes({9, 7}, repeated<std::vector<std::uint8_t>>({{9, 0x0C, 0x80}, {7, 0x00, 0x26}}, 2)));
}

TEST_F(Cable0Engine, StepFailuresCarryTheirOffsets) {
    // The box's port closes under the run: the purge is the first step to see it.
    PeerOnPort<Cable0Box> box(0);
    ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
    RecordingHost h;
    h.on_status = [](RecordingHost&, int calls) {
        if (calls == 1) SioClose(0);
    };
    EXPECT_EQ(log(h, {9}), kPortClosed + 3000);
    EXPECT_EQ(read_bytes("kvt1.tmp"), dump_bytes({9}, {{9, 0x0C, 0x80}}));
}

TEST_F(Cable0Engine, ProbeSendsTheStartByteAndWaitsForItsAnswer) {
    PeerOnPort<Cable0Box> box(0);
    ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
    const int items[] = {9};
    EXPECT_EQ(logdata(nullptr, 0, 1, 0, items, 1, 0), 0);
    // Any other mode runs the probe too, and writes no dump.
    EXPECT_EQ(logdata(nullptr, 0, 3, 0, items, 1, 0), 0);
    EXPECT_EQ(box->frames(), (Frames{{0x04}, {0x04}}));
    EXPECT_FALSE(std::filesystem::exists("kvt1.tmp"));

    box->set_fault(sim::Fault::Silent);
    EXPECT_EQ(logdata(nullptr, 0, 1, 0, items, 1, 0), kTimeOut);
    EXPECT_EQ(logdata(nullptr, 5, 1, 0, items, 1, 0), kPortClosed);
}

TEST_F(Cable0Engine, DemonstrationPortGivesItsFixedSamplesWithoutADevice) {
    RecordingHost h;
    h.stop_after_status(2);
    EXPECT_EQ(log(h, {9, 7}, kDemoPort), 0);
    EXPECT_EQ(read_bytes("kvt1.tmp"),
              dump_bytes({9, 7}, repeated<std::vector<std::uint8_t>>({{9, 0x00, 0x50}, {7, 0x00, 0x50}}, 2)));
    EXPECT_EQ(logdata(nullptr, kDemoPort, 1, 0, nullptr, 0, 0), 0);
}

TEST_F(Cable0Engine, EmptyListWritesTheCountOnlyAndStillFollowsTheFlag) {
    PeerOnPort<Cable0Box> box(0);
    ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
    RecordingHost h;
    h.stop_after_status(3);
    const auto sleeps = clock_.sleep_count();
    EXPECT_EQ(log(h, {}), 0);
    EXPECT_EQ(h.events(), (std::vector<HostEvent>{status(0), status(0), status(0), pause(0)}));
    EXPECT_EQ(read_bytes("kvt1.tmp"), dump_bytes({}, {}));
    // Each empty pass waited rather than spun.
    EXPECT_GE(clock_.sleep_count() - sleeps, 3);
}

TEST_F(Cable0Engine, DumpThatCannotBeCreatedFailsTheRunBeforeAnyRequest) {
    PeerOnPort<Cable0Box> box(0);
    ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
    std::filesystem::create_directory("kvt1.tmp");  // a name that cannot be opened as a file
    RecordingHost h;
    EXPECT_EQ(log(h, {9}), -100);
    EXPECT_TRUE(h.events().empty());
    EXPECT_TRUE(box->frames().empty());
}

}  // namespace
}  // namespace korv::korvio

namespace korv::korvio {
namespace {

// Run state belongs to the call: two runs on two ports do not meet.
TEST_F(Cable0Engine, TwoRunsOnTwoThreadsKeepTheirOwnCounts) {
    PeerOnPort<Cable0Box> box0(0);
    PeerOnPort<Cable0Box> box1(1);
    ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
    ASSERT_EQ(SioReset(99, 1, 1024, 1024), 0);
    RecordingHost h0;
    RecordingHost h1;
    h0.stop_after_status(20);
    h1.stop_after_status(15);
    int r0 = 99;
    std::thread other([&] { r0 = log(h0, {9}, 0); });
    EXPECT_EQ(log(h1, {7, 1}, 1), 0);
    other.join();
    EXPECT_EQ(r0, 0);
    std::vector<HostEvent> expected0;
    for (int n = 1; n <= 20; ++n) expected0.push_back(status(n));
    expected0.push_back(pause(0));
    std::vector<HostEvent> expected1;
    for (int n = 1; n <= 15; ++n) expected1.push_back(status(2 * n));
    expected1.push_back(pause(0));
    EXPECT_EQ(h0.events(), expected0);
    EXPECT_EQ(h1.events(), expected1);
    EXPECT_EQ(box0->frames().size(), 21u);
    EXPECT_EQ(box1->frames().size(), 31u);
}

}  // namespace
}  // namespace korv::korvio
