#pragma once
// The rows of the "Real Time Data Values" panel: which item code has which
// row, the next free row, and each row's label. The window mirrors it.
#include <array>
#include <optional>
#include <string_view>

namespace korv::logger {

class DataValueTable {
public:
    static constexpr int kRows = 10;
    static constexpr int kCodes = 60;

    // What define_fields did, for the window to mirror.
    struct Defined {
        bool fresh_table = false;               // every row was hidden first
        std::optional<int> shown_row;           // this row is now shown...
        std::optional<std::string_view> label;  // ...with this label (none: keeps its text)
    };

    DataValueTable();

    // Gives an item a row; cable is the announcing engine's -1 (DSM) or -2
    // (OBD-II). Codes outside the table are ignored.
    Defined define_fields(int code, int cable);
    // The row of a code; none for a code without one or outside the table.
    std::optional<int> row_of(int code) const;

    int table_index() const { return table_index_; }
    // Kept within 0..kRows: a row index past the table cannot be taken.
    void set_table_index(int index);

    // The row label of a code for an announcing engine; none: no label.
    static std::optional<std::string_view> label_for(int code, int cable);

private:
    std::array<int, kCodes> parm_table_;
    int table_index_ = 0;
};

}  // namespace korv::logger
