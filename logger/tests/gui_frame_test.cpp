// The interface settings frames against the scripted stand-in library: the
// face, the port and cable rules, the link test and its failures, the items
// per cable, and the guards while a run is alive.
#include <dlfcn.h>

#include <algorithm>
#include <string>

#include "logger/tests/frame_fixture.h"
#include "logger/core/logger_texts.h"
#include "logger/core/stop_flags.h"
#include "logger/gui/chartcontrol.h"
#include "logger/gui/chartitem.h"
#include "logger/gui/linkframe.h"
#include "logger/gui/serialio.h"
#include "testsupport/window_places.h"

namespace korv::logger {
namespace {

using testing::FrameSession;
using testing::shown_error;
using testing::wait_until;

// The stand-in's steering entry points.
struct FrameStandIn {
    FrameStandIn() {
        void* handle = dlopen(KORVIO_FRAME_STANDIN_PATH, RTLD_NOW | RTLD_LOCAL);
        find(handle, reset, "standin_reset");
        find(handle, journal_of, "standin_journal");
        find(handle, clear_journal, "standin_clear_journal");
        find(handle, set_reset_result, "standin_set_reset_result");
        find(handle, set_probe_result, "standin_set_probe_result");
        find(handle, set_dtc, "standin_set_dtc");
        find(handle, hold, "standin_hold");
        find(handle, waiting, "standin_waiting");
    }
    template <class F>
    static void find(void* handle, F*& target, const char* name) {
        target = reinterpret_cast<F*>(dlsym(handle, name));
    }
    std::string journal() const {
        std::string text(static_cast<std::size_t>(journal_of(nullptr, 0)) + 1, '\0');
        text.resize(static_cast<std::size_t>(journal_of(text.data(), static_cast<int>(text.size()))));
        return text;
    }
    void dtc(int result, const std::string& report, const std::string& after_clear = {}, bool written = true) {
        set_dtc(result, written ? 1 : 0, reinterpret_cast<const unsigned char*>(report.data()),
                static_cast<int>(report.size()), reinterpret_cast<const unsigned char*>(after_clear.data()),
                static_cast<int>(after_clear.size()));
    }

    void (*reset)();
    int (*journal_of)(char*, int);
    void (*clear_journal)();
    void (*set_reset_result)(int, int);
    void (*set_probe_result)(int);
    void (*set_dtc)(int, int, const unsigned char*, int, const unsigned char*, int);
    void (*hold)(int);
    int (*waiting)();
};

constexpr int kCom1 = 1;
constexpr int kCom2 = 2;
constexpr int kRandomData = 5;
constexpr int kClosePort = 6;
constexpr int kCable0 = 1;
constexpr int kCable1 = 2;
constexpr int kCable2 = 3;
constexpr int kDsmChoice = 5;

QString status_of(LOGOBDframe* frame) { return frame->status_line->text(); }

class SettingsFrame : public ::testing::Test {
protected:
    // Bound once for every suite of this binary; they live as long as it.
    static void SetUpTestSuite() {
        if (library) return;
        library = KorvioLibrary::load_from(KORVIO_FRAME_STANDIN_PATH).release();
        standin = new FrameStandIn;
    }
    SettingsFrame() {
        standin->reset();
        serialio::set_all_stop_flags(kFlagRun);
    }
    ~SettingsFrame() override { standin->hold(0); }

    QString frame_error(LogFamily family) { return shown_error(session.thread(family)->reporter()); }

    static inline KorvioLibrary* library = nullptr;
    static inline FrameStandIn* standin = nullptr;
    FrameSession session{library};
};

TEST_F(SettingsFrame, ObdFrameLooksAsGivenAndIsTheNewestFrame) {
    LOGOBDframe* frame = session.open(LogFamily::obd);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->windowTitle(), "OBD-II (ISO 9141) - Data logger settings");
    EXPECT_EQ(frame->size(), QSize(415, 287));
    EXPECT_EQ(status_of(frame), "For the best possible peformance, log ONLY the items you need");
    EXPECT_EQ(frame->heading->text(), "This panel is used to configure the data collection interface");
    EXPECT_EQ(frame->obd_enabled_box->text(), "&Interface enabled");
    EXPECT_EQ(frame->obd_enabled_box->toolTip(),
              "If selected, data will be logged from this interface via the selected com port");
    EXPECT_EQ(frame->howto_button->text(), "&How to...");
    EXPECT_EQ(frame->choose_port->count(), 7);
    EXPECT_EQ(frame->choose_port->itemText(5), "Random Data");
    EXPECT_EQ(frame->cable_type->itemText(2), "Mutiplexer Engineering");
    EXPECT_TRUE(frame->cable_type->isEnabled());
    EXPECT_TRUE(frame->obd_link);
    EXPECT_EQ(frame->port_open, 99);
    EXPECT_EQ(frame->selected_port, -1);
    EXPECT_EQ(frame->log_rpm->toolTip(), "Log rpms");
    for (QWidget* hidden : std::initializer_list<QWidget*>{frame->dtcbutton, frame->cleardtcbutton, frame->dtclist,
                                                           frame->actuatortests, frame->log_high_trim, frame->log_mph,
                                                           frame->log_pressure, frame->log_knock, frame->log_pw}) {
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
    }
    EXPECT_EQ(session.window->obd_frame(), frame);
    EXPECT_EQ(chartcontrol_of(*session.window)->pf(), frame);
    for (int slot = 0; slot < kItemSlots; ++slot) {
        ASSERT_NE(frame->chart_frames(slot), nullptr);
        EXPECT_FALSE(frame->chart(slot)->isVisible());
    }
    EXPECT_EQ(frame->chart_frames(20), nullptr);

    // A second press shows the same frame.
    frame->hide();
    session.window->obd_button_actionPerformed();
    EXPECT_EQ(session.frame(LogFamily::obd), frame);
    EXPECT_TRUE(frame->isVisible());
}

// Both families' frames, the chart control and the charts open clear of
// the start window's Start, Stop and Pause, and the frames not on each
// other; a frame put aside by the user stays there.
TEST_F(SettingsFrame, WindowsOpenClearOfTheStartWindow) {
    session.window->logcharts->click();
    LOGOBDframe* obd = session.open(LogFamily::obd);
    LOGOBDframe* dsm = session.open(LogFamily::dsm);
    ASSERT_TRUE(obd && dsm);
    obd->log_rpm->click();
    obd->log_tps->click();
    chartcontrol* bar = chartcontrol_of(*session.window);
    ASSERT_TRUE(bar && bar->isVisible());
    ASSERT_TRUE(obd->chart(1)->isVisible() && obd->chart(7)->isVisible());
    for (QWidget* opened : std::initializer_list<QWidget*>{obd, dsm, bar, obd->chart(1), obd->chart(7)}) {
        EXPECT_EQ(testsupport::controls_covered(*session.window, opened->frameGeometry()), "")
            << opened->windowTitle().toStdString();
        EXPECT_TRUE(testsupport::on_screen(*opened)) << opened->windowTitle().toStdString();
    }
    EXPECT_FALSE(obd->frameGeometry().intersects(dsm->frameGeometry()));
    obd->move(700, 600);
    obd->hide();
    session.window->obd_button_actionPerformed();
    EXPECT_EQ(obd->pos(), QPoint(700, 600));
}

TEST_F(SettingsFrame, DsmFrameHasItsCableLockedAndItsOwnItems) {
    LOGOBDframe* obd = session.open(LogFamily::obd);
    LOGOBDframe* dsm = session.open(LogFamily::dsm);
    ASSERT_NE(dsm, nullptr);
    EXPECT_NE(obd, dsm);
    EXPECT_EQ(session.window->obd_frame(), dsm);
    EXPECT_EQ(dsm->windowTitle(), "1st Generation DSM - Data logger settings");
    EXPECT_EQ(dsm->cable_type->currentIndex(), kDsmChoice);
    EXPECT_FALSE(dsm->cable_type->isEnabled());
    EXPECT_FALSE(dsm->obd_link);
    EXPECT_EQ(dsm->log_st_trim->text(), "Low trim");
    EXPECT_EQ(dsm->log_lt_trim->text(), "Med trim");
    int shown = 0;
    for (QCheckBox* box : dsm->findChildren<QCheckBox*>()) {
        if (box != dsm->obd_enabled_box && !box->isHidden()) ++shown;
    }
    EXPECT_EQ(shown, 10);
    EXPECT_TRUE(dsm->log_water_temp->isHidden());
    EXPECT_FALSE(dsm->log_high_trim->isHidden());

    // Only "High trim" ticked offers Start.
    dsm->log_high_trim->click();
    EXPECT_EQ(dsm->log_items()[14], 48);
    EXPECT_TRUE(session.window->log_button->isEnabled());
}

TEST_F(SettingsFrame, MissingOrWrongLibraryBuildsNoFrame) {
    const auto missing = KorvioLibrary::load_from("/nonexistent/libkorvio.so");
    FrameSession other(missing.get());
    other.window->obd_button_actionPerformed();
    ASSERT_NE(other.thread(LogFamily::obd), nullptr);
    EXPECT_EQ(other.frame(LogFamily::obd), nullptr);
    EXPECT_EQ(shown_error(other.thread(LogFamily::obd)->reporter()).toStdString(), kLibraryMessage);
    other.window->obd_button_actionPerformed();
    EXPECT_EQ(other.frame(LogFamily::obd), nullptr);
    EXPECT_EQ(other.window->obd_frame(), nullptr);
}

TEST_F(SettingsFrame, PassedLinkTestLocksPortAndCableAndOffersTroubleCodes) {
    LOGOBDframe* frame = session.open(LogFamily::obd);
    ASSERT_TRUE(FrameSession::bring_up(frame, kCom1, kCable1));
    EXPECT_EQ(standin->journal(), "SioReset(99,0,1024,1024);SioReset(1,0,1024,1024);logdata(0,1,1,0)[49];");
    EXPECT_EQ(status_of(frame), "Link is operational");
    EXPECT_EQ(frame->link_colour(), LinkColour::green);
    EXPECT_EQ(session.window->obd_button->styleSheet(), "background-color: rgb(0, 255, 0);");
    EXPECT_TRUE(frame->obd_enabled());
    EXPECT_FALSE(frame->choose_port->isEnabled());
    EXPECT_FALSE(frame->cable_type->isEnabled());
    EXPECT_FALSE(frame->dtcbutton->isHidden());
    EXPECT_FALSE(frame->dtclist->isHidden());
    EXPECT_TRUE(frame->actuatortests->isHidden());
    EXPECT_TRUE(session.window->port_used[0]);
    EXPECT_EQ(frame->selected_port, 0);
    EXPECT_EQ(frame->selected_cable, 1);
    EXPECT_EQ(frame->port_open, 0);
    EXPECT_EQ(frame->log_items()[0], -1);

    // Unticking hides the trouble codes and keeps port and cable locked;
    // ticking again tests the same port and cable.
    frame->obd_enabled_box->click();
    EXPECT_EQ(status_of(frame), "Link is disabled");
    EXPECT_EQ(frame->link_colour(), LinkColour::light_grey);
    EXPECT_TRUE(frame->dtcbutton->isHidden());
    EXPECT_TRUE(frame->dtclist->isHidden());
    EXPECT_FALSE(frame->obd_enabled());
    EXPECT_FALSE(frame->choose_port->isEnabled());
    EXPECT_FALSE(frame->cable_type->isEnabled());
    standin->clear_journal();
    ASSERT_TRUE(FrameSession::enable(frame));
    EXPECT_EQ(standin->journal(), "SioReset(1,0,1024,1024);logdata(0,1,1,0)[49];");
    EXPECT_TRUE(frame->obd_enabled());
}

TEST_F(SettingsFrame, PortOpenErrorsLeaveNoPortHeld) {
    LOGOBDframe* frame = session.open(LogFamily::obd);
    for (int refused : {-1, 397}) {
        standin->set_reset_result(99, refused);
        FrameSession::choose_port(frame, kCom2);
        EXPECT_EQ(status_of(frame), QString("Port open error: %1").arg(refused));
        EXPECT_EQ(frame->link_colour(), LinkColour::red);
        EXPECT_EQ(frame->selected_port, -1);
        EXPECT_FALSE(session.window->port_used[1]);
    }
    EXPECT_EQ(standin->journal(), "SioReset(99,1,1024,1024);SioReset(99,1,1024,1024);");
}

TEST_F(SettingsFrame, FailedBringUpKeepsThePortHeld) {
    standin->set_reset_result(4, 5997);
    LOGOBDframe* dsm = session.open(LogFamily::dsm);
    ASSERT_TRUE(FrameSession::bring_up(dsm, kCom2, kDsmChoice));
    EXPECT_EQ(status_of(dsm), "Port open error: 5997");
    EXPECT_EQ(dsm->link_colour(), LinkColour::red);
    EXPECT_FALSE(dsm->obd_enabled_box->isChecked());
    EXPECT_EQ(dsm->selected_port, 1);
    EXPECT_TRUE(session.window->port_used[1]);
    EXPECT_EQ(standin->journal(), "SioReset(99,1,1024,1024);SioReset(4,1,1024,1024);");
    EXPECT_EQ(dsm->log_items()[0], -1);
}

TEST_F(SettingsFrame, FailedProbeFreesThePortForAnImmediateRetry) {
    standin->set_probe_result(-1);
    LOGOBDframe* frame = session.open(LogFamily::obd);
    ASSERT_TRUE(FrameSession::bring_up(frame, kCom1, kCable2));
    EXPECT_EQ(status_of(frame), "No response from ECU: -1");
    EXPECT_EQ(frame->link_colour(), LinkColour::red);
    EXPECT_FALSE(frame->obd_enabled_box->isChecked());
    EXPECT_EQ(frame->selected_port, -1);
    EXPECT_FALSE(session.window->port_used[0]);
    EXPECT_EQ(standin->journal(), "SioReset(99,0,1024,1024);SioReset(2,0,1024,1024);logdata(0,1,2,0)[49];SioDone(0);");
    EXPECT_TRUE(frame->choose_port->isEnabled());

    standin->set_probe_result(0);
    standin->clear_journal();
    FrameSession::choose_port(frame, kCom1);
    ASSERT_TRUE(FrameSession::idle(frame));
    EXPECT_TRUE(session.window->port_used[0]);
    ASSERT_TRUE(FrameSession::enable(frame));
    EXPECT_EQ(status_of(frame), "Link is operational");
    EXPECT_EQ(standin->journal(), "SioReset(99,0,1024,1024);SioReset(2,0,1024,1024);logdata(0,1,2,0)[49];");
}

TEST_F(SettingsFrame, PortHeldByAnotherFrameIsRefused) {
    LOGOBDframe* dsm = session.open(LogFamily::dsm);
    FrameSession::choose_port(dsm, kCom1);
    LOGOBDframe* obd = session.open(LogFamily::obd);
    standin->clear_journal();
    FrameSession::choose_port(obd, kCom1);
    EXPECT_EQ(status_of(obd), "Port already in use!");
    EXPECT_EQ(obd->link_colour(), LinkColour::red);
    EXPECT_EQ(obd->selected_port, -1);
    EXPECT_EQ(standin->journal(), "");
    EXPECT_EQ(dsm->selected_port, 0);

    // "Random Data" is a port of its own.
    FrameSession::choose_port(obd, kRandomData);
    EXPECT_EQ(obd->selected_port, 4);
    EXPECT_TRUE(session.window->port_used[4]);
}

TEST_F(SettingsFrame, ChangingAndClosingThePortGivesItBack) {
    LOGOBDframe* frame = session.open(LogFamily::obd);
    FrameSession::choose_port(frame, kCom1);
    FrameSession::choose_port(frame, kCom2);
    EXPECT_FALSE(session.window->port_used[0]);
    EXPECT_TRUE(session.window->port_used[1]);
    FrameSession::choose_port(frame, kClosePort);
    EXPECT_FALSE(session.window->port_used[1]);
    EXPECT_EQ(frame->selected_port, -1);
    EXPECT_EQ(frame->link_colour(), LinkColour::red);
    EXPECT_EQ(standin->journal(), "SioReset(99,0,1024,1024);SioDone(0);SioReset(99,1,1024,1024);SioDone(1);");
    // Nothing held: "Close Port" does nothing.
    standin->clear_journal();
    FrameSession::choose_port(frame, kClosePort);
    EXPECT_EQ(standin->journal(), "");
}

TEST_F(SettingsFrame, LinkTestRefusalsMakeNoLibraryCall) {
    LOGOBDframe* frame = session.open(LogFamily::obd);
    // No port: nothing is asked of the library.
    FrameSession::choose_cable(frame, kCable1);
    ASSERT_TRUE(FrameSession::enable(frame));
    EXPECT_EQ(status_of(frame), "Choose a port first");
    EXPECT_FALSE(frame->obd_enabled_box->isChecked());
    EXPECT_EQ(standin->journal(), "");

    // No cable.
    FrameSession::choose(frame->cable_type, 0);
    FrameSession::choose_port(frame, kCom1);
    standin->clear_journal();
    ASSERT_TRUE(FrameSession::enable(frame));
    EXPECT_EQ(status_of(frame), "No cable type selected");
    EXPECT_FALSE(frame->obd_enabled_box->isChecked());

    // The DSM cable and the second "Not Used" on the OBD-II frame.
    for (int cable_index : {kDsmChoice, 6}) {
        FrameSession::choose_cable(frame, cable_index);
        ASSERT_TRUE(FrameSession::enable(frame));
        EXPECT_EQ(frame_error(LogFamily::obd), "Unsupported cable for this interface");
        EXPECT_EQ(status_of(frame), "Unsupported cable for this interface");
        EXPECT_FALSE(frame->obd_enabled_box->isChecked());
        EXPECT_EQ(frame->log_items()[0], -1);
    }
    EXPECT_EQ(standin->journal(), "");

    // The first "Not Used" is an OBD-II cable (number 0).
    FrameSession::choose_cable(frame, kCable0);
    ASSERT_TRUE(FrameSession::enable(frame));
    EXPECT_EQ(standin->journal(), "SioReset(0,0,1024,1024);logdata(0,1,0,0)[49];");
    EXPECT_EQ(status_of(frame), "Link is operational");
    EXPECT_TRUE(frame->dtcbutton->isHidden());
}

TEST_F(SettingsFrame, WindowStaysLiveWhileTheLibraryWorks) {
    LOGOBDframe* frame = session.open(LogFamily::obd);
    FrameSession::choose_port(frame, kCom1);
    FrameSession::choose_cable(frame, kCable1);
    standin->hold(1);
    frame->obd_enabled_box->click();
    ASSERT_TRUE(wait_until([] { return standin->waiting() == 1; }));
    // The event loop runs: the status line and the disabled controls show.
    QCoreApplication::processEvents();
    EXPECT_EQ(status_of(frame), "Testing link...please wait");
    EXPECT_TRUE(frame->library_busy());
    EXPECT_FALSE(frame->choose_port->isEnabled());
    EXPECT_FALSE(frame->obd_enabled_box->isEnabled());
    EXPECT_FALSE(frame->log_rpm->isEnabled());
    EXPECT_TRUE(frame->obd_enabled_box->isChecked());
    // Start cannot take a link that has not passed yet.
    EXPECT_FALSE(frame->obd_enabled());
    EXPECT_EQ(frame->log_items()[0], 49);
    standin->hold(0);
    ASSERT_TRUE(FrameSession::idle(frame));
    EXPECT_TRUE(frame->log_rpm->isEnabled());
    EXPECT_TRUE(frame->obd_enabled());
}

TEST_F(SettingsFrame, ItemsFollowTheCableAndFeedTheCharts) {
    session.window->logcharts->setChecked(true);
    LOGOBDframe* frame = session.open(LogFamily::obd);
    // A box hidden for the cable counts for nothing, ticked or not.
    frame->log_knock->setChecked(true);
    frame->log_rpm->click();
    frame->log_tps->click();
    frame->log_st_trim->click();
    ItemList expected;
    expected.fill(-1);
    expected[1] = 9;
    expected[7] = 7;
    expected[10] = 12;
    EXPECT_EQ(frame->log_items(), expected);
    EXPECT_TRUE(session.window->log_button->isEnabled());
    chartitem* rpm = frame->chart(1);
    EXPECT_EQ(rpm->chart_item(), 9);
    EXPECT_EQ(rpm->model().title(), "RPMS");
    EXPECT_EQ(rpm->chart_low(), 0);
    EXPECT_EQ(rpm->chart_high(), 8000);
    EXPECT_EQ(frame->chart(10)->model().title(), "Short Term Fuel Trim");
    EXPECT_EQ(frame->chart(10)->chart_low(), -20);
    EXPECT_EQ(rpm->korv_handle(), session.window.get());
    // The chart control's buttons follow the items.
    chartcontrol* bar = chartcontrol_of(*session.window);
    EXPECT_TRUE(bar->button_flag[1]->isEnabled());
    EXPECT_TRUE(bar->button_flag[7]->isEnabled());
    EXPECT_FALSE(bar->button_flag[9]->isEnabled());
    EXPECT_TRUE(bar->button_green(1));
    EXPECT_TRUE(rpm->isVisible());

    // Unticking everything withdraws Start.
    for (QCheckBox* box : {frame->log_rpm, frame->log_tps, frame->log_st_trim}) box->click();
    EXPECT_FALSE(session.window->log_button->isEnabled());
    EXPECT_FALSE(bar->button_flag[1]->isEnabled());
}

TEST_F(SettingsFrame, HowToOpensANewHelpWindowEachTime) {
    LOGOBDframe* frame = session.open(LogFamily::obd);
    frame->howto_button->click();
    frame->howto_button->click();
    ASSERT_EQ(frame->help_windows().size(), 2u);
    EXPECT_TRUE(frame->help_windows()[1]->isVisible());
}

class SettingsFrameRun : public SettingsFrame {
protected:
    // The OBD-II frame linked on COM1 with cable 1 and rpm ticked, logging.
    LOGOBDframe* start_run() {
        LOGOBDframe* frame = session.open(LogFamily::obd);
        if (!FrameSession::bring_up(frame, kCom1, kCable1)) return nullptr;
        frame->log_rpm->click();
        session.window->log_button->click();
        if (!wait_until([&] { return session.window->stop_button->isEnabled(); })) return nullptr;
        standin->clear_journal();
        return frame;
    }
};

TEST_F(SettingsFrameRun, LibraryWorkIsRefusedWhileARunIsAlive) {
    LOGOBDframe* frame = start_run();
    ASSERT_NE(frame, nullptr);
    frame->dtcbutton->click();
    EXPECT_EQ(frame_error(LogFamily::obd), "Not allowed while logging!");
    frame->thread_handle->reporter().error_diag()->hide();
    frame->cleardtcbutton->show();
    frame->cleardtcbutton->click();
    EXPECT_EQ(frame_error(LogFamily::obd), "Not allowed while logging!");
    frame->thread_handle->reporter().error_diag()->hide();
    frame->actuatortests->show();
    frame->actuatortests->click();
    EXPECT_EQ(frame_error(LogFamily::obd), "Not allowed while logging!");
    EXPECT_EQ(frame->actuator_dialog(), nullptr);
    // Ticking items keeps Start disabled.
    frame->log_tps->click();
    EXPECT_FALSE(session.window->log_button->isEnabled());
    EXPECT_FALSE(frame->library_busy());
    EXPECT_EQ(standin->journal().find("getDTC"), std::string::npos);
    EXPECT_EQ(standin->journal().find("dodiag"), std::string::npos);

    session.window->stop_button->click();
    ASSERT_TRUE(session.session_over());
}

TEST_F(SettingsFrameRun, UntickingEndsTheRunAndATestDuringItsSaveIsRefused) {
    LOGOBDframe* frame = start_run();
    ASSERT_NE(frame, nullptr);
    // While the save dialog is open the run is still alive: ticking again
    // must not probe the port.
    bool asked = false;
    session.chooser.while_asking = [&] {
        asked = true;
        EXPECT_TRUE(session.window->run_alive());
        frame->obd_enabled_box->click();
        EXPECT_FALSE(frame->obd_enabled_box->isChecked());
        EXPECT_FALSE(frame->library_busy());
        EXPECT_EQ(frame_error(LogFamily::obd), "Not allowed while logging!");
    };
    frame->obd_enabled_box->click();
    EXPECT_EQ(serialio::stop_flag(LogFamily::obd), kFlagStop);
    EXPECT_EQ(status_of(frame), "Link is disabled");
    ASSERT_TRUE(session.session_over());
    EXPECT_TRUE(asked);
    EXPECT_EQ(standin->journal().find("SioReset"), std::string::npos);

    // Once the run is over the link can be tested again.
    session.chooser.while_asking = nullptr;
    ASSERT_TRUE(FrameSession::enable(frame));
    EXPECT_TRUE(frame->obd_enabled());
    EXPECT_EQ(status_of(frame), "Link is operational");
}

TEST_F(SettingsFrame, TroubleCodesAreReadAndClearedOffTheGuiThread) {
    const std::string three = std::string("\x03") + "3 error codes found, C/E light is on\n" +
                              "P0143 O2 Sensor Circuit Low Voltage (Bank 1 Sensor 3)\n" +
                              "P0196 Engine Oil Temperature Sensor Range/Performance\n" +
                              "U3f34 Unknown DTC code, contact the author\n";
    const std::string none = std::string("\x00", 1) + "No error codes found\n";
    standin->dtc(0, three, none);
    LOGOBDframe* frame = session.open(LogFamily::obd);
    ASSERT_TRUE(FrameSession::bring_up(frame, kCom1, kCable1));
    standin->clear_journal();

    standin->hold(1);
    frame->dtcbutton->click();
    ASSERT_TRUE(wait_until([] { return standin->waiting() == 1; }));
    EXPECT_EQ(frame->dtclist->toPlainText(), "Connecting, please wait");
    EXPECT_FALSE(frame->dtcbutton->isEnabled());
    standin->hold(0);
    ASSERT_TRUE(FrameSession::idle(frame));
    EXPECT_EQ(frame->dtclist->toPlainText().toStdString(), three.substr(1));
    EXPECT_FALSE(frame->cleardtcbutton->isHidden());

    frame->cleardtcbutton->click();
    ASSERT_TRUE(FrameSession::idle(frame));
    EXPECT_EQ(standin->journal(), "getDTC(0,1);clearDTC(0);getDTC(0,1);");
    EXPECT_EQ(frame->dtclist->toPlainText(), "No error codes found\n");
    EXPECT_TRUE(frame->cleardtcbutton->isHidden());
}

TEST_F(SettingsFrame, TroubleCodeFailuresAreReported) {
    LOGOBDframe* frame = session.open(LogFamily::obd);
    ASSERT_TRUE(FrameSession::bring_up(frame, kCom1, kCable1));
    struct Case {
        int result;
        std::string report;
        bool written;
        const char* message;
    };
    for (const Case& c :
         {Case{-151, "", true, "Unable to get DTC data!"}, Case{0, "", false, "Unable to access DTC results file!"},
          Case{0, "", true, "Unable to get DTC data!"}, Case{0, "\x02", true, "Unable to get DTC data!"}}) {
        std::filesystem::remove(session.folder.file("dtc.tmp"));
        standin->dtc(c.result, c.report, {}, c.written);
        frame->dtcbutton->click();
        ASSERT_TRUE(FrameSession::idle(frame));
        EXPECT_EQ(frame_error(LogFamily::obd), c.message) << c.result << " " << c.report.size();
        EXPECT_EQ(frame->dtclist->toPlainText(), "Connecting, please wait");
        EXPECT_TRUE(frame->cleardtcbutton->isHidden());
        frame->thread_handle->reporter().error_diag()->hide();
    }
}

TEST_F(SettingsFrame, DsmCodesNeverOfferClearAndItsActuatorsStopEachTestFirst) {
    standin->dtc(0, std::string("\x02") + "2 trouble codes found\n42 - Fuel pump\n11 - O2 sensor\n");
    LOGOBDframe* dsm = session.open(LogFamily::dsm);
    ASSERT_TRUE(FrameSession::bring_up(dsm, kCom2, kDsmChoice));
    EXPECT_FALSE(dsm->actuatortests->isHidden());
    EXPECT_FALSE(dsm->dtcbutton->isHidden());
    standin->clear_journal();
    dsm->dtcbutton->click();
    ASSERT_TRUE(FrameSession::idle(dsm));
    EXPECT_EQ(standin->journal(), "getDTC(1,4);");
    EXPECT_EQ(dsm->dtclist->toPlainText(), "2 trouble codes found\n42 - Fuel pump\n11 - O2 sensor\n");
    EXPECT_TRUE(dsm->cleardtcbutton->isHidden());

    standin->clear_journal();
    dsm->actuatortests->click();
    actuatordialog* dialog = dsm->actuator_dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(dialog->windowTitle(), "Underhood actuators");
    EXPECT_EQ(dialog->size(), QSize(430, 270));
    EXPECT_EQ(dialog->comport, 1);
    EXPECT_EQ(dialog->controls[0]->text(), "Fuel Pump Relay");
    EXPECT_EQ(dialog->controls[2]->toolTip(), "Run boost control solenoid test.");
    EXPECT_EQ(dialog->controls[10]->text(), "#6");
    EXPECT_EQ(dialog->controls[11], nullptr);
    EXPECT_EQ(dialog->done_button->toolTip(), "Stop all tests and close the panel");

    dialog->controls[0]->click();
    dialog->controls[3]->click();  // disabled until the first has gone out
    ASSERT_TRUE(FrameSession::idle(dsm));
    dialog->controls[3]->click();
    ASSERT_TRUE(FrameSession::idle(dsm));
    EXPECT_EQ(standin->journal(), "dodiag(1,99);dodiag(1,0);dodiag(1,99);dodiag(1,3);");

    // "Done" stops the tests, and leaving the dialog stops them again.
    standin->clear_journal();
    dialog->done_button->click();
    ASSERT_TRUE(FrameSession::idle(dsm));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(standin->journal(), "dodiag(1,99);dodiag(1,99);");

    // The close box stops them once.
    standin->clear_journal();
    dsm->actuatortests->click();
    ASSERT_NE(dsm->actuator_dialog(), nullptr);
    dsm->actuator_dialog()->close();
    ASSERT_TRUE(FrameSession::idle(dsm));
    EXPECT_EQ(standin->journal(), "dodiag(1,99);");
}

// Library work that finds no thread to run on: nothing is asked of the
// library, the reason is shown and the controls are the user's again.
class RefusedWork : public SettingsFrame {
protected:
    static constexpr char kReason[] = "No thread could be started for the work: Resource temporarily unavailable.";
    // From now on no worker thread starts (once the last one has ended).
    void refuse() {
        ASSERT_TRUE(wait_until([] { return JobWorker::running() == 0; }));
        refusal_ = std::make_unique<JobWorker::RefuseThreads>("Resource temporarily unavailable");
    }
    void allow() { refusal_.reset(); }
    void hide_error(LogFamily family) { session.thread(family)->reporter().error_diag()->hide(); }

private:
    std::unique_ptr<JobWorker::RefuseThreads> refusal_;
};

TEST_F(RefusedWork, ARefusedLinkTestSaysWhyAndCanBeTickedAgain) {
    LOGOBDframe* frame = session.open(LogFamily::obd);
    FrameSession::choose_port(frame, kCom1);
    FrameSession::choose_cable(frame, kCable1);
    ASSERT_TRUE(FrameSession::idle(frame));
    standin->clear_journal();
    refuse();
    frame->obd_enabled_box->click();
    EXPECT_EQ(status_of(frame), kReason);
    EXPECT_EQ(frame_error(LogFamily::obd), kReason);
    EXPECT_FALSE(frame->obd_enabled_box->isChecked());
    EXPECT_EQ(frame->link_colour(), LinkColour::red);
    EXPECT_FALSE(frame->library_busy());
    EXPECT_TRUE(frame->obd_enabled_box->isEnabled());
    EXPECT_EQ(frame->log_items()[0], -1) << "the probe's item is not left behind";
    EXPECT_EQ(standin->journal(), "");

    allow();
    hide_error(LogFamily::obd);
    ASSERT_TRUE(FrameSession::enable(frame));
    EXPECT_EQ(status_of(frame), "Link is operational");
}

TEST_F(RefusedWork, ARefusedTroubleCodeReadKeepsTheListAsItWas) {
    standin->dtc(0, std::string("\x01") + "1 error code found\nP0143 O2 Sensor Circuit Low Voltage\n");
    LOGOBDframe* frame = session.open(LogFamily::obd);
    ASSERT_TRUE(FrameSession::bring_up(frame, kCom1, kCable1));
    frame->dtcbutton->click();
    ASSERT_TRUE(FrameSession::idle(frame));
    const QString listed = frame->dtclist->toPlainText();
    ASSERT_FALSE(frame->cleardtcbutton->isHidden());
    standin->clear_journal();
    refuse();
    for (QPushButton* button : {frame->dtcbutton, frame->cleardtcbutton}) {
        SCOPED_TRACE(button->text().toStdString());
        button->click();
        EXPECT_EQ(frame_error(LogFamily::obd), kReason);
        EXPECT_EQ(frame->dtclist->toPlainText(), listed);
        EXPECT_FALSE(frame->cleardtcbutton->isHidden());
        EXPECT_FALSE(frame->library_busy());
        EXPECT_TRUE(frame->dtcbutton->isEnabled());
        hide_error(LogFamily::obd);
    }
    EXPECT_EQ(standin->journal(), "");
}

TEST_F(RefusedWork, ARefusedActuatorTestLeavesTheDialogUsable) {
    LOGOBDframe* dsm = session.open(LogFamily::dsm);
    ASSERT_TRUE(FrameSession::bring_up(dsm, kCom2, kDsmChoice));
    dsm->actuatortests->click();
    actuatordialog* dialog = dsm->actuator_dialog();
    ASSERT_NE(dialog, nullptr);
    standin->clear_journal();
    refuse();
    for (QPushButton* button : {dialog->controls[0], dialog->done_button}) {
        SCOPED_TRACE(button->text().toStdString());
        button->click();
        EXPECT_EQ(frame_error(LogFamily::dsm), kReason);
        EXPECT_TRUE(dialog->isEnabled());
        EXPECT_TRUE(dialog->isVisible()) << "the tests were not stopped";
        hide_error(LogFamily::dsm);
    }
    EXPECT_EQ(standin->journal(), "");
}

// Leaving the dialog stops every test; when that cannot be sent, the user
// is told instead of being left with a test running.
TEST_F(RefusedWork, ARefusedStopOnLeavingTheActuatorsIsReported) {
    LOGOBDframe* dsm = session.open(LogFamily::dsm);
    ASSERT_TRUE(FrameSession::bring_up(dsm, kCom2, kDsmChoice));
    dsm->actuatortests->click();
    ASSERT_NE(dsm->actuator_dialog(), nullptr);
    standin->clear_journal();
    refuse();
    dsm->actuator_dialog()->close();
    EXPECT_EQ(frame_error(LogFamily::dsm), kReason);
    EXPECT_FALSE(dsm->library_busy());
    EXPECT_TRUE(dsm->actuatortests->isEnabled());
    EXPECT_EQ(standin->journal(), "");
}

}  // namespace
}  // namespace korv::logger
