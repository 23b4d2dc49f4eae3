#pragma once
// The channel chooser shared by Trigger Select and Data Select: the group
// tabs ("Fuel" to "Trigger") over a list of the tab's channels, sorted by
// label, each item carrying its channel id.
#include <QWidget>
#include <cstdint>
#include <set>
#include <vector>

class QListWidget;
class QListWidgetItem;
class QTabBar;

namespace korv::boxlogger {

class ChannelGroupList : public QWidget {
    Q_OBJECT
public:
    // Qt's data role holding an item's channel id.
    static constexpr int kIdRole = Qt::UserRole;

    explicit ChannelGroupList(QWidget* parent = nullptr);

    QTabBar* tabs() const { return tabs_; }
    QListWidget* list() const { return list_; }

    // Channels left out of every tab (those already chosen elsewhere).
    void SetExcluded(std::set<std::int32_t> ids);
    // Fills the list for the current tab.
    void Refill();
    // The ids of the selected items, in list order.
    std::vector<std::int32_t> SelectedIds() const;
    // The id of the current item, or -1.
    std::int32_t CurrentId() const;

signals:
    void channelActivated(int channel_id);  // a double-click

private:
    QTabBar* tabs_;
    QListWidget* list_;
    std::set<std::int32_t> excluded_;
};

}  // namespace korv::boxlogger
