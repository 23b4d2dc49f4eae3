// What the 3-D view holds a point while it shows a large table: counted by
// the test toolbox's allocation functions for the thread that gives the
// view its data and draws the frame.
#include "plot3d/gui/plot_view.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "testsupport/allocation_counter.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

namespace korv::plot3d {
namespace {

TEST(PlotViewMemory, AFramedPointTakesItsPositionAndItsPlaceInTheDepthOrder) {
    constexpr int kRecords = 400000;
    testsupport::WorkingFolder folder;
    std::string text = "rpm o2 tps\nNUMERIC NUMERIC NUMERIC\n";
    for (int i = 0; i < kRecords; ++i)
        text += std::to_string(800 + i % 6000) + " 0." + std::to_string(i % 97) + " " + std::to_string(i % 101) + "\n";
    testsupport::write_text(folder.file("3d.dat"), text);
    const auto db = std::make_shared<const Database>();
    ASSERT_EQ(db->reccount, kRecords);
    PlotView view(nullptr, 400, 400);
    const Mapper mapper(*db);

    long long peak = 0;
    {
        testsupport::PeakAllocationCounter counter;
        ASSERT_TRUE(view.setData(db, mapper, true));
        view.drawFrame();
        peak = counter.peak();
    }
    // Three floats of position, and eight bytes of depth order; the frame itself.
    const long long per_point = 3 * 4 + 8;
    EXPECT_LE(peak, per_point * kRecords + 400 * 400 * 4 + (1 << 20)) << peak / kRecords << " bytes a point";
}

}  // namespace
}  // namespace korv::plot3d
