#include "common/core/log_3d_tokens.h"

#include <cctype>

#include "common/core/number_text.h"

namespace korv {

namespace {

bool is_gap(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_sign(char c) { return c == '+' || c == '-'; }

std::size_t run_end(std::string_view line, std::size_t i) {
    while (i < line.size() && !is_gap(line[i])) ++i;
    return i;
}

// A run spelling a number the table cannot hold ("nan", "-inf", "Infinity"):
// without this check its letters would be skipped and the next value would
// slide into the field.
bool names_non_finite(std::string_view run) {
    if (!run.empty() && is_sign(run.front())) run.remove_prefix(1);
    std::string lower;
    for (char c : run) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower == "nan" || lower == "inf" || lower == "infinity";
}

// The number that fills the whole run, or none.
std::optional<float> read_number(std::string_view run) {
    std::string_view body = run;
    if (!body.empty() && is_sign(body.front())) body.remove_prefix(1);
    if (body == ".") return run.front() == '-' ? -0.0f : 0.0f;  // a lone point reads as zero
    const auto parsed = parse_float(run);
    if (!parsed || parsed->end != run.size()) return std::nullopt;
    return parsed->value;
}

}  // namespace

std::vector<std::string> log3d_tokens(std::string_view line) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < line.size()) {
        if (is_gap(line[i])) {
            ++i;
            continue;
        }
        const std::size_t end = run_end(line, i);
        out.emplace_back(line.substr(i, end - i));
        i = end;
    }
    return out;
}

std::optional<int> log3d_field_type(std::string_view token) {
    if (token == "String" || token == "STRING" || token == "string") return kLog3dString;
    if (token == "Numeric" || token == "NUMERIC" || token == "numeric") return kLog3dNumeric;
    return std::nullopt;
}

Log3dParsed log3d_parse_record(std::string_view line, std::span<const int> types) {
    Log3dParsed out;
    const std::size_t count = types.size();
    out.values.resize(count);
    std::size_t f = 0;
    std::size_t i = 0;
    const auto fail = [&out] {
        out.kind = Log3dLine::failed;
        out.values.clear();
        return out;
    };
    while (i < line.size() && f < count) {
        const char c = line[i];
        const int type = types[f];
        const bool run_start = i == 0 || is_gap(line[i - 1]);
        if (is_gap(c)) {
            ++i;
        } else if (c == '"') {
            if (type != kLog3dString) return fail();
            const std::size_t close = line.find('"', i + 1);
            if (close == std::string_view::npos) return fail();
            out.values[f++] = std::string(line.substr(i + 1, close - i - 1));
            i = close + 1;
        } else if (is_digit(c) || c == '.' ||
                   (is_sign(c) && i + 1 < line.size() && (is_digit(line[i + 1]) || line[i + 1] == '.'))) {
            if (type != kLog3dNumeric) return fail();
            const std::size_t end = run_end(line, i);
            const auto value = read_number(line.substr(i, end - i));
            if (!value) return fail();
            out.values[f++] = *value;
            i = end;
        } else if (run_start && type == kLog3dNumeric && names_non_finite(line.substr(i, run_end(line, i) - i))) {
            return fail();
        } else {
            ++i;  // skipped between values
        }
    }
    if (f == count) {
        out.kind = Log3dLine::record;
    } else {
        out.kind = f == 0 ? Log3dLine::empty : Log3dLine::short_;
        out.values.clear();
    }
    return out;
}

}  // namespace korv
