#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The table behind a 2-D chart: column headers that name the series, and
// rows of numbers, each given as one comma-separated text.
namespace korv::player {

class StringTable {
public:
    void setColumnHeaders(std::string_view text);
    void addRow(std::string_view text);
    int getRowCount() const { return static_cast<int>(rows_.size()); }
    // Out-of-range indexes are ignored.
    void removeRow(int index);

    const std::vector<std::string>& headers() const { return headers_; }
    const std::vector<std::string>& row(int index) const { return rows_[static_cast<std::size_t>(index)]; }
    // The number in a cell; none when the cell is missing or not a number.
    std::optional<double> value(int row, int column) const;

private:
    std::vector<std::string> headers_;
    std::deque<std::vector<std::string>> rows_;
};

}  // namespace korv::player
