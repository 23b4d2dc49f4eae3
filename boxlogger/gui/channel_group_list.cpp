#include "boxlogger/gui/channel_group_list.h"

#include <QListWidget>
#include <QTabBar>
#include <QVBoxLayout>

#include "boxlogger/core/channel_table.h"
#include "platform/gui/windows1252_text.h"

namespace korv::boxlogger {

ChannelGroupList::ChannelGroupList(QWidget* parent)
    : QWidget(parent), tabs_(new QTabBar(this)), list_(new QListWidget(this)) {
    tabs_->setObjectName("groupTabs");
    list_->setObjectName("channelList");
    for (const ChannelGroup& group : ChannelGroups()) tabs_->addTab(QString::fromLatin1(group.tab));
    list_->setSortingEnabled(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tabs_);
    layout->addWidget(list_);
    connect(tabs_, &QTabBar::currentChanged, this, [this] { Refill(); });
    connect(list_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { emit channelActivated(item->data(kIdRole).toInt()); });
    Refill();
}

void ChannelGroupList::SetExcluded(std::set<std::int32_t> ids) {
    excluded_ = std::move(ids);
    Refill();
}

void ChannelGroupList::Refill() {
    list_->clear();
    const int tab = tabs_->currentIndex();
    const std::span<const ChannelGroup> groups = ChannelGroups();
    if (tab < 0 || static_cast<std::size_t>(tab) >= groups.size()) return;
    const std::uint32_t bit = groups[static_cast<std::size_t>(tab)].bit;
    for (const ChannelGroupEntry& entry : ChannelGroupTable()) {
        if ((entry.mask & bit) == 0 || excluded_.count(entry.id) != 0) continue;
        const std::optional<std::string> label = GetChannelLabel(entry.id);
        if (!label) continue;
        auto* item = new QListWidgetItem(platform::qstring_from_windows1252(*label));
        item->setData(kIdRole, entry.id);
        list_->addItem(item);
    }
}

std::vector<std::int32_t> ChannelGroupList::SelectedIds() const {
    std::vector<std::int32_t> ids;
    for (int row = 0; row < list_->count(); ++row) {
        if (list_->item(row)->isSelected()) ids.push_back(list_->item(row)->data(kIdRole).toInt());
    }
    return ids;
}

std::int32_t ChannelGroupList::CurrentId() const {
    const QListWidgetItem* item = list_->currentItem();
    return item != nullptr && item->isSelected() ? item->data(kIdRole).toInt() : -1;
}

}  // namespace korv::boxlogger
