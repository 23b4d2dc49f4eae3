#include "player/core/csv_conversion.h"

#include <vector>

#include "common/core/field_splitter.h"
#include "common/core/number_text.h"
#include "common/core/vxm_minimal_writer.h"
#include "player/core/csv_columns.h"

namespace korv::player {
namespace {

constexpr std::int64_t kLinesPerProgressCall = 16384;

// A token is a maximal run of characters other than ','.
constexpr FieldRule kTokens{.keep_empty = false};

bool is_blank(std::string_view text) {
    for (char c : text) {
        if (c != ' ' && c != '\t') return false;
    }
    return true;
}

// The whole cell must be one number, blanks around it allowed.
std::optional<float> cell_number(std::string_view cell) {
    const auto parsed = parse_float(cell);
    if (!parsed) return std::nullopt;
    if (!is_blank(cell.substr(parsed->end))) return std::nullopt;
    return parsed->value;
}

}  // namespace

std::string csv_no_rows_reason(std::string_view header_line) {
    if (header_line.find('"') != std::string_view::npos) return "the fields are in quotes";
    if (header_line.find(';') != std::string_view::npos) return "the fields seem to be separated by ';'";
    return "no converted column held a number";
}

std::optional<std::string> CsvLogConverter::open(const std::string& path) {
    if (!in_.open(path)) return in_.last_error();
    return std::nullopt;
}

std::optional<std::string> CsvLogConverter::scan_header(CsvHeaderScan& scan) {
    scan = CsvHeaderScan{};
    std::string line;
    std::vector<std::string_view> tokens;
    for (std::size_t n = 0; n < kCsvHeaderSearchLines; ++n) {
        if (!in_.next_line(line)) break;
        scan.lines_read += line;
        scan.lines_read += '\n';
        split_fields(line, kTokens, tokens);
        if (tokens.size() > 1) {
            if (tokens.size() > kMaxCsvColumns) {
                return "the header line has " + std::to_string(tokens.size()) + " columns; at most " +
                       std::to_string(kMaxCsvColumns) + " can be mapped";
            }
            scan.column_count = tokens.size();
            scan.header_line = line;
            return std::nullopt;
        }
    }
    if (in_.failed()) return in_.last_error();
    return std::nullopt;
}

CsvConversionResult CsvLogConverter::convert(std::span<const int> items, const std::string& out_path,
                                             const std::function<void()>& progress) {
    CsvConversionResult result;
    std::vector<std::size_t> kept;  // column index of each converted column
    std::vector<std::uint8_t> ids;
    bool any_quantity = false;
    for (std::size_t c = 0; c < items.size(); ++c) {
        if (items[c] > kCsvNotUsedItem) any_quantity = true;
        if (!csv_column_kept(items[c])) continue;
        kept.push_back(c);
        ids.push_back(static_cast<std::uint8_t>(csv_channel_id(items[c])));
    }
    result.kept_columns = kept.size();
    if (!any_quantity) {
        result.outcome = CsvOutcome::nothing_chosen;
        return result;
    }
    if (kept.size() > kMaxCsvKeptColumns) {
        result.outcome = CsvOutcome::too_many_columns;
        return result;
    }

    VxmMinimalWriter writer;
    if (auto error = writer.open(out_path, ids)) {
        result.error = *error;
        return result;
    }
    std::string line;
    std::vector<std::string_view> tokens;
    std::vector<float> values(kept.size());
    std::int64_t lines = 0;
    while (in_.next_line(line)) {
        if (progress && ++lines % kLinesPerProgressCall == 0) progress();
        if (!in_.line_was_cut() && is_blank(line)) continue;
        split_fields(line, kTokens, tokens);
        bool whole = !in_.line_was_cut();
        for (std::size_t k = 0; whole && k < kept.size(); ++k) {
            const std::size_t column = kept[k];
            const auto number = column < tokens.size() ? cell_number(tokens[column]) : std::nullopt;
            if (number) {
                values[k] = *number;
            } else {
                whole = false;
            }
        }
        if (!whole) {
            ++result.bad_rows;
            continue;
        }
        writer.append_record(values);
        ++result.records;
    }
    if (in_.failed()) {
        writer.discard();
        result.error = in_.last_error();
        return result;
    }
    // A log without records would open as if the conversion had worked.
    if (result.records == 0) {
        writer.discard();
        result.outcome = CsvOutcome::no_records;
        return result;
    }
    if (auto error = writer.commit()) {
        result.error = *error;
        return result;
    }
    result.outcome = CsvOutcome::converted;
    return result;
}

}  // namespace korv::player
