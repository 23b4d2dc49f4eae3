// "Load " end to end, offscreen: the editor's download dialog, the built
// libkorvio.so and the simulated PMS unit on a pseudo-terminal as COM1.
// The library paces the download itself, and a silent unit is given up
// only after the library's own waits, so this binary takes about a minute
// and a half.
#include "common/core/korvio_library.h"
#include "common/gui/error_dialog.h"
#include "editors/core/pms_cells.h"
#include "editors/gui/pms_dialog.h"
#include "editors/gui/pms_frame.h"
#include "platform/core/scripted_file_chooser.h"
#include "sim/core/com_port_binding.h"
#include "sim/core/pms_peer.h"
#include "testsupport/event_wait.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

using korv::sim::PeerOnPort;
using korv::sim::PmsPeer;
using korv::testsupport::Bytes;
using korv::testsupport::read_bytes;
using korv::testsupport::run_events_until_settled;
namespace pms = korv::editors::pms;

namespace {

class PmsDevice : public ::testing::Test {
protected:
    void SetUp() override {
        library = korv::KorvioLibrary::load_from(KORVIO_LIBRARY_PATH);
        ASSERT_TRUE(library->available()) << library->load_error();
        frame = std::make_unique<PMSframe>(korv::editors::EditorServices{&chooser, library.get()});
    }
    void TearDown() override {
        EXPECT_TRUE(
            run_events_until_settled([] { return korv::JobWorker::running() == 0; }, std::chrono::seconds(120)));
        frame.reset();
    }
    // "Load ", COM1 and "Ok", then the download's end.
    bool download() {
        frame->load_from_pms->click();
        PMSdialog* dialog = frame->pms_dialog();
        dialog->port_list->setCurrentIndex(1);
        dialog->ok_button->click();
        return run_events_until_settled([dialog] { return !dialog->downloading(); }, std::chrono::seconds(150));
    }
    QString dialog_error() {
        const error_dialog* shown = frame->pms_dialog()->error_reporter().error_diag();
        return shown && shown->isVisible() ? shown->message() : QString();
    }

    korv::testsupport::WorkingFolder folder;
    korv::platform::ScriptedFileChooser chooser;
    std::unique_ptr<korv::KorvioLibrary> library;
    std::unique_ptr<PMSframe> frame;
};

TEST_F(PmsDevice, TheGridShowsTheUnitsImage) {
    PeerOnPort<PmsPeer> unit(0, korv::sim::Pacing::Wire);
    const auto memory = PmsPeer::sample_memory();
    ASSERT_TRUE(download());
    EXPECT_EQ(dialog_error(), QString());
    EXPECT_FALSE(frame->pms_dialog()->isVisible());
    EXPECT_EQ(read_bytes(folder.file("tmp.e2p")), Bytes(memory.begin(), memory.begin() + 8191));
    EXPECT_EQ(frame->windowTitle(), QString::fromStdString("PMS settings file: " + folder.path() + "/tmp.e2p"));
    frame->PMS_program_2->setChecked(true);
    frame->PMS_timing->setChecked(true);
    for (int r = 0; r < pms::kGridRows; ++r) {
        for (int c = 0; c < pms::kColumns; ++c) {
            const int byte = static_cast<std::int8_t>(memory[pms::kBlockSize + pms::timing_offset(r, c)]);
            ASSERT_EQ(frame->display_cells[r + 1][c + 1]->text(), QString::number(byte)) << r << " " << c;
        }
    }
}

TEST_F(PmsDevice, AUnitThatFallsSilentEndsWithAMessageAndChangesNothing) {
    PeerOnPort<PmsPeer> unit(0, korv::sim::Pacing::Wire);
    // Silent from the first memory read on: the library asks ten times,
    // five seconds each, then gives up with an empty dump.
    unit->fail_reads(0xA000, PmsPeer::ReadFault::Silent, PmsPeer::kForever);
    ASSERT_TRUE(download());
    EXPECT_EQ(dialog_error(), "EEprom download incomplete!");
    EXPECT_TRUE(frame->pms_dialog()->isVisible());
    EXPECT_FALSE(std::filesystem::exists(folder.file("tmp.e2p")));
    EXPECT_EQ(frame->windowTitle(), "PMS Settings");
    EXPECT_FALSE(frame->save_to_pms->isEnabled());
}

}  // namespace
