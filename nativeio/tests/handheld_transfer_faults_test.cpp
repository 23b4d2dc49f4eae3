// The handheld transfer through the faults of a real line: a handheld or a
// hub that stops for a while, a record that comes late, a byte lost or
// added. The transfer runs against the simulated handheld on the wire at
// 19200 baud, in lockstep on the test clock, so every time here is exact
// however loaded the machine is. Whatever the fault, the user gets the
// whole, exact log, or a transfer that fails with nothing in kvt1.tmp to
// pass for a log.
#include "nativeio/core/result_codes.h"
#include "nativeio/include/korvio_files.h"
#include "nativeio/tests/handheld_test_support.h"
#include "sim/core/line_glitch.h"
#include "testsupport/file_bytes.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <ostream>
#include <string>

namespace korv::korvio {
namespace {

using sim::Glitch;
using sim::HandheldLog;
using sim::HandheldPeer;
using sim::PeerOnPort;
using testing::Caller;
using Bytes = std::vector<std::uint8_t>;

const HandheldLog kDrive = HandheldPeer::sample_log(2);
// The handheld's answers before its first record: the announcement with
// the first id, then each further id.
const int kAnswersBeforeRecords = static_cast<int>(kDrive.ids.size());
const int kRecords = static_cast<int>(kDrive.records.size());

enum class Place { Announcement, MidLog, LastRecord };

struct Row {
    Place place;
    sim::NamedGlitch fault;
};

const char* name_of(Place place) {
    switch (place) {
    case Place::Announcement: return "announcement";
    case Place::MidLog: return "mid-log";
    case Place::LastRecord: return "last record";
    }
    return "";
}

int answers_before(Place place) {
    switch (place) {
    case Place::Announcement: return 0;
    case Place::MidLog: return kAnswersBeforeRecords + kRecords / 2;
    case Place::LastRecord: return kAnswersBeforeRecords + kRecords - 1;
    }
    return 0;
}

void PrintTo(const Row& row, std::ostream* out) { *out << name_of(row.place) << ", " << row.fault.name; }

std::vector<Row> rows() {
    std::vector<Row> out;
    for (Place place : {Place::Announcement, Place::MidLog, Place::LastRecord})
        for (const sim::NamedGlitch& fault : sim::fault_table(answers_before(place))) out.push_back({place, fault});
    return out;
}

// What getPNKORV must give: 0 with the whole log, or with an empty dump
// (Korvview: "No logged data to save!"), or a failure and an empty dump.
struct Expected {
    int result;
    bool whole_log;
};

Expected expected(const Row& row) {
    const sim::LineGlitch& glitch = row.fault.glitch;
    // Anything that ends within the 5-s wait of a byte or a record only delays it.
    const bool delay_only =
        glitch.kind == Glitch::Late || (glitch.kind == Glitch::Stall && glitch.duration_us < 5'000'000);
    if (delay_only) return {kDone, true};
    if (row.place != Place::Announcement) return {kHandheldRecordSpoilt, false};
    // The announcement: a byte added makes the width or the channel count
    // one that cannot be; a byte lost or a long stall leaves it unfinished.
    const bool added = glitch.kind == Glitch::StrayMid || glitch.kind == Glitch::StrayBetween;
    return {added ? kHandheldAnnouncementRefused : kDone, false};
}

Bytes whole_dump(const HandheldLog& log) {
    Bytes dump{log.width, static_cast<std::uint8_t>(log.ids.size())};
    dump.insert(dump.end(), log.ids.begin(), log.ids.end());
    for (const Bytes& record : log.records) dump.insert(dump.end(), record.begin(), record.end());
    return dump;
}

std::string what_korvview_says(int result, bool whole_log) {
    if (result != kDone) return "\"Palm access error: " + std::to_string(result) + "\"";
    return whole_log ? "the log is saved and opened" : "\"No logged data to save!\"";
}

class HandheldTransferThroughFaults : public testing::HandheldTest, public ::testing::WithParamInterface<Row> {};

TEST_P(HandheldTransferThroughFaults, GivesTheWholeLogOrFailsWithNothingToPassForOne) {
    const Row& row = GetParam();
    PeerOnPort<HandheldPeer> handheld(0, kDrive, sim::Pacing::Wire);
    handheld->inject(row.fault.glitch);
    Caller caller{&handheld.peer()};
    const int result = transfer(handheld.peer(), caller, 0);
    ASSERT_EQ(handheld->glitches_pending(), 0) << "the fault was played";

    const Expected want = expected(row);
    EXPECT_EQ(result, want.result);
    const Bytes dump = testsupport::read_bytes(korvio_files::kHandheldDumpName);
    if (want.whole_log) {
        EXPECT_EQ(dump, whole_dump(kDrive));
        EXPECT_TRUE(handheld->finished());
    } else {
        EXPECT_TRUE(dump.empty()) << dump.size() << " bytes left to pass for a log";
    }
    std::printf("handheld transfer, %s, %s: result %d at %lld ms, %zu bytes in kvt1.tmp; Korvview: %s\n",
                name_of(row.place), row.fault.name, result, static_cast<long long>(ended_us_ / 1000), dump.size(),
                what_korvview_says(result, !dump.empty()).c_str());
}

INSTANTIATE_TEST_SUITE_P(FaultTable, HandheldTransferThroughFaults, ::testing::ValuesIn(rows()),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             std::string name = std::string(name_of(info.param.place)) + "_" + info.param.fault.name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
}  // namespace korv::korvio
