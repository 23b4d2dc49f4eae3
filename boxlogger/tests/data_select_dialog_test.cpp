// "Data Select", offscreen.
#include "boxlogger/core/channel_table.h"
#include "boxlogger/core/link_engine.h"
#include "boxlogger/core/serial_port.h"
#include "boxlogger/core/vxmlog_doc.h"
#include "boxlogger/gui/data_select_dialog.h"
#include "platform/core/scripted_message_box.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <gtest/gtest.h>
#include <set>

namespace korv::boxlogger {
namespace {

constexpr int kIdRole = Qt::UserRole;

std::vector<int> ids_of(QListWidget* list) {
    std::vector<int> ids;
    for (int row = 0; row < list->count(); ++row) ids.push_back(list->item(row)->data(kIdRole).toInt());
    return ids;
}

QListWidgetItem* item_of(QListWidget* list, int id) {
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->data(kIdRole).toInt() == id) return list->item(row);
    return nullptr;
}

struct DataSelect : ::testing::Test {
    QuickSelectSets sets;
    std::unique_ptr<CDataSelectDlg> dialog;

    void SetUp() override { ResetChannelTable(); }
    void open(std::vector<std::int32_t> ids) {
        dialog = std::make_unique<CDataSelectDlg>(ids, sets);
        dialog->show();
        QApplication::processEvents();
    }
    std::set<int> offered_on(int tab) {
        dialog->tabs()->setCurrentIndex(tab);
        const std::vector<int> ids = ids_of(dialog->available());
        return {ids.begin(), ids.end()};
    }
    void click(int id) { dialog->findChild<QPushButton*>(QString::number(id))->click(); }
};

TEST_F(DataSelect, ChosenChannelsAreListedByLabelAndOfferedOnNoTab) {
    open({9, 7});
    EXPECT_EQ(dialog->windowTitle(), "Data Select");
    EXPECT_EQ(ids_of(dialog->selected()), (std::vector<int>{9, 7})) << "Engine Speed before Throttle Position";
    ASSERT_EQ(dialog->tabs()->count(), 7);
    for (int tab = 0; tab < 7; ++tab) {
        const std::set<int> offered = offered_on(tab);
        EXPECT_EQ(offered.count(9) + offered.count(7), 0u) << "tab " << tab;
    }
}

TEST_F(DataSelect, TabsOfferTheirGroups) {
    open({});
    EXPECT_EQ(offered_on(6), (std::set<int>{53, 54, 55, 56, 57, 58})) << "Trigger";
    for (int tab = 0; tab < 7; ++tab)
        EXPECT_EQ(offered_on(tab).count(9), tab < 4 ? 1u : 0u) << "Engine Speed, tab " << tab;
    EXPECT_EQ(offered_on(5), std::set<int>{25}) << "the tuning variables are never offered";
}

TEST_F(DataSelect, SelectAndUnselectMoveChannelsBetweenTheLists) {
    open({9});
    dialog->tabs()->setCurrentIndex(0);
    item_of(dialog->available(), 10)->setSelected(true);
    item_of(dialog->available(), 13)->setSelected(true);
    click(1004);
    EXPECT_EQ(ids_of(dialog->selected()), (std::vector<int>{9, 13, 10}))
        << "Engine Speed, Fuel Trim Middle, Injector Pulse Width";
    EXPECT_EQ(item_of(dialog->available(), 10), nullptr);
    item_of(dialog->selected(), 9)->setSelected(true);
    item_of(dialog->selected(), 10)->setSelected(true);
    click(1005);
    EXPECT_EQ(ids_of(dialog->selected()), std::vector<int>{13});
    EXPECT_NE(item_of(dialog->available(), 9), nullptr);
}

TEST_F(DataSelect, OkHandsTheListEndedBy59AndAnEmptyListKeepsTheChannels) {
    CSerialPort port;
    CLinkEngine engine(port);
    platform::ScriptedMessageBox messages;
    CVXMlogDoc doc(engine, sets, DocumentPrompts{&messages, nullptr});
    doc.SetChannels({9, 7, 59});
    {
        CDataSelectDlg dialog(doc.GetChannelIds(), sets);
        EXPECT_EQ(ids_of(dialog.selected()), (std::vector<int>{9, 7}));
        QTimer::singleShot(0, &dialog, [&] {
            dialog.tabs()->setCurrentIndex(0);
            item_of(dialog.available(), 10)->setSelected(true);
            dialog.OnSelect();
            dialog.accept();
        });
        EXPECT_TRUE(RunDataSelect(doc, dialog));
        EXPECT_EQ(dialog.channel_list(), (std::vector<std::int32_t>{9, 10, 7, 59}));
    }
    EXPECT_EQ(doc.GetChannelIds(), (std::vector<std::int32_t>{9, 10, 7, 59}));
    {
        CDataSelectDlg dialog(doc.GetChannelIds(), sets);
        QTimer::singleShot(0, &dialog, [&] {
            dialog.selected()->selectAll();
            dialog.OnUnselect();
            dialog.accept();
        });
        EXPECT_FALSE(RunDataSelect(doc, dialog));
        EXPECT_TRUE(dialog.channel_list().empty());
    }
    EXPECT_EQ(doc.GetChannelIds(), (std::vector<std::int32_t>{9, 10, 7, 59})) << "kept";
}

TEST_F(DataSelect, RightClickOnASwatchRecoloursTheChannel) {
    open({});
    int asked = 0;
    dialog->SetColourChooser([&](const QPoint&, QWidget*) -> std::optional<std::uint32_t> {
        ++asked;
        return 0x0000FF;  // Red
    });
    dialog->tabs()->setCurrentIndex(6);
    QListWidget* list = dialog->available();
    const QRect rect = list->visualItemRect(item_of(list, 53));
    const int h = rect.height();
    const QPoint beside = list->viewport()->mapToGlobal(QPoint(2 * h + 8, rect.center().y()));
    dialog->OnContextMenu(beside);
    EXPECT_EQ(asked, 0) << "beside the swatch nothing happens";
    const QPoint swatch = list->viewport()->mapToGlobal(QPoint(h / 3 + h / 2, rect.center().y()));
    EXPECT_TRUE(dialog->OnContextMenu(swatch));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(GetChannelAttribute(53), 0x0000FF);
    dialog->reject();
    EXPECT_EQ(GetChannelAttribute(53), 0x0000FF) << "Cancel keeps a colour already chosen";
}

TEST_F(DataSelect, QuickSelectsLoadIntoAndSaveFromTheChosenList) {
    sets[2].SetName("Idle");
    sets[2].channels = {6, 9};
    open({7});
    int changed = 0;
    dialog->SetQuickSelectsChanged([&] { ++changed; });
    dialog->SetQuickSelectPrompt([](CDataSelectDlg::Names& names, QWidget*) -> std::optional<int> {
        EXPECT_EQ(names[2], "Idle");
        names[2] = "Idle check";
        return 2;
    });
    click(1066);
    EXPECT_EQ(ids_of(dialog->selected()), (std::vector<int>{9, 6})) << "Engine Speed, ISC Steps";
    EXPECT_NE(item_of(dialog->available(), 7), nullptr) << "7 is available again";
    EXPECT_EQ(sets[2].name(), "Idle check");
    EXPECT_EQ(changed, 1);

    item_of(dialog->available(), 7)->setSelected(true);
    click(1004);
    dialog->SetQuickSelectPrompt([](CDataSelectDlg::Names&, QWidget*) -> std::optional<int> { return 0; });
    click(1065);
    EXPECT_EQ(sets[0].channels, (std::vector<std::uint32_t>{9, 6, 7}));
    EXPECT_EQ(changed, 2);

    dialog->SetQuickSelectPrompt([](CDataSelectDlg::Names&, QWidget*) -> std::optional<int> { return std::nullopt; });
    click(1066);
    EXPECT_EQ(changed, 2) << "Cancel changes nothing";
    EXPECT_EQ(ids_of(dialog->selected()), (std::vector<int>{9, 6, 7}));
}

}  // namespace
}  // namespace korv::boxlogger
