#include "player/core/string_table.h"

#include "common/core/number_text.h"

namespace korv::player {
namespace {

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::vector<std::string> split_commas(std::string_view text) {
  std::vector<std::string> out;
  while (true) {
    const std::size_t comma = text.find(',');
    out.emplace_back(trimmed(text.substr(0, comma)));
    if (comma == std::string_view::npos) return out;
    text.remove_prefix(comma + 1);
  }
}

void StringTable::setColumnHeaders(std::string_view text) { headers_ = split_commas(text); }

void StringTable::addRow(std::string_view text) { rows_.push_back(split_commas(text)); }

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
