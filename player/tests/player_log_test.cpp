// The record cursor and the open log: stepping rules, the end of the log,
// and failed opens that must leave no log behind.
#include "player/core/player_log.h"
#include "player/core/playback_cursor.h"
#include "player/tests/test_files.h"

#include <gtest/gtest.h>

using namespace korv::player;
using namespace korv::player::testing_support;

TEST(PointCursor, ZeroRewindsOneStepsAndAboveOneIsAbsolute) {
    EXPECT_EQ(point_cursor(5, 0, 10).cursor, 0);
    EXPECT_EQ(point_cursor(5, 1, 10).cursor, 6);
    EXPECT_EQ(point_cursor(5, -1, 10).cursor, 4);
    EXPECT_EQ(point_cursor(5, 2, 10).cursor, 2);  // 2 is a record number, not a step of two
    EXPECT_EQ(point_cursor(5, -3, 10).cursor, 2);
}

TEST(PointCursor, BackAtTheStartStaysAtZero) {
    const CursorStep step = point_cursor(0, -1, 10);
    EXPECT_EQ(step.cursor, 0);
    EXPECT_EQ(step.record, 0);
}

TEST(PointCursor, PastTheEndShowsTheLastRecordWithTheCursorOnTheCount) {
    const CursorStep forward = point_cursor(9, 1, 10);
    EXPECT_EQ(forward.cursor, 10);
    EXPECT_EQ(forward.record, 9);
    const CursorStep back = point_cursor(forward.cursor, -1, 10);
    EXPECT_EQ(back.cursor, 9);
    EXPECT_EQ(back.record, 9);
    EXPECT_EQ(point_cursor(0, 1'000'000, 10).record, 9);
}

TEST(PointCursor, ALogWithoutRecordsHasNothingToRead) {
    for (std::int64_t n : {0, 1, -1, 5}) {
        const CursorStep step = point_cursor(0, n, 0);
        EXPECT_EQ(step.cursor, 0);
        EXPECT_FALSE(step.record.has_value());
    }
}

class PlayerLogFile : public InScratchFolder {
protected:
    // Records of 1000, 2000, ... rpm (channel id 9), big-endian.
    void write_rpm_log(const std::string& name, int records, std::size_t trailing_bytes = 0) {
        std::vector<std::vector<float>> values;
        for (int i = 1; i <= records; ++i) values.push_back({float(1000 * i)});
        Bytes bytes = minimal_log({9}, values);
        append_zeros(bytes, trailing_bytes);
        write_bytes(path(name), bytes);
    }
    std::int32_t shown_rpm() { return log.vxm().vxm_rpms; }
    void step(std::int64_t n) {
        log.point_log_file(n);
        ASSERT_TRUE(log.read_log_record().read);
    }
    PlayerLog log;
};

TEST_F(PlayerLogFile, ForwardAtTheEndKeepsTheLastRecordAndBackReturnsToIt) {
    write_rpm_log("a.db1", 3);
    ASSERT_FALSE(log.open(path("a.db1"), LogFileType::vxm, korv::FloatOrder::big));
    EXPECT_EQ(log.log_records(), 3);
    EXPECT_EQ(log.first_record(), 13 + 30);
    step(0);
    EXPECT_EQ(shown_rpm(), 1000);
    step(1);
    step(1);
    EXPECT_EQ(shown_rpm(), 3000);
    EXPECT_EQ(log.current_log_record(), 2);
    step(1);
    EXPECT_EQ(shown_rpm(), 3000);
    EXPECT_EQ(log.current_log_record(), 3);
    step(-1);
    EXPECT_EQ(shown_rpm(), 3000);
    EXPECT_EQ(log.current_log_record(), 2);
}

TEST_F(PlayerLogFile, APartialLastRecordIsNeverRead) {
    write_rpm_log("b.db1", 2, 4);  // two and a half records of 8 bytes
    ASSERT_FALSE(log.open(path("b.db1"), LogFileType::vxm, korv::FloatOrder::big));
    EXPECT_EQ(log.log_records(), 2);
    step(5);
    EXPECT_EQ(log.current_log_record(), 2);
    EXPECT_EQ(shown_rpm(), 2000);  // the last whole record, not one straddling the partial one
}

TEST_F(PlayerLogFile, SliderValuesLandOnTheirRecords) {
    write_rpm_log("c.db2", 4);
    ASSERT_FALSE(log.open(path("c.db2"), LogFileType::vxm, korv::FloatOrder::big));
    step(0);
    step(1);  // the slider's value 1: rewind, then one step
    EXPECT_EQ(shown_rpm(), 2000);
    step(0);
    step(3);
    EXPECT_EQ(shown_rpm(), 4000);
}

TEST_F(PlayerLogFile, ALogWithoutRecordsReadsNothing) {
    write_rpm_log("empty.db1", 0);
    write_bytes(path("empty.dab"), Bytes(100, 0));
    for (auto [name, type] : {std::pair{"empty.db1", LogFileType::vxm}, std::pair{"empty.dab", LogFileType::pms}}) {
        ASSERT_FALSE(log.open(path(name), type, korv::FloatOrder::big)) << name;
        EXPECT_EQ(log.log_records(), 0);
        for (std::int64_t n : {0, 1, -1, 7}) {
            log.point_log_file(n);
            EXPECT_FALSE(log.read_log_record().read) << name << " step " << n;
            EXPECT_EQ(log.current_log_record(), 0);
        }
    }
}

TEST_F(PlayerLogFile, PmsLogsStepLikeVxmLogs) {
    write_bytes(path("p.dab"), dab_log({dab_record({{5, 100}}), dab_record({{5, 200}})}));
    ASSERT_FALSE(log.open(path("p.dab"), LogFileType::pms));
    step(0);
    EXPECT_EQ(log.pms().pms_ecu_rpms, 1000);
    step(1);
    step(1);
    EXPECT_EQ(log.pms().pms_ecu_rpms, 2000);
    EXPECT_EQ(log.current_log_record(), 2);
}

TEST_F(PlayerLogFile, FailedOpensLeaveNoLog) {
    const auto missing = log.open(path("missing.db1"), LogFileType::vxm, korv::FloatOrder::big);
    ASSERT_TRUE(missing);
    EXPECT_EQ(*missing, "1) Unable to open file: No such file or directory");
    EXPECT_FALSE(log.is_open());

    Bytes too_many = minimal_header({});
    too_many[5] = 150;  // more channels than the player's table holds
    write_bytes(path("bad.db1"), too_many);
    const auto bad = log.open(path("bad.db1"), LogFileType::vxm, korv::FloatOrder::big);
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->rfind("4) Unable to open file: ", 0), 0u) << *bad;
    EXPECT_FALSE(log.is_open());
    EXPECT_EQ(log.log_records(), 0);
    log.point_log_file(1);
    EXPECT_FALSE(log.read_log_record().read);

    std::filesystem::create_directory(path("folder.dab"));
    EXPECT_TRUE(log.open(path("folder.dab"), LogFileType::pms));
    EXPECT_FALSE(log.is_open());
}

TEST(LogNames, TheSuffixDecidesTheKindCaseBlind) {
    EXPECT_EQ(classify_log_name("/x/run.VXG"), LogNameKind::vxm_little);
    EXPECT_EQ(classify_log_name("run.db1"), LogNameKind::vxm_big);
    EXPECT_EQ(classify_log_name("run.Db2"), LogNameKind::vxm_big);
    EXPECT_EQ(classify_log_name("run.DAB"), LogNameKind::pms);
    EXPECT_EQ(classify_log_name("run.db3"), LogNameKind::unknown);
    EXPECT_EQ(classify_log_name("run.csv"), LogNameKind::unknown);
}
