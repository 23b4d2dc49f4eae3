#include "boxlogger/gui/data_select_dialog.h"

#include "boxlogger/core/channel_table.h"
#include "boxlogger/core/data_attributes.h"
#include "boxlogger/core/vxmlog_doc.h"
#include "boxlogger/gui/channel_group_list.h"
#include "common/core/colour.h"
#include "common/gui/qt_colour.h"
#include "common/gui/window_style.h"
#include "platform/gui/windows1252_text.h"

#include <QContextMenuEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>
#include <set>

namespace korv::boxlogger {
namespace {

constexpr int kIdRole = ChannelGroupList::kIdRole;

QColor colour_of(std::int32_t id) {
    const std::int64_t bgr = GetChannelAttribute(id);
    if (bgr < 0) return Qt::black;
    return to_qcolor(colour_from_bgr(static_cast<std::uint32_t>(bgr)));
}

void use_swatches(QListWidget* list, QObject* owner) {
    list->setItemDelegate(new ChannelSwatchDelegate(owner));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setUniformItemSizes(true);
}

}  // namespace

void ChannelSwatchDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    if (!index.isValid()) return;
    painter->save();
    const QRect r = option.rect;
    const bool chosen = option.state & QStyle::State_Selected;
    const QPalette& palette = option.palette;
    painter->fillRect(r, chosen ? palette.highlight() : palette.base());
    const int h = r.height();
    const QRect swatch(r.left() + h / 3, r.top() + h / 4, h, h - 2 * (h / 4));
    painter->fillRect(swatch, colour_of(index.data(kIdRole).toInt()));
    painter->setPen(palette.color(QPalette::WindowText));
    painter->drawRect(swatch.adjusted(0, 0, -1, -1));
    painter->setPen(chosen ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::Text));
    const QRect text(swatch.right() + 1 + h / 3, r.top(), r.right() - swatch.right() - h / 3, h);
    painter->drawText(text, Qt::AlignLeft | Qt::AlignTop, index.data(Qt::DisplayRole).toString());
    if (option.state & QStyle::State_HasFocus) {
        painter->setPen(QPen(palette.color(QPalette::Text), 1, Qt::DotLine));
        painter->drawRect(r.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}

QSize ChannelSwatchDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QFontMetrics metrics(option.font);
    const int h = metrics.height();
    return QSize(h + metrics.horizontalAdvance(index.data(Qt::DisplayRole).toString()), h);
}

CDataSelectDlg::CDataSelectDlg(const std::vector<std::int32_t>& channel_ids, QuickSelectSets& quick_selects,
                               QWidget* parent)
    : QDialog(parent), quick_selects_(quick_selects) {
    setObjectName("130");
    setWindowTitle("Data Select");
    use_window_style(*this);
    groups_ = new ChannelGroupList(this);
    groups_->tabs()->setObjectName("1002");
    groups_->list()->setObjectName("1007");
    use_swatches(groups_->list(), this);
    selected_ = new QListWidget(this);
    selected_->setObjectName("1003");
    selected_->setSortingEnabled(true);
    use_swatches(selected_, this);

    auto* select = new QPushButton(">> Select >>", this);
    select->setObjectName("1004");
    auto* unselect = new QPushButton("<< Unselect <<", this);
    unselect->setObjectName("1005");
    auto* load = new QPushButton("&Load Quick Select", this);
    load->setObjectName("1066");
    auto* save = new QPushButton("&Save Quick Select", this);
    save->setObjectName("1065");
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("1");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("2");

    auto* grid = new QGridLayout(this);
    auto* middle = new QVBoxLayout;
    middle->addStretch(1);
    middle->addWidget(select);
    middle->addWidget(unselect);
    middle->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel("Sampled Data", this));
    right->addWidget(selected_);
    grid->addWidget(groups_, 0, 0);
    grid->addLayout(middle, 0, 1);
    grid->addLayout(right, 0, 2);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(load);
    bottom->addWidget(save);
    bottom->addStretch(1);
    bottom->addWidget(ok);
    bottom->addWidget(cancel);
    grid->addLayout(bottom, 1, 0, 1, 3);

    connect(select, &QPushButton::clicked, this, &CDataSelectDlg::OnSelect);
    connect(unselect, &QPushButton::clicked, this, &CDataSelectDlg::OnUnselect);
    connect(load, &QPushButton::clicked, this, &CDataSelectDlg::OnLoadQuickSelect);
    connect(save, &QPushButton::clicked, this, &CDataSelectDlg::OnSaveQuickSelect);
    connect(ok, &QPushButton::clicked, this, &CDataSelectDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CDataSelectDlg::reject);
    connect(groups_, &ChannelGroupList::channelActivated, this, &CDataSelectDlg::OnSelect);
    connect(selected_, &QListWidget::itemDoubleClicked, this, &CDataSelectDlg::OnUnselect);

    for (std::int32_t id : channel_ids) {
        if (id == kChannelListEnd) break;
        add_selected(id);
    }
    refill_available();
}

QTabBar* CDataSelectDlg::tabs() const { return groups_->tabs(); }
QListWidget* CDataSelectDlg::available() const { return groups_->list(); }

void CDataSelectDlg::add_selected(std::int32_t id) {
    const std::optional<std::string> label = GetChannelLabel(id);
    auto* item = new QListWidgetItem(platform::qstring_from_windows1252(label ? *label : kCommandLabel));
    item->setData(kIdRole, id);
    selected_->addItem(item);
}

std::vector<std::int32_t> CDataSelectDlg::SelectedListIds() const {
    std::vector<std::int32_t> ids;
    for (int row = 0; row < selected_->count(); ++row) ids.push_back(selected_->item(row)->data(kIdRole).toInt());
    return ids;
}

void CDataSelectDlg::refill_available() {
    const std::vector<std::int32_t> ids = SelectedListIds();
    groups_->SetExcluded(std::set<std::int32_t>(ids.begin(), ids.end()));
}

void CDataSelectDlg::OnSelect() {
    for (std::int32_t id : groups_->SelectedIds()) add_selected(id);
    refill_available();
}

void CDataSelectDlg::OnUnselect() {
    std::vector<std::int32_t> ids;
    for (QListWidgetItem* item : selected_->selectedItems()) ids.push_back(item->data(kIdRole).toInt());
    for (std::int32_t id : ids) {
        for (int row = 0; row < selected_->count(); ++row) {
            if (selected_->item(row)->data(kIdRole).toInt() == id) {
                delete selected_->takeItem(row);
                break;
            }
        }
    }
    refill_available();
}

std::optional<int> CDataSelectDlg::prompt_quick_select() {
    if (!prompt_) return std::nullopt;
    Names names;
    for (std::size_t i = 0; i < names.size(); ++i)
        names[i] = platform::qstring_from_windows1252(quick_selects_[i].name());
    const std::optional<int> chosen = prompt_(names, this);
    if (!chosen) return std::nullopt;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (auto name = platform::windows1252_from_qstring(names[i])) quick_selects_[i].SetName(*name);
    }
    return chosen;
}

void CDataSelectDlg::OnLoadQuickSelect() {
    const std::optional<int> chosen = prompt_quick_select();
    if (!chosen) return;
    if (*chosen >= 0 && *chosen < CQuickSelect::kSets) {
        selected_->clear();
        for (std::uint32_t id : quick_selects_[static_cast<std::size_t>(*chosen)].channels)
            add_selected(static_cast<std::int32_t>(id));
        refill_available();
    }
    if (changed_) changed_();
}

void CDataSelectDlg::OnSaveQuickSelect() {
    const std::optional<int> chosen = prompt_quick_select();
    if (!chosen) return;
    if (*chosen >= 0 && *chosen < CQuickSelect::kSets) {
        std::vector<std::uint32_t>& set = quick_selects_[static_cast<std::size_t>(*chosen)].channels;
        set.clear();
        for (std::int32_t id : SelectedListIds()) set.push_back(static_cast<std::uint32_t>(id));
    }
    if (changed_) changed_();
}

void CDataSelectDlg::accept() {
    channel_list_.clear();
    const std::vector<std::int32_t> ids = SelectedListIds();
    if (!ids.empty()) {
        channel_list_ = ids;
        channel_list_.push_back(kChannelListEnd);
    }
    QDialog::accept();
}

bool CDataSelectDlg::recolour_in(QListWidget* list, const QPoint& global) {
    if (list->count() == 0) return false;
    const QPoint at = list->viewport()->mapFromGlobal(global);
    if (!list->viewport()->rect().contains(at)) return false;
    QListWidgetItem* item = list->itemAt(at);
    if (item == nullptr) return false;
    // Only over the swatch: within twice the item height of the list's edge.
    const int height = list->visualItemRect(item).height();
    if (list->mapFromGlobal(global).x() >= 2 * height) return true;
    if (choose_colour_) {
        if (const auto colour = choose_colour_(global, window())) {
            SetChannelAttribute(item->data(kIdRole).toInt(), *colour);
        }
    }
    list->viewport()->repaint();
    return true;
}

bool CDataSelectDlg::OnContextMenu(const QPoint& global) {
    return recolour_in(available(), global) || recolour_in(selected_, global);
}

void CDataSelectDlg::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Keyboard) return;
    OnContextMenu(event->globalPos());
}

bool RunDataSelect(CVXMlogDoc& doc, CDataSelectDlg& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.channel_list().empty()) return false;
    if (!doc.SaveModified()) return false;
    doc.SetChannels(dialog.channel_list());
    return true;
}

}  // namespace korv::boxlogger
