#include "platform/serial/line_seam.h"

#include "platform/core/clock.h"

#include <gtest/gtest.h>

namespace korv::platform::serial {
namespace {

TEST(LineSeam, AttachedOnlyWhileInScope) {
    EXPECT_EQ(find_line_seam("/dev/seam-a"), nullptr);
    {
        ScopedLineSeam seam("/dev/seam-a");
        EXPECT_EQ(find_line_seam("/dev/seam-a").get(), &seam.seam());
        EXPECT_EQ(find_line_seam("/dev/seam-b"), nullptr);
    }
    EXPECT_EQ(find_line_seam("/dev/seam-a"), nullptr);
}

TEST(LineSeam, RecordsChangesWithClockTimeAndTellsListener) {
    TestClock test_clock(5'000'000);
    ScopedClock use(test_clock);
    ScopedLineSeam seam("/dev/seam-d");
    std::vector<LineChange> heard;
    seam->set_listener([&](const LineChange& c) {
        heard.push_back(c);
        // A listener may answer through the seam at once.
        if (c.line == OutputLine::Dtr && c.on) seam->set_input(InputLine::Dcd, true);
    });
    seam->record(OutputLine::Dtr, true);
    test_clock.advance_ms(200);
    seam->record(OutputLine::Break, true);

    const std::vector<LineChange> expected{{OutputLine::Dtr, true, 5'000'000}, {OutputLine::Break, true, 5'200'000}};
    EXPECT_EQ(seam->changes(), expected);
    EXPECT_EQ(heard, expected);
    EXPECT_EQ(seam->input(InputLine::Dcd), true);
    seam->release_input(InputLine::Dcd);
    EXPECT_FALSE(seam->input(InputLine::Dcd).has_value());
}

}  // namespace
}  // namespace korv::platform::serial
