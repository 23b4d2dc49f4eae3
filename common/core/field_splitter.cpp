#include "common/core/field_splitter.h"

namespace korv {
namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

void split_fields(std::string_view line, const FieldRule& rule, std::vector<std::string_view>& fields) {
    fields.clear();
    std::size_t from = 0;
    while (fields.size() < rule.max_fields) {
        const std::size_t comma = line.find(',', from);
        std::string_view field = line.substr(from, comma == std::string_view::npos ? comma : comma - from);
        if (rule.trim_blanks) field = trimmed(field);
        if (rule.keep_empty || !field.empty()) fields.push_back(field);
        if (comma == std::string_view::npos) break;
        from = comma + 1;
    }
}

}  // namespace korv
