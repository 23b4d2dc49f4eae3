// The player's strip charts and "Chart Manager": buttons by log, the feed,
// toggling, Range, and the charts moving the player (offscreen).
#include "player/tests/analysis_fixture.h"

#include "player/gui/chartcontrolp.h"
#include "player/gui/chartitem.h"
#include "player/gui/player_charts.h"

#include "common/core/java_numbers.h"
#include "testsupport/event_wait.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QSlider>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

using namespace korv::player;
using namespace korv::player::testing_support;

namespace {

class StripChartsTest : public AnalysisFrameTest {
protected:
    // rpm 1000 .. 5900 in steps of 100, again and again.
    void open_long_log(int records) {
        std::vector<VxmRow> rows;
        for (int i = 0; i < records; ++i) rows.push_back({float(1000 + (i % 50) * 100), 20, 0.5f, 15, 3, 0});
        write_vxm("long.db1", rows);
        open("long.db1");
    }
    chartcontrolp& manager() { return *analysis().charts().manager(); }
    chartitem& chart(int slot) { return *analysis().charts().chart(slot); }
    void move_mouse(QWidget& w, int x) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 50), w.mapToGlobal(QPointF(x, 50)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(&w, &move);
    }
    void click(QWidget& w, int x) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(x, 50), w.mapToGlobal(QPointF(x, 50)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&w, &press);
    }
};

}  // namespace

TEST_F(StripChartsTest, ManagerOffersTheChartsOfTheLog) {
    open_long_log(10);
    chartcontrolp& m = manager();
    EXPECT_TRUE(m.isVisible());
    EXPECT_EQ(m.windowTitle(), "Chart Manager");
    EXPECT_EQ(m.pos(), QPoint(50, 50));
    EXPECT_EQ(m.size(), QSize(359, 106));
    EXPECT_EQ(m.range_box->toolTip(), "Charts will range max value to 100% on the Y axis");
    for (int slot : {1, 2, 3, 5, 7, 9}) EXPECT_TRUE(m.button_flag[slot]->isEnabled()) << slot;
    for (int slot : {4, 6, 8, 10, 20, 21, 22}) EXPECT_FALSE(m.button_flag[slot]->isEnabled()) << slot;
    EXPECT_EQ(m.button_flag[10]->text(), "A/F Hz");
    for (int slot = 1; slot <= 22; ++slot) EXPECT_FALSE(m.is_on(slot));

    frame->close_button->click();
    const Bytes record = dab_record({{5, 0xF4}, {6, 0x01}});
    write_bytes(path("run.dab"), dab_log({record, record}));
    open("run.dab");
    for (int slot : {1, 2, 3, 4, 5, 6, 7, 8, 10, 20, 21, 22}) EXPECT_TRUE(m.button_flag[slot]->isEnabled()) << slot;
    for (int slot : {9, 11, 12, 16, 17, 19}) EXPECT_FALSE(m.button_flag[slot]->isEnabled()) << slot;
}

TEST_F(StripChartsTest, EveryRecordBecomesAPointHiddenUntilSwitchedOn) {
    open_long_log(1000);
    chartitem& rpm = chart(1);
    EXPECT_EQ(rpm.model().points().size(), 1000u);
    EXPECT_TRUE(rpm.chart_loaded);
    EXPECT_FALSE(rpm.isVisible());
    EXPECT_EQ(rpm.model().base_title(), "RPM");
    EXPECT_EQ(rpm.model().chart_high(), 8000);
    EXPECT_EQ(rpm.model().last_record(), 1000);
    EXPECT_TRUE(chart(20).model().points().empty());
    // The feed leaves the player on its first record and its title as it was.
    EXPECT_EQ(frame->current_log_record(), 0);
    EXPECT_EQ(frame->windowTitle(), QString::fromStdString("Process log file: " + path("long.db1")));
    EXPECT_TRUE(frame->close_button->isEnabled());

    manager().setbutton(20);  // disabled: nothing
    EXPECT_FALSE(manager().is_on(20));
    EXPECT_FALSE(chart(20).isVisible());
    manager().button_flag[1]->click();
    EXPECT_TRUE(manager().is_on(1));
    EXPECT_TRUE(rpm.isVisible());
    EXPECT_EQ(rpm.windowTitle().toStdString().rfind("RPM Min: 0 Max: 8000 High: 5900 Low: 1000 (", 0), 0u)
        << rpm.windowTitle().toStdString();
    manager().button_flag[1]->click();
    EXPECT_FALSE(rpm.isVisible());
    EXPECT_FALSE(manager().is_on(1));
}

TEST_F(StripChartsTest, HoverMovesThePlayerToTheRecordUnderThePointer) {
    open_long_log(1000);
    manager().button_flag[1]->click();
    chartitem& rpm = chart(1);
    // The view ends at the log's end: 1000 - (405 - 2) is its first point.
    ASSERT_EQ(rpm.model().first_point(), 597);
    move_mouse(rpm, 100);
    EXPECT_EQ(frame->current_log_record(), 699);
    EXPECT_EQ(shown_text().rfind("{699}", 0), 0u) << shown_text();
    EXPECT_EQ(rpm.model().mark_x(), 100);
    EXPECT_FALSE(rpm.local_scroll);
    // Past the drawing area's end: nothing.
    move_mouse(rpm, 404);
    EXPECT_EQ(frame->current_log_record(), 699);
}

TEST_F(StripChartsTest, ClickScrollsHalfAWindowAndThePlayerFollows) {
    open_long_log(1000);
    manager().button_flag[1]->click();
    chartitem& rpm = chart(1);
    click(rpm, 50);  // left half: back by 202
    EXPECT_EQ(frame->current_log_record(), 798);
    EXPECT_EQ(rpm.model().curr_record(), 798);
    EXPECT_EQ(rpm.model().mark_x(), 50);
    click(rpm, 50);
    EXPECT_EQ(frame->current_log_record(), 596);
    // Near the start: the first screen, the player on the first record.
    click(rpm, 50);
    EXPECT_EQ(frame->current_log_record(), 0);
    EXPECT_EQ(rpm.model().curr_record(), 403);
    EXPECT_EQ(shown_text().rfind("{0}", 0), 0u);
    // Right half: forward, but not past the end.
    click(rpm, 300);
    EXPECT_EQ(frame->current_log_record(), 605);
    click(rpm, 300);
    click(rpm, 300);
    EXPECT_EQ(rpm.model().curr_record(), 1000);
    EXPECT_EQ(frame->current_log_record(), 1000);
}

TEST_F(StripChartsTest, ShownChartsFollowThePlayer) {
    open_long_log(1000);
    manager().button_flag[1]->click();
    manager().button_flag[2]->click();
    chartitem& rpm = chart(1);
    chartitem& timing = chart(2);
    frame->position_slider->setValue(700);
    ASSERT_EQ(frame->current_log_record(), 700);
    // Record 700 + 1 inside the view 597..1000.
    EXPECT_EQ(rpm.model().mark_x(), 701 - 597 - 2);
    EXPECT_EQ(timing.model().mark_x(), 701 - 597 - 2);
    EXPECT_EQ(rpm.model().hover_value(), float(1000 + (700 % 50) * 100));

    // The chart under the pointer is moving the player; only the other follows.
    move_mouse(rpm, 10);
    EXPECT_EQ(frame->current_log_record(), 609);
    EXPECT_EQ(timing.model().mark_x(), 610 - 597 - 2);
    EXPECT_EQ(rpm.model().mark_x(), 10);
}

// However the player moves, inside the charts' view or past it, each shown
// chart's title brackets the value of the record the player shows.
TEST_F(StripChartsTest, TitlesCarryTheShownRecordsValue) {
    open_long_log(1000);
    manager().button_flag[1]->click();
    manager().button_flag[7]->click();
    const auto bracket = [](float value) { return "(" + korv::java_float_to_string(value) + ")"; };
    const auto rpm_of = [](std::int64_t record) { return float(1000 + (record % 50) * 100); };
    const auto expect_titles = [&](const char* how) {
        const std::int64_t shown = std::min<std::int64_t>(frame->current_log_record(), 999);
        const std::string rpm = chart(1).windowTitle().toStdString();
        EXPECT_TRUE(rpm.ends_with(bracket(rpm_of(shown)))) << how << ": record " << shown << ", " << rpm;
        const std::string tps = chart(7).windowTitle().toStdString();
        EXPECT_TRUE(tps.ends_with(bracket(20.0f))) << how << ": " << tps;
    };
    frame->position_slider->setValue(700);  // inside the view
    expect_titles("slider inside the view");
    frame->position_slider->setValue(5);  // before it
    expect_titles("slider before the view");
    frame->forward_button->click();
    expect_titles("forward");
    frame->position_slider->setValue(999);  // past the first screen
    expect_titles("slider past the view");
    frame->back_button->click();
    expect_titles("back");
    frame->play_to_end();
    // During Play the charts follow once the window gets its events.
    const std::string before = chart(1).windowTitle().toStdString();
    korv::testsupport::run_events_until([&] { return chart(1).windowTitle().toStdString() != before; });
    expect_titles("play");
    move_mouse(chart(1), 100);
    expect_titles("hover");
    click(chart(1), 50);
    expect_titles("click");
}

TEST_F(StripChartsTest, RangeScalesToTheHighestValue) {
    open_long_log(100);
    manager().button_flag[1]->click();
    chartitem& rpm = chart(1);
    const float h = float(rpm.model().area().h);
    EXPECT_FLOAT_EQ(rpm.model().conversion_factor(), h / 8000.0f);
    manager().range_box->click();
    EXPECT_FLOAT_EQ(rpm.model().conversion_factor(), h / 5900.0f);
    EXPECT_TRUE(rpm.isVisible());
    // The top edge is the highest value.
    EXPECT_EQ(rpm.model().value_y(590000), rpm.model().area().top);
    manager().range_box->click();
    EXPECT_FLOAT_EQ(rpm.model().conversion_factor(), h / 8000.0f);
}

TEST_F(StripChartsTest, ASwitchedOnChartComesBackWithTheNextLog) {
    open_long_log(100);
    manager().button_flag[1]->click();
    frame->close_button->click();
    write_vxm("next.db1", {{2000, 10, 0.5f, 10, 3, 0}, {2100, 10, 0.5f, 10, 3, 0}});
    open("next.db1");
    EXPECT_TRUE(manager().is_on(1));
    EXPECT_TRUE(chart(1).isVisible());
    EXPECT_EQ(chart(1).model().points().size(), 2u);
    EXPECT_EQ(chart(1).model().data_high(), 2100);
}

// The feed hands the charts their points in blocks; a chart fed one record at
// a time from the same log, as Play steps through it, must end up the same,
// with "Range" off and on, over a log longer than one block.
TEST_F(StripChartsTest, BlockFeedGivesThePointsAndScalesOfAPointByPointFeed) {
    std::vector<VxmRow> rows;
    for (int i = 0; i < 9000; ++i) {
        const float wave = float((i * 37) % 200) - 20.0f;
        rows.push_back(
            {float((i * 7919) % 9500) - 300.0f, wave * 0.6f, wave / 120.0f, wave / 4.0f, wave / 9.0f, float(i % 300)});
    }
    rows[4321].rpm = 2.5e9f;  // junk saturates
    rows[8999].tps = -1e30f;
    write_vxm("varied.db1", rows);

    for (bool range : {false, true}) {
        open_long_log(10);  // the manager exists from here on
        manager().range_box->setChecked(range);
        frame->close_button->click();
        open("varied.db1");
        ASSERT_EQ(frame->log().log_records(), 9000);
        const auto box = range ? korv::StripChartRangeBox::ticked : korv::StripChartRangeBox::unticked;

        std::vector<korv::StripChartModel> expected;
        for (int slot = 0; slot <= kMaxCharts; ++slot) {
            korv::StripChartModel model(chartitem::player_options());
            if (slot > 0) {
                model.set_title(strip_chart_spec(slot).title);
                model.set_chart_low(strip_chart_spec(slot).low);
                model.set_chart_high(strip_chart_spec(slot).high);
            }
            expected.push_back(std::move(model));
        }
        PlayerLog log;
        ASSERT_EQ(log.open(path("varied.db1"), LogFileType::vxm, korv::FloatOrder::big), std::nullopt);
        ChartPoints points;
        do {
            log.point_log_file(1);
            if (!log.read_log_record().read) break;
            vxm_chart_points(log.vxm(), points);
            for (int slot = 1; slot <= kMaxCharts; ++slot) {
                if (points.has(slot)) expected[slot].plot_point(points.value[slot], box);
            }
        } while (log.current_log_record() < log.log_records());

        for (int slot = 1; slot <= kMaxCharts; ++slot) {
            const korv::StripChartModel& fed = chart(slot).model();
            SCOPED_TRACE("slot " + std::to_string(slot) + (range ? ", Range on" : ", Range off"));
            EXPECT_EQ(fed.points(), expected[slot].points());
            EXPECT_EQ(fed.data_high(), expected[slot].data_high());
            EXPECT_EQ(fed.data_low(), expected[slot].data_low());
            EXPECT_EQ(std::bit_cast<std::uint32_t>(fed.conversion_factor()),
                      std::bit_cast<std::uint32_t>(expected[slot].conversion_factor()));
            EXPECT_EQ(fed.base_title(), expected[slot].base_title());
        }
        EXPECT_EQ(chart(1).model().points().size(), rows.size());
        frame->close_button->click();
    }
}
