// The chart feed's pass over a log against stepping through it record by
// record, as Play does: the same points for every chart, the same failure,
// the cursor left in the same place.
#include "player/core/chart_point_pass.h"
#include "player/core/strip_chart_feed.h"
#include "player/tests/test_files.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

using namespace korv::player;
using namespace korv::player::testing_support;

namespace {

using PointsBySlot = std::array<std::vector<std::int32_t>, kMaxCharts + 1>;

struct PassResult {
    PointsBySlot points;
    std::optional<std::string> error;
    std::int64_t cursor = 0;
    float current_rpm = 0.0f;
};

// Play's stepping: from record 1 on, the last record read again at the end.
PassResult step_record_by_record(PlayerLog& log) {
    PassResult result;
    ChartPoints points;
    do {
        log.point_log_file(1);
        const RecordRead read = log.read_log_record();
        if (read.error) {
            result.error = read.error;
            break;
        }
        if (!read.read) break;
        if (log.logfiletype() == LogFileType::pms) {
            pms_chart_points(log.pms(), points);
        } else {
            vxm_chart_points(log.vxm(), points);
        }
        for (int slot = 1; slot <= kMaxCharts; ++slot) {
            if (points.has(slot)) result.points[slot].push_back(points.value[slot]);
        }
    } while (log.current_log_record() < log.log_records());
    result.cursor = log.current_log_record();
    result.current_rpm = static_cast<float>(log.vxm().vxm_rpms);
    return result;
}

PassResult pass(PlayerLog& log) {
    PassResult result;
    result.error = pass_chart_points(log, [&](int slot, std::span<const std::int32_t> points) {
        result.points[slot].insert(result.points[slot].end(), points.begin(), points.end());
    });
    result.cursor = log.current_log_record();
    result.current_rpm = static_cast<float>(log.vxm().vxm_rpms);
    return result;
}

// rpm, tps, O2 volts, timing, pulse width, knock: wandering values with junk now and then.
std::vector<std::vector<float>> varied_records(int count) {
    std::vector<std::vector<float>> records;
    for (int i = 0; i < count; ++i) {
        const float wave = float((i * 37) % 200) - 20.0f;
        records.push_back({float((i * 7919) % 9500) - 300.0f, wave * 0.6f, wave / 120.0f, wave / 4.0f, wave / 9.0f,
                           i % 977 == 5 ? 3.0e9f : float(i % 300)});
    }
    return records;
}

class ChartPointPass : public InScratchFolder {
protected:
    void open_both(const std::string& name, LogFileType type) {
        ASSERT_EQ(stepped_log.open(path(name), type), std::nullopt);
        ASSERT_EQ(passed_log.open(path(name), type), std::nullopt);
    }
    // Returns what stepping gave.
    PassResult expect_same_pass() {
        PassResult expected = step_record_by_record(stepped_log);
        const PassResult got = pass(passed_log);
        for (int slot = 1; slot <= kMaxCharts; ++slot) EXPECT_EQ(got.points[slot], expected.points[slot]) << slot;
        EXPECT_EQ(got.error, expected.error);
        EXPECT_EQ(got.cursor, expected.cursor);
        EXPECT_EQ(got.current_rpm, expected.current_rpm);
        return expected;
    }

    PlayerLog stepped_log;
    PlayerLog passed_log;
};

}  // namespace

// Lengths around the block size and the smallest logs, where record 0 is
// left out or is all there is.
TEST_F(ChartPointPass, VxmLogsGiveThePointsOfStepping) {
    for (int records : {0, 1, 2, 3, 4095, 4096, 4097, 9000}) {
        SCOPED_TRACE(std::to_string(records) + " records");
        write_bytes(path("varied.db1"), minimal_log({9, 7, 3, 0, 10, 17}, varied_records(records)));
        open_both("varied.db1", LogFileType::vxm);
        expect_same_pass();
    }
}

// A channel named twice: the later column is the one the record keeps.
TEST_F(ChartPointPass, AChannelNamedTwiceGivesThePointsOfStepping) {
    std::vector<std::vector<float>> records;
    for (const auto& r : varied_records(5000)) records.push_back({r[0], r[5], r[1] * 40.0f, r[4]});
    write_bytes(path("twice.db1"), minimal_log({9, 17, 9, 10}, records));
    open_both("twice.db1", LogFileType::vxm);
    expect_same_pass();
}

TEST_F(ChartPointPass, PmsLogsGiveThePointsOfStepping) {
    const Bytes fast = dab_record({{5, 0xF4}, {6, 0x01}, {9, 0x30}});
    const Bytes slow = dab_record({{5, 0x20}, {6, 0x00}, {12, 0x80}});
    write_bytes(path("run.dab"), dab_log({fast, slow, fast, slow}));
    open_both("run.dab", LogFileType::pms);
    expect_same_pass();
}

// The file loses its tail after the log was opened, beyond what the first
// read took in: the points up to the failure, then the failure itself,
// exactly as stepping meets them.
TEST_F(ChartPointPass, AFileCutShortFailsWhereSteppingFails) {
    constexpr std::uintmax_t kRecords = 60000;  // 1.7 MB, past the reader's first 1 MiB
    for (std::uintmax_t kept_records : {40000u, 45000u, 59998u}) {
        SCOPED_TRACE(std::to_string(kept_records) + " records kept");
        write_bytes(path("cut.db1"), minimal_log({9, 7, 3, 0, 10, 17}, varied_records(int(kRecords))));
        open_both("cut.db1", LogFileType::vxm);
        const std::uintmax_t header = std::filesystem::file_size(path("cut.db1")) - kRecords * 28u;
        std::filesystem::resize_file(path("cut.db1"), header + kept_records * 28u + 9u);
        const PassResult stepped = expect_same_pass();
        EXPECT_TRUE(stepped.error);
        EXPECT_EQ(stepped.points[1].size(), kept_records - 1);
    }
}
