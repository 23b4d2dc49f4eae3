#pragma once
// "Data Select": the channels to capture. The group tabs over the channels
// still available, the channels chosen, and the moves between them; a
// right-click on a colour swatch recolours that channel; the five quick
// selects load into or save from the chosen list.
#include "boxlogger/core/quick_select.h"

#include <QDialog>
#include <QStyledItemDelegate>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QListWidget;
class QTabBar;

namespace korv::boxlogger {

class CVXMlogDoc;
class ChannelGroupList;

// Draws a list item as the channel's colour swatch and its label.
class ChannelSwatchDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

class CDataSelectDlg : public QDialog {
    Q_OBJECT
public:
    using Names = std::array<QString, CQuickSelect::kSets>;
    // The 16-colour popup at a screen point: the colour chosen (0x00BBGGRR).
    using ColourChooser = std::function<std::optional<std::uint32_t>(const QPoint& global, QWidget* owner)>;
    // The quick-select dialog: none on Cancel, else the set chosen (0-4, -1
    // for none), with the names edited in place.
    using QuickSelectPrompt = std::function<std::optional<int>(Names& names, QWidget* parent)>;

    // The channel ids as the document lists them (ended by 59, or not).
    CDataSelectDlg(const std::vector<std::int32_t>& channel_ids, QuickSelectSets& quick_selects,
                   QWidget* parent = nullptr);

    void SetColourChooser(ColourChooser chooser) { choose_colour_ = std::move(chooser); }
    void SetQuickSelectPrompt(QuickSelectPrompt prompt) { prompt_ = std::move(prompt); }
    // Called after the quick selects' names or sets changed (the menus).
    void SetQuickSelectsChanged(std::function<void()> changed) { changed_ = std::move(changed); }

    // After OK: the chosen ids in list order ended by 59; empty when none
    // was chosen, and the document keeps its channels.
    const std::vector<std::int32_t>& channel_list() const { return channel_list_; }

    void OnSelect();
    void OnUnselect();
    void OnLoadQuickSelect();
    void OnSaveQuickSelect();
    void accept() override;
    // A right-click at a screen point; true when it was over a swatch.
    bool OnContextMenu(const QPoint& global);

    QTabBar* tabs() const;
    QListWidget* available() const;
    QListWidget* selected() const { return selected_; }
    // The chosen list's ids in list order.
    std::vector<std::int32_t> SelectedListIds() const;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void add_selected(std::int32_t id);
    void refill_available();
    bool recolour_in(QListWidget* list, const QPoint& global);
    std::optional<int> prompt_quick_select();

    QuickSelectSets& quick_selects_;
    ChannelGroupList* groups_;
    QListWidget* selected_;
    ColourChooser choose_colour_;
    QuickSelectPrompt prompt_;
    std::function<void()> changed_;
    std::vector<std::int32_t> channel_list_;
};

// The Select command: the dialog on the document's channels; on OK with
// channels chosen, and unsaved samples saved or given up, the document takes
// them. True when it did.
bool RunDataSelect(CVXMlogDoc& doc, CDataSelectDlg& dialog);

}  // namespace korv::boxlogger
