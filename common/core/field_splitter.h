#pragma once

#include <cstddef>
#include <limits>
#include <string_view>
#include <vector>

// Splitting a line of comma-separated fields. The readers differ in what
// they make of empty fields, blanks and surplus fields, so each passes its
// own rule.
namespace korv {

struct FieldRule {
    // false: an empty field (between adjacent commas, or before a leading or
    // after a trailing comma) does not count, and an empty line has no fields.
    bool keep_empty = true;
    // Spaces and tabs around each field are dropped.
    bool trim_blanks = false;
    // Fields past this many are ignored.
    std::size_t max_fields = std::numeric_limits<std::size_t>::max();
};

// The fields of `line` as views into it; `fields` is cleared first.
void split_fields(std::string_view line, const FieldRule& rule, std::vector<std::string_view>& fields);

}  // namespace korv
