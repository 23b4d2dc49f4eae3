#pragma once
// Reading 3d.dat (see common/core/log_3d.h for the writer): the tokens of the
// names and types lines, and one record line split into its values.
//
// A record line is scanned left to right. Between values, blanks and tabs
// separate and any other character that cannot open a value (letters, a
// lone sign) is skipped. A value is a quoted string (no escape for '"') in a
// STRING field, or a number in a NUMERIC field: an optional sign, digits
// with at most one point, an optional exponent, read exactly as written. A
// value of the wrong kind for its field, a malformed number, "nan", "inf",
// a number beyond a float or an unclosed quote fails the whole line.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace korv {

// Field types as the table keeps them.
inline constexpr int kLog3dInvalid = 0;
inline constexpr int kLog3dNumeric = 1;
inline constexpr int kLog3dString = 2;

// The maximal runs of characters other than blank and tab; quotes are
// ordinary characters here.
std::vector<std::string> log3d_tokens(std::string_view line);

// "Numeric", "NUMERIC", "numeric" or "String", "STRING", "string"; none for
// any other spelling.
std::optional<int> log3d_field_type(std::string_view token);

using Log3dValue = std::variant<std::monostate, float, std::string>;

enum class Log3dLine {
    record,  // a value for every field (later text ignored)
    empty,   // no value at all: not a record, not a fault
    short_,  // fewer values than fields
    failed,  // a value the line cannot hold
};

struct Log3dParsed {
    Log3dLine kind = Log3dLine::empty;
    std::vector<Log3dValue> values;  // one per field when kind is record
};

// Splits a record line (without its line end) by the field types.
Log3dParsed log3d_parse_record(std::string_view line, std::span<const int> types);

}  // namespace korv
