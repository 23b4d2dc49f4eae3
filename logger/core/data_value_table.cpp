#include "logger/core/data_value_table.h"

#include <algorithm>

#include "logger/core/live_scaling.h"

namespace korv::logger {

namespace {

struct RowLabel {
    int code;
    std::string_view dsm;  // empty: no label for that engine
    std::string_view obd;
};

constexpr std::array<RowLabel, 12> kRowLabels = {{
    {0, "Timing", "Timing"},
    {1, "Coolant", "Coolant"},
    {3, "O2 volts", "O2 volts"},
    {7, "TPS", "TPS"},
    {9, "RPM", "RPM"},
    {10, "Pulse Width", ""},
    {11, "Air Temp", "Air Temp"},
    {12, "Low Trim", "Short Trim"},
    {13, "Medium Trim", "Long Trim"},
    {17, "Knock", ""},
    {18, "Air Flow", "Air Flow"},
    {48, "High Trim", ""},
}};

bool in_table(int code) { return code >= 0 && code < DataValueTable::kCodes; }

}  // namespace

DataValueTable::DataValueTable() { parm_table_.fill(-1); }

std::optional<std::string_view> DataValueTable::label_for(int code, int cable) {
    for (const RowLabel& row : kRowLabels) {
        if (row.code != code) continue;
        const std::string_view text = cable == kAnnounceDsm ? row.dsm : cable == kAnnounceObd ? row.obd : "";
        if (text.empty()) return std::nullopt;
        return text;
    }
    return std::nullopt;
}

DataValueTable::Defined DataValueTable::define_fields(int code, int cable) {
    Defined result;
    if (!in_table(code)) return result;
    if (cable < 0 && table_index_ == 0) {
        parm_table_.fill(-1);
        result.fresh_table = true;
    }
    if (parm_table_[static_cast<std::size_t>(code)] != -1 || table_index_ > kRows - 1) return result;

    parm_table_[static_cast<std::size_t>(code)] = table_index_;
    if (cable == kAnnounceDsm || cable == kAnnounceObd) {
        result.shown_row = table_index_;
        result.label = label_for(code, cable);
        ++table_index_;
    } else {
        // Assigned but never shown; the next announcement starts afresh.
        table_index_ = 0;
    }
    return result;
}

std::optional<int> DataValueTable::row_of(int code) const {
    if (!in_table(code)) return std::nullopt;
    const int row = parm_table_[static_cast<std::size_t>(code)];
    if (row < 0) return std::nullopt;
    return row;
}

void DataValueTable::set_table_index(int index) { table_index_ = std::clamp(index, 0, kRows); }

}  // namespace korv::logger
