// The program state: loading, failures that keep the old run, block kinds.
#include "dyno/core/dyno_session.h"

#include <gtest/gtest.h>

namespace korv::dyno {
namespace {

std::string throttle_log() {
    // Two full-throttle stretches with rising RPM, idle between them.
    std::string csv = "log\nTime,RPM,TPS\n";
    for (int i = 0; i < 80; ++i) {
        const bool wot = (i >= 5 && i < 30) || (i >= 45 && i < 75);
        const int rpm = wot ? 2000 + 100 * (i % 40) : 1000 - i;
        csv += std::to_string(i * 0.1) + "," + std::to_string(rpm) + "," + (wot ? "100" : "5") + "\n";
    }
    return csv;
}

TEST(DynoSession, FailedLoadKeepsTheOldRun) {
    DynoSession session;
    ASSERT_EQ(session.load_text(throttle_log(), "good.csv"), LogReadStatus::ok);
    const SampleRange range = session.range();
    const std::size_t n = session.samples().size();
    EXPECT_EQ(session.load_text("x\nTime,RPM\n1,2\n", "bad.csv"), LogReadStatus::too_few_samples);
    EXPECT_EQ(session.open_log("/no/such/file.csv"), LogReadStatus::cannot_open);
    EXPECT_EQ(session.file_name(), "good.csv");
    EXPECT_EQ(session.range(), range);
    EXPECT_EQ(session.samples().size(), n);
    EXPECT_TRUE(session.loaded());
}

TEST(DynoSession, ARowWithoutAnRpmLeavesThePowerAsIfItWereNotThere) {
    std::string with_gap = "log\nTime,RPM,TPS\n";
    std::string without = with_gap;
    for (int i = 0; i < 60; ++i) {
        const std::string time = std::to_string(i * 0.1);
        const std::string row_end = "," + std::to_string(2000 + 80 * i) + ",100\n";
        with_gap += time + (i == 30 ? ",nan,100\n" : row_end);
        if (i != 30) without += time + row_end;
    }
    DynoSession gap, whole;
    ASSERT_EQ(gap.load_text(with_gap, "gap.csv"), LogReadStatus::ok);
    ASSERT_EQ(whole.load_text(without, "whole.csv"), LogReadStatus::ok);
    EXPECT_EQ(gap.dropped_rows(), 1u);
    EXPECT_EQ(whole.dropped_rows(), 0u);
    EXPECT_EQ(gap.range(), whole.range());
    ASSERT_EQ(gap.samples().size(), whole.samples().size());
    for (std::size_t k = 0; k < gap.samples().size(); ++k)
        EXPECT_EQ(gap.samples()[k][kPower], whole.samples()[k][kPower]) << k;
}

TEST(DynoSession, SwitchingBlockKindStartsFromTheBeginning) {
    DynoSession session;
    session.settings.bspline_en = 0;
    ASSERT_EQ(session.load_text(throttle_log(), "t.csv"), LogReadStatus::ok);
    // The longest rising run: the second stretch from the idle sample before it.
    EXPECT_EQ(session.range(), (SampleRange{44, 75}));
    // The first throttle search starts from (0, 0), not from the range.
    const SampleRange first = session.next_block(BlockKind::throttle, session.range());
    EXPECT_EQ(first, (SampleRange{5, 30}));
    EXPECT_EQ(session.next_block(BlockKind::throttle, first), (SampleRange{45, 75}));
    // Back to rising: from (0, 0), so key 0 gives the longest.
    EXPECT_EQ(session.next_block(BlockKind::rising, SampleRange{45, 75}), (SampleRange{44, 75}));
    EXPECT_EQ(session.next_block(BlockKind::rising, SampleRange{44, 75}), (SampleRange{4, 30}));
}

}  // namespace
}  // namespace korv::dyno
