// One transfer end to end, offscreen: the player's front end, the built
// libkorvio.so and the simulated handheld on a pseudo-terminal as COM1.
// The library waits out its real 5-s silence after the last record, so
// this binary takes a few seconds.
#include "player/tests/palm_test_support.h"
#include "sim/core/com_port_binding.h"
#include "sim/core/handheld_peer.h"
#include "sim/core/line_glitch.h"

#include <QLineEdit>

#include <gtest/gtest.h>

#include <filesystem>

using namespace korv::player;
using namespace korv::player::testing_support;
using korv::sim::HandheldPeer;
using korv::sim::PeerOnPort;

namespace {

class PalmDevice : public PalmFrameTest {
protected:
    void SetUp() override {
        PalmFrameTest::SetUp();
        library = korv::KorvioLibrary::load_from(KORVIO_LIBRARY_PATH);
        ASSERT_TRUE(library->available()) << library->load_error();
        build(library.get());
    }
    // The person with the handheld presses its button once asked to.
    bool press_when_asked(HandheldPeer& handheld) {
        if (!run_events_until_settled(
                [this] { return dialog()->eeprom_status->text() == "Press the TRANSFER button"; })) {
            return false;
        }
        handheld.press_button();
        return true;
    }

    std::unique_ptr<korv::KorvioLibrary> library;
};

TEST_F(PalmDevice, HandheldLogIsTransferredSavedAndPlayed) {
    const korv::sim::HandheldLog drive = HandheldPeer::sample_log(2);
    PeerOnPort<HandheldPeer> handheld(0, drive);
    chooser.queue_path(path("drive.db1"));
    start_transfer(1);
    ASSERT_TRUE(press_when_asked(handheld.peer()));
    ASSERT_TRUE(wait_for_end());
    EXPECT_TRUE(handheld->finished());
    EXPECT_EQ(handheld->wrong_speed_bytes(), 0);

    Bytes dump{2, std::uint8_t(drive.ids.size())};
    dump.insert(dump.end(), drive.ids.begin(), drive.ids.end());
    for (const Bytes& record : drive.records) dump.insert(dump.end(), record.begin(), record.end());
    EXPECT_EQ(read_bytes(path("kvt1.tmp")), dump);

    EXPECT_EQ(player_error(), QString());
    EXPECT_EQ(frame->theFile, "drive.db1");
    ASSERT_TRUE(frame->log().is_open());
    const std::int64_t records = std::int64_t(drive.records.size() / drive.ids.size());
    EXPECT_EQ(frame->log().log_records(), records);
    frame->rewind_button->click();
    EXPECT_EQ(frame->log().vxm().vxm_rpms, 800);
    EXPECT_EQ(frame->log().vxm().vxm_watertemp, 190);
    frame->play_to_end();
    EXPECT_EQ(frame->log().vxm().vxm_rpms, 800 + 450 * int(records - 1));
    EXPECT_EQ(extensions->calls, (std::vector<std::string>{"reset_charts", "plot_data"}));
}

// A stray byte on the line shifts every record after it: the transfer
// fails and no log is made of it.
TEST_F(PalmDevice, AStrayByteFailsTheTransferAndNothingIsSaved) {
    const korv::sim::HandheldLog drive = HandheldPeer::sample_log(2);
    PeerOnPort<HandheldPeer> handheld(0, drive);
    korv::sim::LineGlitch stray{korv::sim::Glitch::StrayBetween};
    stray.after_answers = static_cast<int>(drive.ids.size() + drive.records.size() / 2);
    handheld->inject(stray);
    start_transfer(1);
    ASSERT_TRUE(press_when_asked(handheld.peer()));
    ASSERT_TRUE(wait_for_end());
    EXPECT_EQ(handheld->glitches_pending(), 0);
    EXPECT_FALSE(handheld->finished());

    EXPECT_EQ(player_error(), "Palm access error: -107");
    EXPECT_TRUE(chooser.requests().empty());
    EXPECT_FALSE(frame->log().is_open());
    EXPECT_EQ(std::filesystem::file_size(path("kvt1.tmp")), 0u);
    EXPECT_TRUE(frame->open_button->isEnabled());
}

TEST_F(PalmDevice, AHandheldNotInTransferModeLeavesNothingToSave) {
    PeerOnPort<HandheldPeer> handheld(0, HandheldPeer::sample_log(1));
    handheld->set_start_byte(0x7F);
    start_transfer(1);
    ASSERT_TRUE(press_when_asked(handheld.peer()));
    ASSERT_TRUE(wait_for_end());
    EXPECT_EQ(player_error(), "No logged data to save!");
    EXPECT_TRUE(chooser.requests().empty());
    EXPECT_EQ(std::filesystem::file_size(path("kvt1.tmp")), 0u);
    EXPECT_TRUE(frame->open_button->isEnabled());
}

}  // namespace
