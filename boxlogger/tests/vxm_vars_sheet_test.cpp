// The tuning-variables sheet against the simulated box, offscreen.
#include "boxlogger/gui/vxm_vars_sheet.h"
#include "boxlogger/tests/sheet_test_support.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace korv::boxlogger {
namespace {

using namespace korv::boxlogger::testing;

struct VarsSheet : ::testing::Test {
    BoxLink link;
    std::unique_ptr<CVXMVarsSheet> sheet;

    void open() {
        sheet = std::make_unique<CVXMVarsSheet>(link.engine, link.messages);
        link.engine.Hold();
        sheet->show();
    }
    void TearDown() override {
        if (sheet) {
            sheet.reset();
            link.engine.Release();
        }
    }
    // Brings the link up the way the poll thread does.
    void link_up() {
        link.poll_hub();
        ASSERT_EQ(link.engine.link_up(), 1);
    }
    QLineEdit* edit(int page, int row) { return sheet->vars_page(page)->edit(row); }
    void type(int page, int row, const QString& text) {
        sheet->SetActivePage(page);
        edit(page, row)->clear();
        QTest::keyClicks(edit(page, row), text);
    }
};

TEST_F(VarsSheet, TwoPagesOfTheBoxVariablesWithTheirEdits) {
    open();
    EXPECT_EQ(sheet->windowTitle(), "VXM Variables");
    ASSERT_EQ(sheet->page_count(), 2);
    EXPECT_EQ(sheet->tabs()->tabText(0), "VXM Vars 1");
    EXPECT_EQ(sheet->tabs()->tabText(1), "VXM Vars 2");
    EXPECT_EQ(label_text(sheet->page(0), 1016), "Idle Fuel Gain");
    EXPECT_EQ(label_text(sheet->page(1), 1021), "Inj Deadtime Scale");
    EXPECT_EQ(sheet->vars_page(0)->row_count(), 5);
    EXPECT_EQ(control<QLineEdit>(sheet->page(1), 1112), edit(1, 5));
    EXPECT_EQ(control<QLineEdit>(sheet->page(0), 1112), nullptr) << "one edit per row";
    QPushButton* toggle = control<QPushButton>(sheet->page(0), 1040);
    ASSERT_NE(toggle, nullptr);
    EXPECT_TRUE(toggle->isHidden());
    EXPECT_FALSE(toggle->isEnabled());
}

TEST_F(VarsSheet, TypingEnablesApplyAndMakesItTheDefault) {
    open();
    EXPECT_FALSE(sheet->apply_button()->isEnabled());
    type(1, 2, "4");
    EXPECT_TRUE(sheet->vars_page(1)->modified());
    EXPECT_TRUE(sheet->apply_button()->isEnabled());
    EXPECT_TRUE(sheet->apply_button()->isDefault());
}

TEST_F(VarsSheet, ATuningWriteSetsTheRegisterAndTheCurrentValueFollows) {
    open();
    link_up();
    sheet->page(0)->OnTimer();
    EXPECT_EQ(label_text(sheet->page(0), 1028), "100") << "the box starts at 100 %";
    type(0, 0, "150");
    sheet->apply_button()->click();
    ASSERT_TRUE(wait_idle(*sheet));
    EXPECT_TRUE(link.messages.messages().empty()) << link.texts().front();
    EXPECT_EQ(link.box.register_value(0x55), 192) << "150 % in 0.78125 % steps";
    EXPECT_EQ(edit(0, 0)->text(), "") << "a sent row is cleared";
    EXPECT_FALSE(sheet->apply_button()->isEnabled());
    link.poll_hub();
    sheet->page(0)->OnTimer();
    EXPECT_EQ(label_text(sheet->page(0), 1028), "150");
}

TEST_F(VarsSheet, SignedAndPointNumbersAreSentLettersAreClearedUnsent) {
    link.box.set_register(0x5A, 0x7F);
    open();
    link_up();
    type(1, 0, " -.5");
    type(1, 1, "+3");
    sheet->OnApply();
    ASSERT_TRUE(wait_idle(*sheet));
    EXPECT_EQ(link.box.frames_written(), 2);
    EXPECT_EQ(link.box.register_value(0x5A), 0) << "-0.5 degrees rounds to 0";
    EXPECT_EQ(link.box.register_value(0x5B), 3);

    // Letters between two numbers: cleared without a word, the rows around
    // them still go.
    type(1, 0, "2");
    type(1, 1, "abc");
    type(1, 2, "7");
    sheet->OnApply();
    ASSERT_TRUE(wait_idle(*sheet));
    EXPECT_TRUE(link.messages.messages().empty()) << link.texts().front();
    EXPECT_EQ(link.box.frames_written(), 4);
    EXPECT_EQ(link.box.register_value(0x5A), 2);
    EXPECT_EQ(link.box.register_value(0x5B), 3) << "the letters sent nothing";
    EXPECT_EQ(link.box.register_value(0x5C), 7);
    for (int row : {0, 1, 2}) EXPECT_EQ(edit(1, row)->text(), "") << row;
    EXPECT_FALSE(sheet->vars_page(1)->modified());

    // Letters alone apply the page with nothing sent.
    type(0, 3, "x");
    sheet->accept();
    ASSERT_TRUE(wait_idle(*sheet));
    EXPECT_EQ(link.box.frames_written(), 4);
    EXPECT_EQ(edit(0, 3)->text(), "");
    EXPECT_FALSE(sheet->isVisible());
}

TEST_F(VarsSheet, LinkDownRefusesTheUpdateAndSendsNothing) {
    open();
    type(0, 1, "120");
    sheet->apply_button()->click();
    EXPECT_FALSE(sheet->busy());
    EXPECT_EQ(link.texts(), std::vector<std::string>{"Could not send update command - link is down"});
    EXPECT_EQ(link.box.frames_written(), 0);
    EXPECT_EQ(edit(0, 1)->text(), "120");
    sheet->accept();
    EXPECT_TRUE(sheet->isVisible()) << "OK does not close an unapplied page";
}

TEST_F(VarsSheet, AFailedWriteStopsAndKeepsTheRowsNotSent) {
    open();
    link_up();
    type(0, 0, "x");
    type(0, 1, "110");
    type(0, 2, "y");
    type(0, 3, "120");
    link.box.set_state(sim::BoxState::Silent);
    sheet->accept();
    ASSERT_TRUE(wait_idle(*sheet, &link.clock, CLinkEngine::kSendCommandGiveUpUs));
    EXPECT_EQ(link.texts(), std::vector<std::string>{"Problem updating variable"});
    EXPECT_EQ(edit(0, 0)->text(), "") << "letters before the failed row are cleared";
    EXPECT_EQ(edit(0, 1)->text(), "110");
    EXPECT_EQ(edit(0, 2)->text(), "y") << "rows after it wait for another try";
    EXPECT_EQ(edit(0, 3)->text(), "120");
    EXPECT_TRUE(sheet->isVisible());
}

TEST_F(VarsSheet, OkAppliesBothPagesThenCloses) {
    open();
    link_up();
    type(0, 4, "50");
    type(1, 5, "200");
    sheet->accept();
    ASSERT_TRUE(wait_idle(*sheet));
    EXPECT_TRUE(link.messages.messages().empty()) << link.texts().front();
    EXPECT_EQ(link.box.register_value(0x59), 64);
    EXPECT_EQ(link.box.register_value(0x5F), 255) << "200 % clamps to the top raw value";
    EXPECT_FALSE(sheet->isVisible());
}

TEST_F(VarsSheet, RefusedWhileACaptureWindowIsOpen) {
    EXPECT_EQ(CVXMVarsSheet::Open(true, link.engine, link.messages), QDialog::Rejected);
    EXPECT_EQ(link.texts(), std::vector<std::string>{"Data collection already in progress"});
    EXPECT_EQ(link.engine.hold_count(), 0);

    int held = -1;
    QTimer::singleShot(0, [&] {
        held = link.engine.hold_count();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* open_sheet = qobject_cast<CVXMVarsSheet*>(w); open_sheet && open_sheet->isVisible())
                open_sheet->reject();
    });
    EXPECT_EQ(CVXMVarsSheet::Open(false, link.engine, link.messages), QDialog::Rejected);
    EXPECT_EQ(held, 1);
    EXPECT_EQ(link.engine.hold_count(), 0);
}

}  // namespace
}  // namespace korv::boxlogger
