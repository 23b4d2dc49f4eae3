#include "player/gui/csv_dialog.h"

#include "common/gui/grey_window.h"
#include "common/gui/window_style.h"

#include "player/core/csv_columns.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

namespace {
constexpr int kControlsPerRow = 5;
// Five column controls side by side in the columns area's 534-pixel view,
// each wide enough for its longest item ("Coolant Temp") in an 11-pixel font.
constexpr int kColumnGap = 4;
constexpr int kColumnWidth = 102;
}  // namespace

csv_dialog::csv_dialog(QWidget* owner, bool modal) : QDialog(owner) {
    setObjectName("csv_dialog");
    setWindowTitle(QString());
    setModal(modal);
    setFixedSize(560, 430);
    korv::paint_window_grey(*this);
    korv::use_window_style(*this);

    description = new QPlainTextEdit(this);
    description->setObjectName("description");
    description->setReadOnly(true);
    description->setPlainText(QStringLiteral(
        "You have selected an unknown file type.  This panel is used to define the file type.  If you choose "
        "CSV, you will be allowed to define the contents of each data column."));
    description->setGeometry(12, 10, 536, 56);
    description->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette pane = description->palette();
    pane.setColor(QPalette::Base, korv::window_grey());
    description->setPalette(pane);

    auto box = [this](const char* name, const QString& text, const QString& tip, int x) {
        auto* b = new QCheckBox(text, this);
        b->setObjectName(name);
        b->setToolTip(tip);
        b->setGeometry(x, 74, 170, 22);
        return b;
    };
    vxm_file = box("vxm_file", "VXM log file", "Click to define as a VXM log file", 12);
    pms_file = box("pms_file", "PMS log file", "Click to define as an Interacq log file", 192);
    csv_file = box("csv_file", "CSV format", "Click to define as a comma delimited file", 372);

    text_area = new QPlainTextEdit(this);
    text_area->setObjectName("text_area");
    text_area->setReadOnly(true);
    text_area->setGeometry(12, 102, 536, 80);
    text_area->hide();

    columns_area = new QScrollArea(this);
    columns_area->setObjectName("columns_area");
    columns_area->setGeometry(12, 188, 536, 192);
    columns_area->setWidgetResizable(true);
    columns_ = new QWidget;
    grid_ = new QGridLayout(columns_);
    grid_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    grid_->setContentsMargins(kColumnGap, kColumnGap, kColumnGap, kColumnGap);
    grid_->setSpacing(kColumnGap);
    columns_area->setWidget(columns_);
    columns_area->hide();

    ok_button = new QPushButton("Ok", this);
    ok_button->setObjectName("ok_button");
    ok_button->setToolTip("Click to select file type");
    ok_button->setGeometry(244, 392, 72, 26);

    connect(csv_file, &QCheckBox::stateChanged, this, &csv_dialog::csvFile_itemStateChanged);
    connect(ok_button, &QPushButton::clicked, this, &csv_dialog::okButton_actionPerformed);
}

void csv_dialog::add_controls(int count) {
    for (QComboBox* old : choices) delete old;
    choices.clear();
    for (int c = 0; c < count; ++c) {
        auto* choice = new QComboBox(columns_);
        choice->setObjectName(QStringLiteral("column_%1").arg(c + 1));
        for (int item = 0; item < korv::player::kCsvItemCount; ++item) {
            choice->addItem(QString::fromStdString(korv::player::csv_item_text(item, c + 1)));
        }
        choice->setCurrentIndex(0);
        choice->setFixedWidth(kColumnWidth);
        choice->setFont(korv::window_font(11));
        grid_->addWidget(choice, c / kControlsPerRow, c % kControlsPerRow);
        choices.push_back(choice);
    }
}

std::vector<int> csv_dialog::chosen_items() const {
    std::vector<int> items;
    items.reserve(choices.size());
    for (const QComboBox* choice : choices) items.push_back(choice->currentIndex());
    return items;
}

void csv_dialog::clear_text() {
    text_area->clear();
    // Each file is shown from its start, not where the last one was left.
    for (QScrollBar* bar : {text_area->horizontalScrollBar(), text_area->verticalScrollBar(),
                            columns_area->horizontalScrollBar(), columns_area->verticalScrollBar()}) {
        bar->setValue(0);
    }
}

void csv_dialog::append_text(const QString& text) {
    text_area->moveCursor(QTextCursor::End);
    text_area->insertPlainText(text);
}

void csv_dialog::csvFile_itemStateChanged() {
    const bool shown = csv_file->isChecked();
    text_area->setVisible(shown);
    columns_area->setVisible(shown);
}

void csv_dialog::okButton_actionPerformed() { accept(); }
