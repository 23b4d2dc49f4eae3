// The analysis in the playback frame: the grid over a synthetic log, the
// filter fields, the peak buttons, the grid's hover, focus and lock, and
// the 2-D and 3-D collections.
#include "player/tests/analysis_fixture.h"

#include "player/gui/analysis_grid.h"
#include "player/gui/chart2d_frame.h"

#include <QCheckBox>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QSlider>
#include <QTest>

#include <filesystem>

using namespace korv::player;
using namespace korv::player::testing_support;

namespace {

// Limits 95 % and 4000 rpm.
const std::vector<VxmRow> kRun = {
    {1000, 50, 0.40f, 10, 2.0f, 0},   // 0: neither
    {3000, 94, 0.95f, 30, 9.0f, 5},   // 1: just under both
    {4000, 94, 0.85f, 25, 8.0f, 2},   // 2: rpm at the limit, band 8
    {900, 95, 0.70f, 12, 3.0f, 1},    // 3: throttle at the limit, band 1
    {450, 100, 0.99f, 40, 12.0f, 9},  // 4: band 0, peaks only
    {4200, 10, 0.88f, 22, 8.5f, 1},   // 5: band 8 again
};

class AnalysisTest : public AnalysisFrameTest {
protected:
    AnalysisCell* cell(int row, int column) { return analysis().grid()->cell(row, column); }
    QString text(int row, int column) { return cell(row, column)->text(); }
    void point_at(QWidget* w) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(w, &enter);
    }
    std::string file_text(const std::string& name) {
        const Bytes bytes = read_bytes(path(name));
        return std::string(bytes.begin(), bytes.end());
    }
};

}  // namespace

TEST_F(AnalysisTest, GridCountsWhatPassesTheFilterByBand) {
    write_vxm("run.db1", kRun);
    open("run.db1");
    frame->play_to_end();

    EXPECT_EQ(text(0, 8), "4000");
    EXPECT_EQ(text(4, 0), "Knck");
    // Band 8: the higher O2 of record 5, the timing and knock of record 2.
    EXPECT_EQ(text(row_o2, 8), "0.88");
    EXPECT_EQ(text(row_timing, 8), "25.0");
    EXPECT_EQ(text(row_knock, 8), "2.0");
    EXPECT_EQ(analysis().peaks().band_record(row_o2, 8), 5);
    EXPECT_EQ(analysis().peaks().band_record(row_timing, 8), 2);
    // Band 1 from record 3; band 6 (record 1, under both limits) stays empty.
    EXPECT_EQ(text(row_timing, 1), "12.0");
    EXPECT_TRUE(text(row_timing, 6).isEmpty());
    EXPECT_FALSE(cell(row_timing, 6)->isEnabled());
    // A VXM log has no boost: the pressure row stays empty.
    EXPECT_TRUE(text(row_pressure, 8).isEmpty());
    EXPECT_TRUE(cell(row_o2, 8)->isEnabled());
    EXPECT_EQ(cell(row_o2, 8)->toolTip(), "Click to activate the simulator");
    EXPECT_TRUE(cell(row_pressure, 8)->toolTip().isEmpty());
    // Record 4 below 500 rpm leaves the label column alone but sets the peaks.
    EXPECT_EQ(text(row_o2, 0), "O2 V");
    EXPECT_EQ(analysis().peaks().peak_record(peak_o2), 4);
    EXPECT_EQ(analysis().peaks().peak_record(peak_rpm), 5);
    for (QPushButton* peak : frame->peak_buttons) EXPECT_TRUE(peak->isEnabled());
}

TEST_F(AnalysisTest, PeakButtonsJumpToTheirRecords) {
    write_vxm("run.db1", kRun);
    open("run.db1");
    for (QPushButton* peak : frame->peak_buttons) EXPECT_FALSE(peak->isEnabled());
    frame->play_to_end();
    frame->peak_buttons[peak_rpm]->click();
    EXPECT_EQ(frame->current_log_record(), 5);
    EXPECT_EQ(shown_text().rfind("{5} Rpms: 4200", 0), 0u) << shown_text();
    EXPECT_EQ(frame->position_slider->value(), 5);
    frame->peak_buttons[peak_timing]->click();
    EXPECT_EQ(frame->current_log_record(), 4);
}

TEST_F(AnalysisTest, LowValsKeepsTheLowestO2AndTiming) {
    write_vxm("run.db1", kRun);
    open("run.db1");
    frame->low_vals->setChecked(true);
    frame->play_to_end();
    EXPECT_EQ(text(row_o2, 8), "0.85");
    EXPECT_EQ(text(row_timing, 8), "22.0");
}

TEST_F(AnalysisTest, FilterFieldsRefuseBadLimits) {
    write_vxm("run.db1", kRun);
    open("run.db1");
    EXPECT_EQ(analysis().filter().rpmrange_value, 4000);

    frame->tps_range->setText("abc");
    emit frame->tps_range->editingFinished();
    EXPECT_EQ(error_text(), "Must be numeric 0 to 100!");
    EXPECT_EQ(frame->tps_range->text(), "95");
    EXPECT_EQ(analysis().filter().tpsrange_value, 95);
    dismiss_error();

    frame->rpm_range->setText("9000");
    emit frame->rpm_range->editingFinished();
    EXPECT_EQ(error_text(), "Must be numeric 0 to 8000!");
    EXPECT_EQ(frame->rpm_range->text(), "4000");
    dismiss_error();

    // Throttle 50 and above: record 0 now counts, in band 2.
    frame->tps_range->setText("50");
    emit frame->tps_range->editingFinished();
    EXPECT_EQ(analysis().filter().tpsrange_value, 50);
    frame->play_to_end();
    EXPECT_EQ(text(row_timing, 2), "10.0");
    frame->rpm_range->setText("3000");
    emit frame->rpm_range->editingFinished();
    EXPECT_EQ(analysis().filter().rpmrange_value, 3000);
    frame->play_to_end();
    EXPECT_EQ(text(row_timing, 6), "30.0");
}

TEST_F(AnalysisTest, PointingAtACellJumpsAndAClickLocksIt) {
    write_vxm("run.db1", kRun);
    open("run.db1");
    frame->play_to_end();
    point_at(cell(row_timing, 8));
    EXPECT_EQ(frame->current_log_record(), 2);
    EXPECT_EQ(shown_text().rfind("{2}", 0), 0u);

    QTest::mouseClick(cell(row_o2, 8), Qt::LeftButton);
    ASSERT_TRUE(analysis().cell_locked().has_value());
    EXPECT_EQ(analysis().cell_locked()->row, row_o2);
    EXPECT_TRUE(frame->o2_slider->isEnabled());
    EXPECT_TRUE(frame->record_area->styleSheet().contains("red"));
    EXPECT_EQ(cell(row_o2, 8)->selectedText(), "0.88");

    // Locked: pointing elsewhere moves nothing, and the analysis waits.
    const std::int64_t at = frame->current_log_record();
    point_at(cell(row_timing, 1));
    EXPECT_EQ(frame->current_log_record(), at);

    // Any record read ends it.
    frame->forward_button->click();
    EXPECT_FALSE(analysis().cell_locked().has_value());
    EXPECT_FALSE(frame->o2_slider->isEnabled());
    EXPECT_TRUE(frame->record_area->styleSheet().isEmpty());
}

TEST_F(AnalysisTest, FocusReleasesTheLockThenJumps) {
    write_vxm("run.db1", kRun);
    open("run.db1");
    frame->play_to_end();
    QTest::mouseClick(cell(row_o2, 8), Qt::LeftButton);
    ASSERT_TRUE(analysis().cell_locked().has_value());
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(cell(row_timing, 1), &focus);
    EXPECT_FALSE(analysis().cell_locked().has_value());
    EXPECT_EQ(frame->current_log_record(), 3);
}

TEST_F(AnalysisTest, PmsKnockRowShowsTheAirFlowFrequency) {
    // 5000 rpm, full throttle, 1234 Hz.
    const Bytes record = dab_record({{5, 0xF4}, {6, 0x01}, {25, 100}, {31, 0xD2}, {32, 0x04}, {19, 40}});
    write_bytes(path("run.dab"), dab_log({record, record}));
    open("run.dab");
    EXPECT_EQ(text(4, 0), "K Hz");
    frame->play_to_end();
    EXPECT_EQ(text(row_knock, 10), "1234");
}

TEST_F(AnalysisTest, ChartThreeDWritesThePassingRecords) {
    write_vxm("run.db1", kRun);
    open("run.db1");
    frame->chart3d_button->click();
    EXPECT_TRUE(error_text().isEmpty()) << error_text().toStdString();
    const std::string file = file_text("3d.dat");
    ASSERT_EQ(file.size(), 600u);  // two header lines and records 2, 3, 4, 5
    EXPECT_EQ(file.substr(200, 100),
              "4000.0    0.85      0.0       25.0      94.0      0.0       8.0       0.0       0.0       2" +
                  std::string(8, ' ') + "\n");
    EXPECT_EQ(file.substr(590, 10), "5        \n");
    EXPECT_EQ(analysis().count_3d(), 4);
    EXPECT_EQ(plot3d.made, 1);
    EXPECT_FALSE(analysis().chart_3d_running());
    // The grid was left alone during the collection.
    EXPECT_TRUE(text(row_o2, 8).isEmpty());
}

TEST_F(AnalysisTest, ChartThreeDWithNothingSelected) {
    write_vxm("idle.db1", {{1000, 5, 0.4f, 10, 2, 0}, {1100, 5, 0.4f, 10, 2, 0}, {1200, 5, 0.4f, 10, 2, 0}});
    open("idle.db1");
    frame->chart3d_button->click();
    EXPECT_EQ(error_text(), "No records selected for charting");
    EXPECT_EQ(file_text("3d.dat").size(), 200u);
    EXPECT_EQ(plot3d.made, 0);
    EXPECT_FALSE(analysis().chart_3d_running());
    dismiss_error();

    // "Chart all" takes every record after the cursor.
    frame->chart_all->setChecked(true);
    frame->rewind_button->click();
    frame->chart3d_button->click();
    EXPECT_EQ(file_text("3d.dat").size(), 400u);
    EXPECT_EQ(plot3d.made, 1);
}

TEST_F(AnalysisTest, ChartThreeDReportsAFileItCannotPlace) {
    write_vxm("run.db1", kRun);
    open("run.db1");
    std::filesystem::create_directory(path("3d.dat"));
    frame->chart3d_button->click();
    EXPECT_TRUE(error_text().startsWith("8) Unable to open file: ")) << error_text().toStdString();
    EXPECT_EQ(plot3d.made, 0);
    EXPECT_FALSE(analysis().chart_3d_running());
}

TEST_F(AnalysisTest, ChartTwoDCollectsRowsAndShows) {
    write_vxm("run.db1", kRun);
    open("run.db1");
    frame->chart2d_button->click();
    CHART2Dframe* c2d = analysis().chart2d_window();
    ASSERT_NE(c2d, nullptr);
    EXPECT_EQ(frame->c2d_frame.data(), c2d);
    EXPECT_TRUE(c2d->isVisible());
    EXPECT_EQ(c2d->chart2d_values.headers().size(), 3u);
    EXPECT_EQ(c2d->o2chart_values.headers().size(), 2u);
    ASSERT_EQ(c2d->chart2d_values.getRowCount(), 4);
    EXPECT_EQ(c2d->o2chart_values.getRowCount(), 4);
    EXPECT_EQ(c2d->chart2d_values.row(0), (std::vector<std::string>{"0.0", "2", "25"}));
    EXPECT_EQ(c2d->o2chart_values.row(0), (std::vector<std::string>{"0.85", "0.8"}));
    EXPECT_FALSE(analysis().chart_2d_running());

    // Another log: clearing leaves one row of the last.
    frame->close_button->click();
    EXPECT_FALSE(c2d->isVisible());
    write_vxm("two.db1", {{5000, 100, 0.9f, 30, 10, 0}, {5100, 100, 0.9f, 30, 10, 0}, {5200, 100, 0.9f, 30, 10, 0}});
    open("two.db1");
    frame->chart2d_button->click();
    EXPECT_EQ(c2d->chart2d_values.getRowCount(), 1 + 2);
}

TEST_F(AnalysisTest, ChartTwoDStopsAtAThousandRows) {
    std::vector<VxmRow> rows(1500, VxmRow{2000, 10, 0.5f, 10, 3, 0});
    write_vxm("long.db1", rows);
    open("long.db1");
    frame->chart_all->setChecked(true);
    frame->chart2d_button->click();
    EXPECT_EQ(analysis().chart2d_window()->chart2d_values.getRowCount(), 1000);
    EXPECT_EQ(analysis().chart2d_window()->o2chart_values.getRowCount(), 1000);
}

TEST_F(AnalysisTest, ChartTwoDOfAPmsLogHasItsExtraSeries) {
    const Bytes record = dab_record({{5, 0xF4}, {6, 0x01}, {25, 100}, {7, 18}, {8, 20}});
    write_bytes(path("run.dab"), dab_log({record, record, record}));
    open("run.dab");
    frame->chart2d_button->click();
    CHART2Dframe* c2d = analysis().chart2d_window();
    EXPECT_EQ(c2d->chart2d_values.headers().size(), 5u);
    EXPECT_EQ(c2d->o2chart_values.headers().size(), 4u);
    ASSERT_EQ(c2d->chart2d_values.getRowCount(), 2);
    EXPECT_EQ(c2d->chart2d_values.row(0).size(), 5u);
    EXPECT_EQ(c2d->chart2d_values.row(0)[3], "18");
    EXPECT_EQ(c2d->chart2d_values.row(0)[4], "25.0");
}
