// The DRB II sheet against the simulated box, offscreen.
#include "boxlogger/tests/sheet_test_support.h"

#include "boxlogger/gui/engine_link.h"
#include "testsupport/event_wait.h"
#include "testsupport/window_texts.h"

#include <QListWidget>
#include <QTabBar>
#include <QToolButton>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <functional>
#include <optional>

namespace korv::boxlogger {
namespace {

using namespace korv::boxlogger::testing;

enum Page { kInfo, kErrors, kSensors, kEngineIo, kFuel, kTiming, kRpm, kAc, kActuators };

struct DrbSheet : ::testing::Test {
    BoxLink link;
    std::unique_ptr<CDRBPropertySheet> sheet;

    // Opened as its modal run opens it, without the modal loop.
    void open() {
        sheet = std::make_unique<CDRBPropertySheet>(link.engine, link.messages);
        link.engine.Hold();
        sheet->show();
    }
    void TearDown() override {
        if (sheet) {
            sheet.reset();
            link.engine.Release();
        }
    }
    QWidget* page(Page p) { return sheet->page(p); }
    void show_page(Page p) { sheet->SetActivePage(p); }
    void refresh(Page p) {
        link.poll_hub();
        sheet->page(p)->OnTimer();
    }
    QStringList fault_lines() {
        QStringList lines;
        auto* list = control<QListWidget>(page(kErrors), 1011);
        for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
        return lines;
    }
    void click(Page p, int id) { control<QPushButton>(page(p), id)->click(); }
};

TEST_F(DrbSheet, HoldsTheEngineOnlyWhileOpenWhicheverWayItCloses) {
    for (bool ok : {true, false}) {
        CDRBPropertySheet modal(link.engine, link.messages);
        int held = -1;
        QTimer::singleShot(0, &modal, [&] {
            held = link.engine.hold_count();
            ok ? modal.accept() : modal.reject();
        });
        EXPECT_EQ(modal.DoModal(), ok ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(held, 1);
        EXPECT_EQ(link.engine.hold_count(), 0);
        EXPECT_EQ(modal.windowTitle(), "DRB II Data");
        EXPECT_EQ(modal.page_count(), 9);
    }
}

TEST_F(DrbSheet, PagesKeepTheirRequestsOnTheHubUntilTheSheetGoes) {
    open();
    EXPECT_GT(link.engine.hub().table().use_count(0xFF), 0) << "ECU ID";
    EXPECT_GT(link.engine.hub().table().use_count(0x3C), 0) << "fault word, high byte";
    EXPECT_GT(link.engine.hub().table().use_count(0x21), 0) << "engine speed";
    sheet.reset();
    link.engine.Release();
    EXPECT_EQ(link.engine.hub().table().count(), 0);
}

TEST_F(DrbSheet, EcuInfoShowsTheIdsAndAVxmModifiedModule) {
    link.box.ecu().set_value(0xFE, 0x54);
    link.box.ecu().set_value(0xFF, 0x22);
    open();
    EXPECT_TRUE(sheet->page(kInfo)->timer_running());
    refresh(kInfo);
    EXPECT_EQ(label_text(page(kInfo), 1014), "5422");
    EXPECT_EQ(label_text(page(kInfo), 1015), "2.0 Turbo Federal");
    EXPECT_EQ(label_text(page(kInfo), 1016), "1991-1992");
    EXPECT_EQ(label_text(page(kInfo), 1017), "VXM Modified");
    link.box.ecu().set_value(0xFE, 0xE0);
    refresh(kInfo);
    EXPECT_EQ(label_text(page(kInfo), 1014), "E022");
    EXPECT_EQ(label_text(page(kInfo), 1017), "");
}

TEST_F(DrbSheet, TimerRunsOnlyOnTheCurrentPageAndRefreshesOnlyWhileTheLinkIsUp) {
    open();
    refresh(kInfo);
    show_page(kErrors);
    EXPECT_FALSE(sheet->page(kInfo)->timer_running());
    EXPECT_TRUE(sheet->page(kErrors)->timer_running());
    show_page(kInfo);
    link.box.ecu().set_value(0xFF, 0x4E);
    link.box.set_state(sim::BoxState::Silent);
    link.engine.PollStep();
    sheet->page(kInfo)->OnTimer();
    EXPECT_EQ(link.engine.link_up(), 0);
    EXPECT_EQ(label_text(page(kInfo), 1015), "2.0 Turbo Federal") << "the last text stays";
    link.box.set_state(sim::BoxState::Working);
    refresh(kInfo);
    EXPECT_EQ(label_text(page(kInfo), 1015), "3.0 DOHC California");
}

TEST_F(DrbSheet, FaultLinesAndClearingThem) {
    link.box.ecu().set_value(0x3B, 0x81);  // the word's low byte: codes 11 and 23
    link.box.ecu().set_value(0x3C, 0x80);  // high byte: code 36
    open();
    show_page(kErrors);
    refresh(kErrors);
    EXPECT_EQ(fault_lines(), (QStringList{"11 Oxygen Sensor", "23 TDC Sensor", "36 Ignition Circuit"}));

    click(kErrors, 1012);
    EXPECT_TRUE(sheet->busy());
    ASSERT_TRUE(wait_idle(*sheet, &link.clock, sim::VxmBox::kCommandRunUs));
    EXPECT_TRUE(link.messages.messages().empty()) << link.texts().front();
    EXPECT_EQ(link.box.ecu().trouble_codes(), 0);
    refresh(kErrors);
    EXPECT_EQ(fault_lines(), QStringList{""}) << "no codes is one empty line";
}

TEST_F(DrbSheet, ClearingA1990EcuWarnsOfTheManualResetAndStillTries) {
    link.box.ecu().set_value(0xFD, 54);
    link.box.refuse_commands(true);
    open();
    show_page(kErrors);
    refresh(kErrors);
    click(kErrors, 1012);
    ASSERT_TRUE(wait_idle(*sheet));
    EXPECT_EQ(link.texts(),
              (std::vector<std::string>{"The error codes in a 1990 ECU may only be cleared by a manual reset",
                                        "Could not clear error codes."}));
}

TEST_F(DrbSheet, CommandsWithTheLinkDownSayThatAndSendNothing) {
    link.box.set_state(sim::BoxState::Silent);
    open();
    show_page(kErrors);
    click(kErrors, 1012);
    show_page(kActuators);
    click(kActuators, 1049);
    EXPECT_FALSE(sheet->busy());
    EXPECT_EQ(link.texts(), (std::vector<std::string>{"Could not send command - link is down",
                                                      "Could not send command - link is down"}));
}

TEST_F(DrbSheet, VoltageSwitchIsSharedByEveryLivePage) {
    open();
    show_page(kSensors);
    refresh(kSensors);
    // Row 4 of "Engine Sensors" is the coolant sensor, a voltage sensor.
    const QString coolant = label_text(page(kSensors), 1032);
    EXPECT_EQ(label_text(page(kSensors), 1020), "Coolant Temperature");
    click(kSensors, 1040);
    EXPECT_EQ(control<QPushButton>(page(kSensors), 1040)->text(), "View Sensor Values");
    EXPECT_EQ(label_text(page(kSensors), 1032), "1.56 V") << "0x50 counts of 5/256 V, refreshed at once";
    for (Page p : {kEngineIo, kFuel, kTiming, kRpm, kAc}) {
        show_page(p);
        EXPECT_EQ(control<QPushButton>(page(p), 1040)->text(), "View Sensor Values") << p;
    }
    show_page(kFuel);
    refresh(kFuel);
    EXPECT_EQ(label_text(page(kFuel), 1031), "1.56 V") << "coolant is row 3 of Fuel Control";
    click(kFuel, 1040);
    EXPECT_EQ(label_text(page(kFuel), 1031), coolant);
    show_page(kSensors);
    EXPECT_EQ(control<QPushButton>(page(kSensors), 1040)->text(), "View Sensor Voltages");
}

TEST_F(DrbSheet, FourCylinderEnginesHaveNoFifthAndSixthInjector) {
    open();
    for (auto [engine, hidden] : {std::pair{0x20, true}, std::pair{0x4E, false}, std::pair{0x18, true}}) {
        link.box.ecu().set_value(0xFF, static_cast<std::uint8_t>(engine));
        show_page(kInfo);
        show_page(kActuators);
        EXPECT_FALSE(sheet->page(kActuators)->timer_running()) << "the ECU is asked first, off the GUI thread";
        ASSERT_TRUE(wait_idle(*sheet));
        EXPECT_TRUE(sheet->page(kActuators)->timer_running());
        EXPECT_EQ(control(page(kActuators), 1045)->isHidden(), hidden) << engine;
        EXPECT_EQ(control(page(kActuators), 1046)->isHidden(), hidden) << engine;
        EXPECT_FALSE(control(page(kActuators), 1044)->isHidden());
    }
}

// The Actuators page asks the ECU on the sheet's worker; when no thread can
// start for that, the user is told, every button stays and the page still
// shows its values.
TEST_F(DrbSheet, ARefusedEcuQuestionLeavesTheActuatorsUsable) {
    open();
    ASSERT_TRUE(wait_idle(*sheet));
    ASSERT_TRUE(testsupport::run_events_until([] { return JobWorker::running() == 0; }, std::chrono::seconds(10)));
    {
        const JobWorker::RefuseThreads refuse("Resource temporarily unavailable");
        show_page(kActuators);
    }
    EXPECT_EQ(link.texts(),
              std::vector<std::string>{"No thread could be started for the work: Resource temporarily unavailable."});
    EXPECT_TRUE(sheet->page(kActuators)->timer_running());
    EXPECT_FALSE(sheet->working());
    for (int id : {1044, 1045, 1046}) EXPECT_FALSE(control(page(kActuators), id)->isHidden()) << id;
}

TEST_F(DrbSheet, ActuatorRefusedAtOnceOrDoneAfterThreeSeconds) {
    JumpClock& clock = link.clock;
    open();
    show_page(kActuators);
    ASSERT_TRUE(wait_idle(*sheet)) << "the page's own exchange brings the link up";
    link.box.refuse_commands(true);
    const std::int64_t refused_at = clock.now_us();
    click(kActuators, 1041);
    ASSERT_TRUE(sheet->notice());
    EXPECT_EQ(label_text(sheet->notice(), 1052), "Injector #1 Off");
    ASSERT_TRUE(wait_idle(*sheet));
    EXPECT_EQ(link.texts(), std::vector<std::string>{"Could not turn off injector.  Perhaps the car is in motion."});
    EXPECT_LT(clock.now_us() - refused_at, sim::VxmBox::kCommandRunUs);

    link.box.refuse_commands(false);
    click(kActuators, 1047);
    EXPECT_EQ(label_text(sheet->notice(), 1052), "Fuel Pump Control Relay On");
    ASSERT_TRUE(wait_idle(*sheet, &clock, sim::VxmBox::kCommandRunUs));
    EXPECT_EQ(link.messages.messages().size(), 1u) << "done: nothing more said";
    EXPECT_FALSE(sheet->notice());
}

TEST_F(DrbSheet, LeavingTheActuatorsBeforeTheEcuAnswersLeavesThemAsTheyWere) {
    link.box.ecu().set_value(0xFF, 0x20);  // a four-cylinder engine
    open();
    show_page(kActuators);
    show_page(kInfo);
    ASSERT_TRUE(wait_idle(*sheet));
    EXPECT_FALSE(sheet->page(kActuators)->timer_running());
    EXPECT_FALSE(control(page(kActuators), 1045)->isHidden()) << "the late answer is dropped";
}

TEST_F(DrbSheet, ACloseAskedWhileThePageAsksTheEcuHappensOnceItHasAnswered) {
    open();
    show_page(kActuators);
    ASSERT_TRUE(sheet->working());
    sheet->accept();
    EXPECT_TRUE(sheet->isVisible());
    ASSERT_TRUE(wait_idle(*sheet));
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
}

// While a box command holds the line for seconds on the worker, what the GUI
// thread does with the engine and the port returns at once, and the GUI
// thread's own timers keep firing.
TEST_F(DrbSheet, TheGuiThreadKeepsTurningWhileACommandHoldsTheLine) {
    EngineLink port_link(link.port);
    const std::vector<std::pair<const char*, std::function<void()>>> calls{
        {"the Actuators page becomes current", [&] { show_page(kActuators); }},
        {"a capture starts and stops",
         [&] {
             link.engine.Hold();
             link.engine.Release();
         }},
        {"Connect probes the port", [&] { port_link.Probe(kSlot, nullptr); }},
        {"Disconnect closes the port", [&] { port_link.ClosePort(nullptr); }},
    };
    open();
    show_page(kErrors);
    refresh(kErrors);
    click(kErrors, 1012);  // clearing the codes: the box echoes alone for 3 s
    ASSERT_TRUE(sheet->busy());
    ASSERT_TRUE(testsupport::run_events_until(
        [&] {
            const std::vector<std::uint8_t> heard = link.box.received();
            return !heard.empty() && heard.back() == 0xCA;
        },
        std::chrono::seconds(5)));
    for (const auto& [what, call] : calls) {
        const auto asked = std::chrono::steady_clock::now();
        std::optional<std::chrono::steady_clock::time_point> fired;
        QObject turn;  // takes the timer with it should the call never return in time
        QTimer::singleShot(0, &turn, [&] { fired = std::chrono::steady_clock::now(); });
        call();
        testsupport::run_events_until([&] { return fired.has_value(); }, std::chrono::milliseconds(200));
        ASSERT_TRUE(fired) << what;
        EXPECT_LT(*fired - asked, std::chrono::milliseconds(100)) << what;
    }
    EXPECT_TRUE(sheet->busy()) << "the command still holds the line";
    ASSERT_TRUE(wait_idle(*sheet, &link.clock, sim::VxmBox::kCommandRunUs));
    EXPECT_TRUE(link.messages.messages().empty()) << link.texts().front();
}

TEST_F(DrbSheet, WhileACommandRunsTheSheetNeitherActsNorCloses) {
    open();
    show_page(kActuators);
    ASSERT_TRUE(wait_idle(*sheet));
    click(kActuators, 1049);
    ASSERT_TRUE(sheet->busy());
    EXPECT_FALSE(sheet->tabs()->isEnabled());
    sheet->reject();
    sheet->close();
    EXPECT_TRUE(sheet->isVisible());
    static_cast<CDRBActuatorsTab*>(sheet->page(kActuators))->OnActuator(Actuators()[0]);
    ASSERT_TRUE(wait_idle(*sheet, &link.clock, sim::VxmBox::kCommandRunUs));
    EXPECT_TRUE(link.messages.messages().empty()) << link.texts().front();
    EXPECT_TRUE(sheet->tabs()->isEnabled());
    sheet->reject();
    EXPECT_FALSE(sheet->isVisible());
}

// Every tab in sight, every page's texts whole, and each value field framed
// on all four sides (a field whose right edge vanishes into the page reads
// as cut off).
TEST_F(DrbSheet, AllNineTabsAndEveryValueFieldShowWhole) {
    link.box.ecu().set_value(0xFF, 0x4E);
    open();
    QApplication::processEvents();
    QTabBar* bar = sheet->tabs()->tabBar();
    for (QToolButton* scroll : bar->findChildren<QToolButton*>()) EXPECT_FALSE(scroll->isVisible()) << "tab scrolling";
    for (int i = 0; i < sheet->page_count(); ++i) {
        EXPECT_TRUE(bar->rect().contains(bar->tabRect(i))) << sheet->tabs()->tabText(i).toStdString();
        EXPECT_GE(bar->tabRect(i).width(), bar->fontMetrics().horizontalAdvance(bar->tabText(i)));
    }
    for (Page p : {kInfo, kErrors, kSensors, kEngineIo, kFuel, kTiming, kRpm, kAc, kActuators}) {
        show_page(p);
        refresh(p);
        QApplication::processEvents();
        SCOPED_TRACE(sheet->tabs()->tabText(p).toStdString());
        // Only the page in front is laid out.
        EXPECT_EQ(testsupport::listed(testsupport::cut_texts(*page(p))), "");
        EXPECT_TRUE(sheet->rect().contains(QRect(page(p)->mapTo(sheet.get(), QPoint()), page(p)->size())));
        const QImage image = page(p)->grab().toImage();
        for (QLabel* field : page(p)->findChildren<QLabel*>()) {
            if (field->frameShape() == QFrame::NoFrame || !field->isVisible()) continue;
            const QRect r = field->geometry();
            const QColor edge = image.pixelColor(r.right(), r.center().y());
            const QColor ground = image.pixelColor(r.right() + 3, r.center().y());
            EXPECT_GE(testsupport::contrast(edge, ground), 1.3) << field->objectName().toStdString();
        }
    }
}

// "Boost Control Solenoid On" on one line, in a notice clear of the sheet.
TEST_F(DrbSheet, TheActuatorNoticeShowsItsTextWholeBesideTheSheet) {
    open();
    sheet->move(0, 0);
    show_page(kActuators);
    ASSERT_TRUE(wait_idle(*sheet)) << "the page's own exchange brings the link up";
    click(kActuators, 1049);
    ASSERT_TRUE(sheet->notice());
    QApplication::processEvents();
    QWidget& notice = *sheet->notice();
    EXPECT_EQ(label_text(&notice, 1052), "Boost Control Solenoid On");
    EXPECT_EQ(testsupport::listed(testsupport::cut_texts(notice)), "");
    EXPECT_FALSE(notice.frameGeometry().intersects(sheet->frameGeometry()));
    ASSERT_TRUE(wait_idle(*sheet, &link.clock, sim::VxmBox::kCommandRunUs));
}

}  // namespace
}  // namespace korv::boxlogger
