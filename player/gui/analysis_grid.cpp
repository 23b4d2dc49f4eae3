#include "player/gui/analysis_grid.h"

#include "player/core/peak_analysis.h"

#include "common/gui/window_style.h"

#include <QMouseEvent>

namespace korv::player {
namespace {
constexpr int kCellWidth = 36;
constexpr int kCellHeight = 20;

bool is_data_cell(int row, int column) { return row >= 1 && column >= 1; }
}  // namespace

AnalysisCell::AnalysisCell(int row, int column, QWidget* parent) : QLineEdit(parent), row_(row), column_(column) {
    setReadOnly(true);
    // "Dialog" at 10 of the 72-dpi world the grid was laid out in.
    setFont(window_font(10));
    // Small cells: no frame, the grey between them marks the grid, and no
    // margin beyond the line edit's own, so "14.25" fits.
    setFrame(false);
    setTextMargins(0, 0, 0, 0);
    setObjectName(QStringLiteral("analysis_cell_%1_%2").arg(row).arg(column));
}

void AnalysisCell::show_text(const QString& text) {
    setText(text);
    // The start of a text too long for the cell stays in view.
    setCursorPosition(0);
}

void AnalysisCell::enterEvent(QEnterEvent* event) {
    QLineEdit::enterEvent(event);
    emit pointed(row_, column_);
}

void AnalysisCell::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    emit focused(row_, column_);
}

void AnalysisCell::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) emit clicked(row_, column_);
}

AnalysisGrid::AnalysisGrid(QWidget* parent) : QWidget(parent) {
    setObjectName("analysis_grid");
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            auto* cell = new AnalysisCell(r, c, this);
            cell->setGeometry(c * kCellWidth, r * kCellHeight, kCellWidth - 1, kCellHeight - 1);
            cells_[r][c] = cell;
            if (!is_data_cell(r, c)) {
                cell->setFocusPolicy(Qt::NoFocus);
                continue;
            }
            connect(cell, &AnalysisCell::pointed, this, &AnalysisGrid::cell_pointed);
            connect(cell, &AnalysisCell::focused, this, &AnalysisGrid::cell_focused);
            connect(cell, &AnalysisCell::clicked, this, &AnalysisGrid::cell_clicked);
        }
    }
    for (int c = 1; c < columns; ++c) cells_[0][c]->show_text(QString::number(c * korv::player::kRpmPerBand));
    set_row_labels(false);
    clear_values();
    resize(columns * kCellWidth, rows * kCellHeight);
}

void AnalysisGrid::set_row_labels(bool pms_log) {
    cells_[1][0]->show_text(QStringLiteral("O2 V"));
    cells_[2][0]->show_text(QStringLiteral("Tmng"));
    cells_[3][0]->show_text(QStringLiteral("Psi"));
    cells_[4][0]->show_text(pms_log ? QStringLiteral("K Hz") : QStringLiteral("Knck"));
}

void AnalysisGrid::show_value(int row, int column, const QString& text) {
    AnalysisCell* cell = cells_[row][column];
    cell->show_text(text);
    cell->setEnabled(true);
    cell->setToolTip(QString::fromLatin1(cell_tool_tip));
}

void AnalysisGrid::clear_values() {
    for (int r = 1; r < rows; ++r) {
        for (int c = 1; c < columns; ++c) {
            AnalysisCell* cell = cells_[r][c];
            cell->clear();
            cell->setEnabled(false);
            cell->setToolTip(QString());
        }
    }
}

}  // namespace korv::player
