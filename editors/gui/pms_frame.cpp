#include "editors/gui/pms_frame.h"

#include "common/gui/grey_window.h"
#include "common/gui/window_style.h"
#include "editors/gui/editor_fields.h"
#include "editors/gui/pms_dialog.h"
#include "editors/gui/pms_enhanced.h"
#include "platform/gui/qt_file_chooser.h"
#include "platform/gui/queued_call.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

#include <string>

namespace pms = korv::editors::pms;

namespace {

using korv::editors::colour_field;

constexpr int kLeft = 10;
constexpr int kTop = 10;
constexpr int kLabelWidth = 56;
constexpr int kCellWidth = 44;
constexpr int kCellHeight = 20;
constexpr int kGroupGap = 6;
constexpr int kPanelLeft = kLeft + kLabelWidth + 13 * kCellWidth + 14;

const char* const kRowLabels[16] = {"Low",  "L1",  "L2",    "L3", "Med", "M1", "M2",      "M3",
                                    "High", "WOT", "1 psi", " ",  " ",   " ",  "Max psi", "NOS"};

QColor green() { return QColor(0, 255, 0); }
QColor blue() { return QColor(0, 0, 255); }
QColor red() { return QColor(255, 0, 0); }
QColor yellow() { return QColor(255, 255, 0); }

// Gaps after "High", "WOT" and "Max psi".
int row_top(int row) {
    int top = kTop + row * kCellHeight;
    if (row > 9) top += kGroupGap;
    if (row > 10) top += kGroupGap;
    if (row > 15) top += kGroupGap;
    return top;
}

}  // namespace

PMSframe::PMSframe(korv::editors::EditorServices services) : QWidget(nullptr), services_(services) {
    setObjectName("PMSframe");
    setWindowTitle(QStringLiteral("PMS Settings"));
    setFixedSize(kPanelLeft + 140, row_top(kGridRows) + 60);
    korv::paint_window_grey(*this);
    korv::use_window_style(*this);
    korv::editors::use_readable_selection(*this);
    if (!services_.chooser) {
        own_chooser_ = std::make_unique<korv::platform::QtFileChooser>(this);
        services_.chooser = own_chooser_.get();
    }

    build_grid();

    const auto radio = [this](QRadioButton*& button, const char* name, const char* text, const char* tip, int y) {
        button = new QRadioButton(QString::fromLatin1(text), this);
        button->setObjectName(QString::fromLatin1(name));
        button->setToolTip(QString::fromLatin1(tip));
        button->setGeometry(kPanelLeft, y, 136, 20);
    };
    radio(PMS_program_1, "PMS_program_1", "Program 1", "Display program 1 settings", kTop);
    radio(PMS_program_2, "PMS_program_2", "Program 2", "Display program 2 settings", kTop + 22);
    radio(PMS_program_3, "PMS_program_3", "Program 3", "Display program 3 settings", kTop + 44);
    radio(PMS_fuel, "PMS_fuel", "Fuel settings", "Display fuel settings for this program", kTop + 76);
    radio(PMS_timing, "PMS_timing", "Ignition settings", "Display ignition settings for this program", kTop + 98);
    auto* programs = new QButtonGroup(this);
    for (QRadioButton* b : {PMS_program_1, PMS_program_2, PMS_program_3}) programs->addButton(b);
    auto* tables = new QButtonGroup(this);
    for (QRadioButton* b : {PMS_fuel, PMS_timing}) tables->addButton(b);
    PMS_program_1->setChecked(true);
    PMS_fuel->setChecked(true);

    const auto button = [this](QPushButton*& made, const char* name, const char* text, const char* tip, int y) {
        made = new QPushButton(QString::fromLatin1(text), this);
        made->setObjectName(QString::fromLatin1(name));
        made->setToolTip(QString::fromLatin1(tip));
        made->setGeometry(kPanelLeft, y, 110, 24);
    };
    button(load_from_pms, "load_from_pms", "Load ", "Load data tables from the PMS", kTop + 130);
    button(open_pms_config_button, "open_pms_config_button", "Open", "Load data tables from the configuration file",
           kTop + 158);
    button(save_to_pms, "save_to_pms", "Save", "Save the data tables in the configuration file", kTop + 186);
    button(PMS_enhanced, "PMS_enhanced", "Enhanced", "Display additional PMS data", kTop + 214);
    button(update_button, "update_button", "Update", "Update the PMS Eeprom", kTop + 242);
    save_to_pms->setEnabled(false);
    update_button->setEnabled(false);  // nothing writes an image into the unit

    const auto lock = [this](QCheckBox*& box, const char* name, const char* text, const char* tip, int y) {
        box = new QCheckBox(QString::fromLatin1(text), this);
        box->setObjectName(QString::fromLatin1(name));
        box->setToolTip(QString::fromLatin1(tip));
        box->setGeometry(kPanelLeft, y, 136, 20);
        connect(box, &QCheckBox::clicked, this, &PMSframe::lock_mouseClicked);
    };
    lock(lock_boost, "lock_boost", "Lock Boost", "Lock out boost entries from manipulation by the simulator",
         kTop + 276);
    lock(lock_nos, "lock_nos", "Lock NOS", "Lock out NOS entries from adjustment by the simulator", kTop + 298);
    lock(lock_wot, "lock_wot", "Lock WOT", "Lock out WOT from simulator manipulation", kTop + 320);

    info_text = new QTextEdit(this);
    info_text->setObjectName("info_text");
    info_text->setReadOnly(true);
    info_text->setPlainText(QStringLiteral("This panel is used to enter your PMS settings"));
    info_text->setGeometry(kLeft, row_top(kGridRows) + 8, kPanelLeft - kLeft - 14, 40);

    // Only the button that became selected redraws.
    for (QRadioButton* b : {PMS_program_1, PMS_program_2, PMS_program_3, PMS_fuel, PMS_timing}) {
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on) display_pgm();
        });
    }
    connect(load_from_pms, &QPushButton::clicked, this, &PMSframe::load_from_pms_actionPerformed);
    connect(open_pms_config_button, &QPushButton::clicked, this, &PMSframe::open_pms_config_button_actionPerformed);
    connect(save_to_pms, &QPushButton::clicked, this, &PMSframe::save_to_pms_actionPerformed);
    connect(PMS_enhanced, &QPushButton::clicked, this, &PMSframe::PMS_enhanced_actionPerformed);
}

PMSframe::~PMSframe() {
    // A cell that still has the focus loses it while the window is torn
    // down; by then there is nothing left to validate against.
    for (auto& row : display_cells)
        for (QLineEdit* cell : row)
            if (cell) cell->removeEventFilter(this);
}

void PMSframe::build_grid() {
    settings_.cells().clear();
    const QFont cell_font = korv::window_font(10);
    for (int r = 0; r < kGridRows; ++r) {
        for (int k = 0; k < kGridColumns; ++k) {
            if (r == 0 && k == 0) continue;
            auto* cell = new QLineEdit(this);
            cell->setObjectName(QStringLiteral("display_cells_%1_%2").arg(r).arg(k));
            const int x = k == 0 ? kLeft : kLeft + kLabelWidth + (k - 1) * kCellWidth;
            cell->setGeometry(x, row_top(r), k == 0 ? kLabelWidth : kCellWidth, kCellHeight);
            cell->setFont(cell_font);
            if (r == 0 || k == 0) {
                cell->setReadOnly(true);
                cell->setText(r == 0 ? QString::number(2000 + 500 * (k - 1)) : QString::fromLatin1(kRowLabels[r - 1]));
                colour_field(*cell, green(), Qt::black);
            } else {
                cell->setText(QStringLiteral("0"));
                colour_field(*cell, blue(), Qt::white);
                cell->installEventFilter(this);
            }
            display_cells[r][k] = cell;
        }
    }
}

int PMSframe::selected_program() const {
    if (PMS_program_2->isChecked()) return 1;
    if (PMS_program_3->isChecked()) return 2;
    return 0;
}

int PMSframe::selected_table() const { return PMS_timing->isChecked() ? pms::kTiming : pms::kFuel; }

void PMSframe::set_config(const QString& file, const QString& dir) {
    pms_config_file = file;
    pms_config_dir = dir;
}

std::string PMSframe::current_path() const { return QFile::encodeName(pms_config_dir + pms_config_file).toStdString(); }

void PMSframe::take_path(const korv::editors::NameAndFolder& parts) {
    pms_config_dir = parts.dir;
    pms_config_file = parts.file;
}

void PMSframe::recall_data() {
    const pms::PmsSettings::ProgramLoad load = settings_.recall_data(current_path());
    if (load.error) error_.error_rtn(QString::fromStdString(*load.error));
    if (load.found) {
        setWindowTitle(QStringLiteral("PMS settings file: ") + pms_config_dir + pms_config_file);
        save_to_pms->setEnabled(true);
    }
}

void PMSframe::show_cell(int row, int column) {
    display_cells[row][column]->setText(
        QString::number(settings_.cells().shown(selected_program(), selected_table(), row - 1, column - 1)));
}

void PMSframe::paint_cell(int row, int column, const QColor& background) {
    korv::editors::paint_field(*display_cells[row][column], background);
}

void PMSframe::display_pgm() {
    const int p = selected_program();
    const int t = selected_table();
    for (int r = 1; r < kGridRows; ++r)
        for (int k = 1; k < kGridColumns; ++k) show_cell(r, k);
    if (pms_enhanced_) pms_enhanced_->display_enhanced(settings_.cells(), p);
    const pms::AdjustCells& cells = settings_.cells();
    for (int i = 1; i <= 4; ++i)
        display_cells[11 + i][0]->setText(
            QString::number(cells.at(0, p, pms::kTiming, pms::kSideRow, pms::kFirstBreakpoint + i)));
    lock_wot->setChecked(cells.at(0, p, t, pms::kSideRow, pms::kLockWot) == 1);
    lock_nos->setChecked(cells.at(0, p, t, pms::kSideRow, pms::kLockNos) == 1);
    lock_boost->setChecked(cells.at(0, p, t, pms::kSideRow, pms::kLockBoost) == 1);
}

void PMSframe::reset_sim() {
    settings_.cells().reset_sim();
    adjust_pcnt = pms::kNoAdjustment;
}

void PMSframe::lock_mouseClicked() {
    const int p = selected_program();
    const int t = selected_table();
    pms::AdjustCells& cells = settings_.cells();
    cells.at(0, p, t, pms::kSideRow, pms::kLockWot) = lock_wot->isChecked() ? 1 : 0;
    cells.at(0, p, t, pms::kSideRow, pms::kLockNos) = lock_nos->isChecked() ? 1 : 0;
    cells.at(0, p, t, pms::kSideRow, pms::kLockBoost) = lock_boost->isChecked() ? 1 : 0;
    display_pgm();
}

bool PMSframe::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        for (int r = 1; r < kGridRows; ++r) {
            for (int k = 1; k < kGridColumns; ++k) {
                if (display_cells[r][k] != watched) continue;
                if (event->type() == QEvent::FocusIn) {
                    QLineEdit* cell = display_cells[r][k];
                    korv::platform::post_queued(cell, [cell] { cell->selectAll(); });
                } else {
                    validate_cell(r, k);
                }
                return false;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PMSframe::validate_cell(int row, int column) {
    const int p = selected_program();
    const int t = selected_table();
    pms::AdjustCells& cells = settings_.cells();
    QLineEdit* cell = display_cells[row][column];
    // Blanks of any kind around the number are dropped (a pasted no-break space too).
    const std::string_view refusal =
        pms::edit_cell(cells, p, t, row - 1, column - 1, cell->text().trimmed().toStdString());
    if (!refusal.empty()) error_.error_rtn(korv::editors::field_message(refusal));
    cell->setText(QString::number(cells.at(0, p, t, row - 1, column - 1)));
}

void PMSframe::animate_cells(int rpm, std::int8_t tps, float boost, std::int8_t acc) {
    for (const auto& [r, k] : highlighted_) paint_cell(r, k, blue());
    highlighted_.clear();
    const int p = selected_program();
    const pms::PmsLocks locks{lock_wot->isChecked(), lock_nos->isChecked(), lock_boost->isChecked()};
    const pms::PmsAnimation shown = pms::animate_cells(settings_.cells(), p, locks, adjust_pcnt, rpm, tps, boost, acc);
    total_adjust_ = shown.total_adjust;
    if (selected_table() == pms::kFuel)
        for (const pms::AnimatedCell& cell : shown.stored) show_cell(cell.row + 1, cell.column + 1);
    for (const auto& cell : {shown.throttle, shown.boost, shown.nos}) {
        if (!cell) continue;
        paint_cell(cell->row + 1, cell->column + 1, cell->locked ? yellow() : red());
        highlighted_.emplace_back(cell->row + 1, cell->column + 1);
    }
}

korv::player::PmsChoices PMSframe::radio_buttons() const {
    return {PMS_program_1->isChecked(), PMS_program_2->isChecked(), PMS_program_3->isChecked(), PMS_fuel->isChecked(),
            PMS_timing->isChecked()};
}

void PMSframe::set_radio_buttons(const korv::player::PmsChoices& buttons) {
    // Exclusive groups: only a ticked button changes the selection.
    if (buttons.program_1) PMS_program_1->setChecked(true);
    if (buttons.program_2) PMS_program_2->setChecked(true);
    if (buttons.program_3) PMS_program_3->setChecked(true);
    if (buttons.fuel) PMS_fuel->setChecked(true);
    if (buttons.timing) PMS_timing->setChecked(true);
}

void PMSframe::load_from_pms_actionPerformed() {
    pms_dialog_ = std::make_unique<PMSdialog>(services_.library);
    pms_dialog_->pms_frame = this;
    pms_dialog_->setModal(true);
    pms_dialog_->setVisible(true);
}

void PMSframe::open_pms_config_button_actionPerformed() {
    const auto chosen = korv::editors::choose_settings_file(*services_.chooser, korv::platform::FileChooserMode::Open,
                                                            "Open", pms_config_dir, pms_config_file);
    if (!chosen) return;  // keeps the current file, so kvt.cfg still names it
    take_path(chosen->parts);
    recall_data();
    display_pgm();
}

void PMSframe::save_to_pms_actionPerformed() {
    const auto chosen = korv::editors::choose_settings_file(*services_.chooser, korv::platform::FileChooserMode::Save,
                                                            "Save", pms_config_dir, pms_config_file);
    if (!chosen) return;
    take_path(chosen->parts);
    if (const std::optional<std::string> failed = settings_.save(current_path())) {
        error_.error_rtn(QString::fromStdString(*failed));
        return;
    }
    setWindowTitle(QStringLiteral("PMS settings file: ") + pms_config_dir + pms_config_file);
    display_pgm();
}

void PMSframe::setVisible(bool visible) {
    const bool was_visible = isVisible();
    QWidget::setVisible(visible);
    if (!pms_enhanced_ || visible == was_visible) return;
    if (!visible) {
        enhanced_was_shown_ = pms_enhanced_->isVisible();
        pms_enhanced_->setVisible(false);
    } else if (enhanced_was_shown_) {
        pms_enhanced_->setVisible(true);
    }
}

void PMSframe::PMS_enhanced_actionPerformed() {
    if (!pms_enhanced_) pms_enhanced_ = std::make_unique<PMSenhanced>(this);
    pms_enhanced_->setVisible(true);
    pms_enhanced_->display_enhanced(settings_.cells(), selected_program());
}
