#include "player/core/string_table.h"

#include "common/core/field_splitter.h"
#include "common/core/number_text.h"

namespace korv::player {
namespace {

// Every comma splits, so the cells stay in their columns; blanks around a
// cell are dropped.
std::vector<std::string> cells_of(std::string_view text) {
    std::vector<std::string_view> fields;
    split_fields(text, {.trim_blanks = true}, fields);
    return {fields.begin(), fields.end()};
}

}  // namespace

void StringTable::setColumnHeaders(std::string_view text) { headers_ = cells_of(text); }

void StringTable::addRow(std::string_view text) { rows_.push_back(cells_of(text)); }

void StringTable::removeRow(int index) {
    if (index < 0 || index >= getRowCount()) return;
    rows_.erase(rows_.begin() + index);
}

std::optional<double> StringTable::value(int row, int column) const {
    if (row < 0 || row >= getRowCount() || column < 0) return std::nullopt;
    const auto& cells = rows_[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(column) >= cells.size()) return std::nullopt;
    const std::string& cell = cells[static_cast<std::size_t>(column)];
    const auto parsed = parse_double(cell);
    if (!parsed || parsed->end != cell.size()) return std::nullopt;
    return parsed->value;
}

}  // namespace korv::player
