#include "player/core/csv_conversion.h"

#include <algorithm>
#include <span>
#include <vector>

#include "common/core/field_splitter.h"
#include "common/core/number_text.h"
#include "common/core/plain_decimal.h"
#include "common/core/vxm_minimal_writer.h"
#include "player/core/csv_columns.h"

namespace korv::player {
namespace {

constexpr std::int64_t kLinesPerProgressCall = 16384;
// Large enough that a batch goes to the file without a copy through the
// writer's buffer.
constexpr std::size_t kBatchRecords = 16384;

// A token is a maximal run of characters other than ','.
constexpr FieldRule kTokens{.keep_empty = false};

bool is_blank(std::string_view text) {
    for (char c : text) {
        if (c != ' ' && c != '\t') return false;
    }
    return true;
}

// The number that fills the cell at p, blanks around it allowed, into
// value; p moves to the cell's end. False when the cell holds anything else.
bool read_cell(const char*& p, const char* end, float& value) {
    // Most cells are a plain decimal alone; any other is read the general way.
    const char* q = p;
    if (!read_plain_decimal(q, end, value)) {
        const auto parsed = parse_float(std::string_view(p, static_cast<std::size_t>(end - p)));
        if (!parsed) return false;
        value = parsed->value;
        q = p + parsed->end;
    }
    for (; q != end && *q != ','; ++q)
        if (*q != ' ' && *q != '\t') return false;
    p = q;
    return true;
}

// The kept cells of a row, left to right, into values: false when one is
// missing or is not one number (blanks around it allowed). Cells are the
// tokens of kTokens, found and read in the same walk along the line.
bool read_row(std::string_view line, const std::vector<std::size_t>& kept, float* values) {
    const char* p = line.data();
    const char* const end = p + line.size();
    std::size_t column = 0;
    for (std::size_t k = 0; k < kept.size(); ++column) {
        while (p != end && *p == ',') ++p;  // empty tokens do not count
        if (p == end) return false;
        if (column != kept[k]) {
            // Cells are short: a plain walk beats a library call per cell.
            while (p != end && *p != ',') ++p;
            continue;
        }
        if (!read_cell(p, end, values[k++])) return false;
    }
    return true;
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
    // Records are read into a batch and written a batch at a time; a log of
    // no channels takes its empty records one by one.
    std::vector<float> batch(std::max<std::size_t>(kBatchRecords * kept.size(), 1));
    std::size_t filled = 0;
    auto write_batch = [&] {
        writer.append_records(std::span(batch.data(), filled));
        filled = 0;
    };
    std::string_view line;
    std::int64_t lines = 0;
    while (in_.next_line_view(line)) {
        if (progress && ++lines % kLinesPerProgressCall == 0) progress();
        // A line past the cap is a bad row, whatever its start holds.
        const bool cut = in_.line_was_cut();
        if (!cut && is_blank(line)) continue;
        if (cut || !read_row(line, kept, batch.data() + filled)) {
            ++result.bad_rows;
            continue;
        }
        ++result.records;
        if (kept.empty()) {
            writer.append_record({});
            continue;
        }
        filled += kept.size();
        if (filled == batch.size()) write_batch();
    }
    if (filled > 0) write_batch();
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
