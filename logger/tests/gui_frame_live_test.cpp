// Whole sessions through the real libkorvio.so and simulated devices: a user
// enables an interface in its settings frame, ticks two items, presses Start
// and Stop, names the log, and the log reads back with the player's reader.
// Trouble codes and actuator tests go through the same library.
#include <algorithm>
#include <cmath>

#include "common/core/channel_ids.h"
#include "common/core/vxm_player_reader.h"
#include "logger/tests/frame_fixture.h"
#include "logger/core/stop_flags.h"
#include "logger/gui/chartitem.h"
#include "logger/gui/serialio.h"
#include "platform/serial/line_seam.h"
#include "sim/core/cable0_box.h"
#include "sim/core/cable1_box.h"
#include "sim/core/com_port_binding.h"
#include "sim/core/dsm_ecu.h"

namespace korv::logger {
namespace {

using testing::FrameSession;
using testing::wait_until;

constexpr int kCom1 = 1;
constexpr int kCom2 = 2;
constexpr int kRandomData = 5;
constexpr int kCable0 = 1;
constexpr int kCable1 = 2;
constexpr int kDsmChoice = 5;

// The library raises DTR and drops RTS itself, but a pty carries no modem
// lines and the library loaded here keeps line seams of its own, so the
// box hears of its power on its own side.
void power_box(sim::Peer& box) { box.lines().record(platform::serial::OutputLine::Dtr, true); }

int status_count(const QLineEdit* status) {
    bool ok = false;
    const int n = status->text().toInt(&ok);
    return ok ? n : 0;
}

struct LogRead {
    std::vector<int> channel_slots;  // the player slot of each channel, in order
    std::int64_t records = 0;
    std::vector<std::vector<float>> values;  // per record, per channel
};

LogRead read_log(const std::string& path) {
    LogRead log;
    VxmPlayerReader reader;
    if (reader.open(path, FloatOrder::big)) return log;
    const VxmPlayerModel& model = reader.model();
    for (int i = 1; i <= model.vxm_parm_count; ++i)
        log.channel_slots.push_back(model.vxm_type[static_cast<std::size_t>(i)]);
    log.records = model.log_records;
    for (std::int64_t n = 0; n < log.records; ++n) {
        if (reader.seek_record(n) || reader.read_vxm_record()) break;
        std::vector<float> record;
        for (int slot : log.channel_slots) record.push_back(model.vxm_data_fields[static_cast<std::size_t>(slot)]);
        log.values.push_back(record);
    }
    return log;
}

class LiveFrameSession : public ::testing::Test {
protected:
    static void SetUpTestSuite() { library = KorvioLibrary::load_from(KORVIO_LIBRARY_PATH).release(); }
    LiveFrameSession() { serialio::set_all_stop_flags(kFlagRun); }

    // Start, let the engine log until enough is done, Stop, answer the save.
    void log_until(const std::function<bool()>& enough, const std::string& name) {
        session.chooser.answers.push_back(session.folder.file(name));
        session.window->log_button->click();
        ASSERT_TRUE(wait_until([&] { return session.window->stop_button->isEnabled(); }));
        ASSERT_TRUE(wait_until(enough));
        session.window->stop_button->click();
        ASSERT_TRUE(session.session_over());
        ASSERT_EQ(session.chooser.asked.size(), 1u);
    }

    static inline KorvioLibrary* library = nullptr;
    FrameSession session{library};
};

TEST_F(LiveFrameSession, ObdRunThroughTheCable0Box) {
    sim::PeerOnPort<sim::Cable0Box> box(0);
    power_box(box.peer());
    box->car().set(0x0C, {0x1F, 0x40});  // 2000 rpm
    box->car().set(0x0E, {0x94});        // 10 degrees

    LOGOBDframe* frame = session.open(LogFamily::obd);
    ASSERT_TRUE(FrameSession::bring_up(frame, kCom1, kCable0));
    ASSERT_EQ(frame->status_line->text(), "Link is operational");
    frame->log_rpm->click();
    frame->log_timing->click();
    ASSERT_TRUE(session.window->log_button->isEnabled());

    // Ten cycles of two items.
    log_until([&] { return status_count(session.window->obd_status) >= 20; }, "car.db1");
    const LogRead log = read_log(session.folder.file("car.db1"));
    EXPECT_EQ(log.channel_slots, (std::vector<int>{player_slot_of_id(9), player_slot_of_id(0)}));
    ASSERT_GE(log.records, 9);
    ASSERT_EQ(static_cast<std::int64_t>(log.values.size()), log.records);
    for (const auto& record : log.values) EXPECT_EQ(record, (std::vector<float>{2000.0f, 10.0f}));
    EXPECT_EQ(session.window->obd_status->text(), "Idle");
}

TEST_F(LiveFrameSession, ObdRunOnTheDemonstrationPort) {
    LOGOBDframe* frame = session.open(LogFamily::obd);
    ASSERT_TRUE(FrameSession::bring_up(frame, kRandomData, kCable0));
    ASSERT_EQ(frame->status_line->text(), "Link is operational");
    EXPECT_EQ(frame->selected_port, 4);
    frame->log_rpm->click();
    frame->log_timing->click();

    log_until([&] { return status_count(session.window->obd_status) >= 20; }, "demo.db1");
    const LogRead log = read_log(session.folder.file("demo.db1"));
    EXPECT_EQ(log.channel_slots, (std::vector<int>{player_slot_of_id(9), player_slot_of_id(0)}));
    ASSERT_GE(log.records, 9);
    // Every exchange of the demonstration port gives the data byte 0x50.
    for (const auto& record : log.values) EXPECT_EQ(record, (std::vector<float>{20.0f, -24.0f}));
}

TEST_F(LiveFrameSession, DsmRunChartsLiveAndSaves) {
    sim::PeerOnPort<sim::DsmEcu> ecu(1);
    ecu->set_value(0x21, 0x40);  // rpm 64 x 31.37
    ecu->set_value(0x06, 20);    // timing 20 - 10

    session.window->logcharts->setChecked(true);
    LOGOBDframe* frame = session.open(LogFamily::dsm);
    ASSERT_TRUE(FrameSession::bring_up(frame, kCom2, kDsmChoice));
    ASSERT_EQ(frame->status_line->text(), "Link is operational");
    EXPECT_FALSE(frame->actuatortests->isHidden());
    frame->log_rpm->click();
    frame->log_timing->click();

    const std::size_t heard = ecu->received().size();
    log_until([&] { return ecu->received().size() >= heard + 40; }, "dsm.db2");
    const LogRead log = read_log(session.folder.file("dsm.db2"));
    EXPECT_EQ(log.channel_slots, (std::vector<int>{player_slot_of_id(9), player_slot_of_id(0)}));
    ASSERT_GE(log.records, 10);
    for (const auto& record : log.values) {
        ASSERT_EQ(record.size(), 2u);
        EXPECT_NEAR(record[0], 2007.68f, 0.006f);
        EXPECT_EQ(record[1], 10.0f);
    }
    // The samples reached this frame's charts and the data-value panel.
    EXPECT_TRUE(frame->chart(1)->model().has_points());
    EXPECT_TRUE(frame->chart(2)->model().has_points());
    EXPECT_NE(session.window->datavalue_handle(), nullptr);
}

TEST_F(LiveFrameSession, DsmTroubleCodesAndActuatorTests) {
    sim::PeerOnPort<sim::DsmEcu> ecu(0);
    ecu->set_trouble_codes(0x2001);  // fuel pump, O2 sensor
    LOGOBDframe* frame = session.open(LogFamily::dsm);
    ASSERT_TRUE(FrameSession::bring_up(frame, kCom1, kDsmChoice));

    frame->dtcbutton->click();
    ASSERT_TRUE(FrameSession::idle(frame));
    EXPECT_EQ(frame->dtclist->toPlainText(), "2 trouble codes found\n42 - Fuel pump\n11 - O2 sensor\n");
    EXPECT_TRUE(frame->cleardtcbutton->isHidden());

    const std::size_t heard = ecu->received().size();
    frame->actuatortests->click();
    ASSERT_NE(frame->actuator_dialog(), nullptr);
    frame->actuator_dialog()->controls[0]->click();
    ASSERT_TRUE(FrameSession::idle(frame));
    frame->actuator_dialog()->done_button->click();
    ASSERT_TRUE(FrameSession::idle(frame));
    const std::vector<std::uint8_t> all = ecu->received();
    EXPECT_EQ(std::vector<std::uint8_t>(all.begin() + static_cast<std::ptrdiff_t>(heard), all.end()),
              (std::vector<std::uint8_t>{0xFF, 0xF6, 0xFF, 0xFF}));
}

// The box waits 5 s before each trouble-code request, as a car needs: this
// one takes about a quarter of a minute.
TEST_F(LiveFrameSession, ObdTroubleCodesReadAndClearedThroughTheCable1Box) {
    sim::PeerOnPort<sim::Cable1Box> box(0);
    power_box(box.peer());
    box->trouble_codes().set({0x0143, 0x0301});
    box->car().set(0x01, {0x82, 0x00, 0x00, 0x00});  // light on, two codes
    LOGOBDframe* frame = session.open(LogFamily::obd);
    ASSERT_TRUE(FrameSession::bring_up(frame, kCom1, kCable1));
    ASSERT_EQ(frame->status_line->text(), "Link is operational");

    frame->dtcbutton->click();
    ASSERT_TRUE(wait_until([&] { return !frame->library_busy(); }, std::chrono::seconds(30)));
    const QStringList lines = frame->dtclist->toPlainText().split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], "2 error codes found, C/E light is on");
    EXPECT_TRUE(lines[1].startsWith("P0143")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith("P0301")) << lines[2].toStdString();
    EXPECT_FALSE(frame->cleardtcbutton->isHidden());

    frame->cleardtcbutton->click();
    ASSERT_TRUE(wait_until([&] { return !frame->library_busy(); }, std::chrono::seconds(30)));
    EXPECT_EQ(frame->dtclist->toPlainText(), "No error codes found\n");
    EXPECT_TRUE(frame->cleardtcbutton->isHidden());
    EXPECT_TRUE(box->trouble_codes().codes().empty());
}

}  // namespace
}  // namespace korv::logger
