// A logging run that fails leaves no earlier dump to be taken for its own;
// a probe, and a cable logdata hands back, leave the dumps alone.
#include "nativeio/include/korvio.h"
#include "nativeio/include/korvio_files.h"

#include "nativeio/core/result_codes.h"
#include "nativeio/tests/obd_run_fixture.h"
#include "sim/core/cable3_box.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace korv::korvio {
namespace {

using korvio_files::kDsmDump;
using korvio_files::kObdDump;
using sim::Cable3Box;
using sim::ComPortBinding;
using sim::PeerOnPort;
using testing::RecordingHost;
using testsupport::read_text;
using testsupport::write_text;

const std::string kOlderObd = "older OBD-II session";
const std::string kOlderDsm = "older DSM session";

class StaleDump : public testing::ObdRunTest {
protected:
    void SetUp() override { leave_older_dumps(); }
    static void leave_older_dumps() {
        write_text(kObdDump.name, kOlderObd);
        write_text(kDsmDump.name, kOlderDsm);
    }
};

struct FailedRun {
    const char* what;
    int cable;
    int items;                                  // that many ids of 9
    std::function<void(RecordingHost&)> spoil;  // the host, if anything
    int expected;
    bool no_host = false;
};

TEST_F(StaleDump, RunThatFailsBeforeItsDumpLeavesNoneOfItsKind) {
    const FailedRun runs[] = {
        {"more than 49 items", 0, 50, {}, kBadArgument},
        {"more than 49 items", 1, 50, {}, kBadArgument},
        {"more than 49 items", 2, 50, {}, kBadArgument},
        {"more than 49 items", 3, 50, {}, kBadArgument},
        {"more than 49 items", 4, 50, {}, kBadArgument},
        {"no stop flag", 0, 1, [](RecordingHost& h) { h.host.obd_stop_flag = nullptr; }, kStopFlagMissing},
        {"no status callback", 1, 1, [](RecordingHost& h) { h.host.update_status = nullptr; }, kBadArgument},
        {"no chart callback", 4, 1, [](RecordingHost& h) { h.host.plot_point = nullptr; }, kBadArgument},
        {"no host", 4, 1, {}, kStopFlagMissing, true},
    };
    for (const FailedRun& run : runs) {
        leave_older_dumps();
        RecordingHost h;
        if (run.spoil) run.spoil(h);
        const korvio_host* host = run.no_host ? nullptr : &h.host;
        const std::vector<int> items(static_cast<std::size_t>(run.items), 9);
        EXPECT_EQ(logdata(host, 0, 2, run.cable, items.data(), run.items, 0), run.expected)
            << run.what << ", cable " << run.cable;
        const bool dsm = run.cable == 4;
        EXPECT_FALSE(std::filesystem::exists(dsm ? kDsmDump.name : kObdDump.name))
            << run.what << ", cable " << run.cable;
        // The other family's dump is no concern of this run.
        EXPECT_EQ(read_text(dsm ? kObdDump.name : kDsmDump.name), dsm ? kOlderObd : kOlderDsm);
    }
}

TEST_F(StaleDump, KLineThatCannotComeUpLeavesNoDump) {
    ComPortBinding missing(0, "/nonexistent/ttyKORV");
    RecordingHost h;
    const int items[] = {9};
    EXPECT_EQ(logdata(&h.host, 0, 2, 2, items, 1, 0), kTimeOut);
    EXPECT_FALSE(std::filesystem::exists(kObdDump.name));
}

TEST_F(StaleDump, BoxThatCannotBeSetUpOrARunRefusedAfterItLeavesNoDump) {
    PeerOnPort<Cable3Box> box(0);
    ASSERT_EQ(SioReset(99, 0, 1024, 1024), 0);
    const int items[] = {9};
    box->set_carrier_fault(true);
    RecordingHost h;
    EXPECT_EQ(logdata(&h.host, 0, 2, 3, items, 1, 0), kTimeOut);
    EXPECT_FALSE(std::filesystem::exists(kObdDump.name));

    // The set-up succeeds, the look-up after it fails.
    leave_older_dumps();
    box->set_carrier_fault(false);
    EXPECT_EQ(logdata(nullptr, 0, 2, 3, items, 1, 0), kStopFlagMissing);
    EXPECT_FALSE(std::filesystem::exists(kObdDump.name));
    EXPECT_EQ(read_text(kDsmDump.name), kOlderDsm);
}

TEST_F(StaleDump, ProbesAndCablesHandedBackLeaveTheDumps) {
    const int items[] = {9};
    // Whatever a probe finds on the closed port, it writes no dump.
    for (int cable : {0, 1, 2, 3, 4})
        for (int mode : {0, 1, 3}) logdata(nullptr, 6, mode, cable, items, 1, 0);
    for (int cable : {5, -1}) EXPECT_EQ(logdata(nullptr, 6, 2, cable, items, 1, 0), cable);
    EXPECT_EQ(read_text(kObdDump.name), kOlderObd);
    EXPECT_EQ(read_text(kDsmDump.name), kOlderDsm);
}

TEST_F(StaleDump, FolderInTheDumpsPlaceIsNoDumpToClear) {
    std::filesystem::remove(kObdDump.name);
    std::filesystem::create_directory(kObdDump.name);
    const std::vector<int> items(50, 9);
    RecordingHost h;
    EXPECT_EQ(logdata(&h.host, 0, 2, 0, items.data(), 50, 0), -100);
    EXPECT_TRUE(std::filesystem::is_directory(kObdDump.name));
}

}  // namespace
}  // namespace korv::korvio
