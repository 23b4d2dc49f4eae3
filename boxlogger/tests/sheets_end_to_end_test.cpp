// The DRB II and tuning-variables sheets from the command screen, as a
// person reaches them, against the simulated data-logger box on COM1.
#include "boxlogger/core/command_table.h"
#include "boxlogger/gui/data_select_dialog.h"
#include "boxlogger/gui/vxm_vars_sheet.h"
#include "boxlogger/gui/vxmlog_app.h"
#include "boxlogger/tests/sheet_test_support.h"
#include "platform/core/scripted_file_chooser.h"
#include "platform/gui/qt_settings_store.h"
#include "testsupport/event_wait.h"
#include "testsupport/temp_folder.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace korv::boxlogger {
namespace {

using namespace korv::boxlogger::testing;
using namespace std::chrono_literals;

using testsupport::run_events_until;

template <class Sheet>
Sheet* open_sheet() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* sheet = qobject_cast<Sheet*>(w); sheet != nullptr && sheet->isVisible()) return sheet;
    return nullptr;
}

struct SheetsEndToEnd : ::testing::Test {
    JumpClock clock;
    platform::ScopedClock scoped_clock{clock};
    testsupport::TempFolder folder;
    sim::PeerOnPort<sim::VxmBox> box{0, sim::Pacing::Instant};
    platform::QtSettingsStore store{"Calderis", "VXMlog", QString::fromStdString(folder.path())};
    platform::ScriptedMessageBox messages;
    platform::ScriptedFileChooser files;
    std::unique_ptr<CVXMlogApp> app;

    void SetUp() override {
        AppServices services;
        services.store = &store;
        services.messages = &messages;
        services.files = &files;
        app = std::make_unique<CVXMlogApp>(services);
        ASSERT_TRUE(app->InitInstance({}));
        screen()->button(cmd::kConnect)->click();
        ASSERT_TRUE(run_events_until([this] { return !app->connecting(); }, 10s));
        ASSERT_EQ(screen()->button(cmd::kConnect)->text(), "Dis&connect");
    }
    void TearDown() override {
        if (app && !app->exited()) app->command_frame()->close();
        app.reset();
    }
    CCmdView* screen() { return app->command_frame()->view(); }
};

TEST_F(SheetsEndToEnd, Drb2ShowsTheBoxEcuAndClearsItsFaultWord) {
    box->ecu().set_value(0xFE, 0x54);
    box->ecu().set_value(0x3B, 0x21);  // codes 11 and 21
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* sheet = open_sheet<CDRBPropertySheet>();
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(app->engine().hold_count(), 1);
        EXPECT_TRUE(run_events_until([&] { return label_text(sheet->page(0), 1014) == "5422"; }))
            << label_text(sheet->page(0), 1014).toStdString();
        EXPECT_EQ(label_text(sheet->page(0), 1015), "2.0 Turbo Federal");
        EXPECT_EQ(label_text(sheet->page(0), 1017), "VXM Modified");
        sheet->SetActivePage(1);
        auto* faults = control<QListWidget>(sheet->page(1), 1011);
        EXPECT_TRUE(run_events_until([&] { return faults->count() == 2; }));
        control<QPushButton>(sheet->page(1), 1012)->click();
        EXPECT_TRUE(wait_idle(*sheet, &clock, sim::VxmBox::kCommandRunUs));
        EXPECT_EQ(box->ecu().trouble_codes(), 0);
        EXPECT_TRUE(run_events_until([&] { return faults->count() == 1 && faults->item(0)->text().isEmpty(); }));
        seen = true;
        sheet->reject();
    });
    screen()->button(cmd::kDrb2)->click();
    EXPECT_TRUE(seen);
    EXPECT_TRUE(messages.messages().empty()) << messages.messages().front().text;
    EXPECT_EQ(app->engine().hold_count(), 0);
}

TEST_F(SheetsEndToEnd, TuningVariablesButtonWritesARegister) {
    QPushButton* button = screen()->button(cmd::kTuningVariables);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "Tuning Variables");
    EXPECT_EQ(button->toolTip(), "Tuning Variables");
    EXPECT_EQ(button->statusTip(), "Alter ECU tuning variables");
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* sheet = open_sheet<CVXMVarsSheet>();
        ASSERT_NE(sheet, nullptr);
        ASSERT_TRUE(run_events_until([&] { return app->engine().link_up() == 1; }));
        sheet->vars_page(0)->edit(2)->setText("125");
        sheet->vars_page(0)->SetModified(true);
        sheet->accept();
        EXPECT_TRUE(wait_idle(*sheet));
        seen = !sheet->isVisible();
    });
    button->click();
    EXPECT_TRUE(seen);
    EXPECT_TRUE(messages.messages().empty()) << messages.messages().front().text;
    EXPECT_EQ(box->register_value(0x57), 160) << "125 % of 4k WOT Fuel Gain";
}

TEST_F(SheetsEndToEnd, TuningVariablesRefusedWhileACaptureWindowIsOpen) {
    screen()->button(cmd::kCollectData)->click();
    ASSERT_NE(app->capture_frame(), nullptr);
    screen()->button(cmd::kTuningVariables)->click();
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, "Data collection already in progress");
    EXPECT_EQ(app->engine().hold_count(), 0);
}

TEST_F(SheetsEndToEnd, SelectInTheCaptureWindowChoosesTheChannels) {
    screen()->button(cmd::kCollectData)->click();
    ASSERT_NE(app->capture_frame(), nullptr);
    QTimer::singleShot(0, [&] {
        auto* dialog = open_sheet<CDataSelectDlg>();
        ASSERT_NE(dialog, nullptr);
        dialog->tabs()->setCurrentIndex(0);
        for (int row = 0; row < dialog->available()->count(); ++row) {
            QListWidgetItem* item = dialog->available()->item(row);
            item->setSelected(item->data(Qt::UserRole).toInt() == 9);
        }
        dialog->OnSelect();
        dialog->accept();
    });
    app->capture_frame()->action(cmd::kSelect)->trigger();
    EXPECT_EQ(app->FindCaptureDocument()->GetChannelIds(), (std::vector<std::int32_t>{9, 59}));
}

}  // namespace
}  // namespace korv::boxlogger
