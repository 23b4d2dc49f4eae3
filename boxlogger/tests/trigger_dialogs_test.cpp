// Trigger Select and Trigger Rule driven as a user would, and the channel
// chooser they share with Data Select.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "boxlogger/core/channel_table.h"
#include "boxlogger/gui/channel_group_list.h"
#include "boxlogger/gui/trigger_rule_dialog.h"
#include "boxlogger/gui/trigger_select_dialog.h"
#include "platform/core/scripted_message_box.h"

namespace korv::boxlogger {
namespace {

template <typename T>
T* child(QWidget& parent, const char* name) {
    T* found = parent.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QStringList texts(const QListWidget& list) {
    QStringList out;
    for (int i = 0; i < list.count(); ++i) out << list.item(i)->text();
    return out;
}

void choose(QListWidget& list, const QString& text) {
    const auto found = list.findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    list.setCurrentItem(found[0]);
}

class TriggerDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        ResetChannelTable();
        ClearTriggers();
    }
    void TearDown() override { ClearTriggers(); }
    platform::ScriptedMessageBox messages;
};

TEST_F(TriggerDialogs, ChannelListShowsEachTabsChannelsByLabelLeavingOutExcludedOnes) {
    ChannelGroupList chooser;
    QStringList tabs;
    for (int i = 0; i < chooser.tabs()->count(); ++i) tabs << chooser.tabs()->tabText(i);
    EXPECT_EQ(tabs, (QStringList{"Fuel", "Air", "Spark", "Idle", "Misc", "VXM", "Trigger"}));
    int tabs_with_engine_speed = 0;
    for (int i = 0; i < chooser.tabs()->count(); ++i) {
        chooser.tabs()->setCurrentIndex(i);
        tabs_with_engine_speed += chooser.list()->findItems("Engine Speed", Qt::MatchExactly).size();
    }
    EXPECT_EQ(tabs_with_engine_speed, 4);
    chooser.tabs()->setCurrentIndex(6);
    EXPECT_EQ(texts(*chooser.list()),
              (QStringList{"Trigger 1", "Trigger 2", "Trigger 3", "Trigger 4", "Trigger 5", "Trigger 6"}));
    chooser.tabs()->setCurrentIndex(0);
    const QStringList fuel = texts(*chooser.list());
    QStringList sorted = fuel;
    sorted.sort();
    EXPECT_EQ(fuel, sorted);
    chooser.SetExcluded({9, 7});
    EXPECT_TRUE(chooser.list()->findItems("Engine Speed", Qt::MatchExactly).isEmpty());
    EXPECT_TRUE(chooser.list()->findItems("Throttle Position", Qt::MatchExactly).isEmpty());
}

TEST_F(TriggerDialogs, EveryActionWithoutATriggerAsksForOne) {
    TriggerSelectDialog dialog(messages);
    EXPECT_EQ(child<QComboBox>(dialog, "triggerChoice")->count(), 6);
    EXPECT_EQ(child<QComboBox>(dialog, "triggerChoice")->itemText(5), "Trigger 6");
    EXPECT_EQ(child<QComboBox>(dialog, "logicChoice")->currentIndex(), -1);
    choose(*dialog.channels()->list(), "Engine Speed");
    for (const char* name : {"createButton", "removeButton", "editButton"}) {
        QTest::mouseClick(child<QPushButton>(dialog, name), Qt::LeftButton);
    }
    ASSERT_EQ(messages.messages().size(), 3u);
    for (const auto& m : messages.messages()) EXPECT_EQ(m.text, "Select trigger first");
    EXPECT_TRUE(Trigger(0).rules().empty());
}

TEST_F(TriggerDialogs, CreateEditLogicAndRemoveChangeTheTriggerAtOnce) {
    TriggerSelectDialog dialog(messages);
    std::vector<std::string> edited;
    std::optional<std::pair<int, float>> answer = std::make_pair(kCompareGreater, 3000.0f);
    dialog.SetRuleEditor([&](const CTriggerRule& rule, QWidget*) {
        edited.push_back(rule.attributes.label);
        return answer;
    });
    auto* trigger = child<QComboBox>(dialog, "triggerChoice");
    auto* rules = child<QListWidget>(dialog, "ruleList");
    trigger->setCurrentIndex(1);
    choose(*dialog.channels()->list(), "Engine Speed");
    QTest::mouseClick(child<QPushButton>(dialog, "createButton"), Qt::LeftButton);
    EXPECT_EQ(texts(*rules), QStringList{"Engine Speed > 3000 RPM"});

    answer.reset();  // Cancel discards the new rule
    choose(*dialog.channels()->list(), "Injector Pulse Width");
    QTest::mouseClick(child<QPushButton>(dialog, "createButton"), Qt::LeftButton);
    ASSERT_EQ(Trigger(1).rules().size(), 1u);

    answer = std::make_pair(kCompareLess, 2500.0f);
    rules->setCurrentRow(0);
    QTest::mouseClick(child<QPushButton>(dialog, "editButton"), Qt::LeftButton);
    EXPECT_EQ(texts(*rules), QStringList{"Engine Speed < 2500 RPM"});
    EXPECT_EQ(edited, (std::vector<std::string>{"Engine Speed", "Injector Pulse Width", "Engine Speed"}));

    auto* logic = child<QComboBox>(dialog, "logicChoice");
    EXPECT_EQ(logic->currentIndex(), 0);
    logic->setCurrentIndex(1);
    emit logic->activated(1);
    EXPECT_EQ(Trigger(1).logic(), kLogicOr);
    trigger->setCurrentIndex(0);
    EXPECT_TRUE(texts(*rules).isEmpty());
    EXPECT_EQ(logic->currentIndex(), 0);

    trigger->setCurrentIndex(1);
    rules->setCurrentRow(0);
    emit rules->itemDoubleClicked(rules->item(0));
    EXPECT_TRUE(Trigger(1).rules().empty());
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(TriggerDialogs, ARuleOnTheTriggersOwnChainIsRefused) {
    ASSERT_TRUE(Trigger(1).AddRule(std::make_unique<CTriggerRule>(53, kCompareEqual, 1.0f)));
    TriggerSelectDialog dialog(messages);
    bool editor_opened = false;
    dialog.SetRuleEditor([&](const CTriggerRule&, QWidget*) {
        editor_opened = true;
        return std::make_pair(0, 1.0f);
    });
    child<QComboBox>(dialog, "triggerChoice")->setCurrentIndex(0);
    dialog.channels()->tabs()->setCurrentIndex(6);
    choose(*dialog.channels()->list(), "Trigger 2");
    emit dialog.channels()->list()->itemDoubleClicked(dialog.channels()->list()->currentItem());
    EXPECT_FALSE(editor_opened);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, "A trigger cannot depend on itself");
    EXPECT_TRUE(Trigger(0).rules().empty());
}

TEST_F(TriggerDialogs, RuleDialogShowsTheRuleAndReadsTheLeadingNumber) {
    CTriggerRule rule(9, kCompareGreater, 3000.0f);
    TriggerRuleDialog dialog(rule);
    EXPECT_EQ(dialog.windowTitle(), "Trigger Rule");
    EXPECT_EQ(child<QLabel>(dialog, "channelLabel")->text(), "Engine Speed");
    EXPECT_EQ(child<QLabel>(dialog, "unitsLabel")->text(), "RPM");
    EXPECT_EQ(child<QComboBox>(dialog, "comparisonChoice")->currentText(), "Greater Than");
    auto* value = child<QLineEdit>(dialog, "valueEdit");
    EXPECT_EQ(value->text(), "3000.00");
    for (const auto& [typed, expected] :
         std::vector<std::pair<QString, float>>{{"12.5abc", 12.5f}, {"abc", 0.0f}, {" -3", -3.0f}, {"nan", 0.0f}}) {
        value->setText(typed);
        EXPECT_EQ(dialog.value(), expected) << typed.toStdString();
    }
    EXPECT_EQ(dialog.comparison(), kCompareGreater);
}

}  // namespace
}  // namespace korv::boxlogger
