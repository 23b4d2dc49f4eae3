#include "plot3d/core/database.h"

#include "common/core/line_reader.h"
#include "common/core/log_3d.h"

#include <cstdio>
#include <filesystem>

namespace korv::plot3d {

namespace {

// Far beyond any line the writer makes; a file without line breaks cannot
// fill memory.
constexpr std::size_t kLineCap = std::size_t{1} << 20;

// The most characters of a file's text a message quotes: the message then
// fits the window's status line, whatever the characters.
constexpr std::size_t kQuotedChars = 20;

// A token of the file as a message can show it: bytes outside printable
// ASCII as \xNN and the backslash doubled, so that control bytes and broken
// characters cannot garble the status line; cut with "..." past kQuotedChars.
std::string quoted_token(std::string_view token) {
    constexpr std::string_view kMore = "...";
    std::string out;
    std::size_t fits = 0;  // out's length when the last piece still left room for kMore
    for (const char ch : token) {
        const auto c = static_cast<unsigned char>(ch);
        char piece[5] = {};
        if (c == '\\') {
            piece[0] = piece[1] = '\\';
        } else if (c >= 0x20 && c < 0x7F) {
            piece[0] = ch;
        } else {
            std::snprintf(piece, sizeof piece, "\\x%02X", static_cast<unsigned>(c));
        }
        out += piece;
        if (out.size() > kQuotedChars) {
            out.resize(fits);
            return out + std::string(kMore);
        }
        if (out.size() + kMore.size() <= kQuotedChars) fits = out.size();
    }
    return out;
}

}  // namespace

bool Filter::passes(const Database& db, int r) const {
    for (int k = 0; k < fcount; ++k) {
        const auto kk = static_cast<std::size_t>(k);
        const int f = findex[kk];
        if (f < 0 || f >= db.fieldcount || db.fieldtype[static_cast<std::size_t>(f)] != Database::NUMERIC)
            continue;  // only numbers are tested
        const float x = db.numericValue(r, f);
        if (needmin[kk] && x < min[kk]) return false;
        if (needmax[kk] && x > max[kk]) return false;
    }
    return true;
}

Database::Database() { read(kLog3dFileName); }

Database::Database(const std::string& path) { read(path); }

Database::Database(const Database& source, const Filter& filter)
    : fieldcount(source.fieldcount), fieldname(source.fieldname), fieldtype(source.fieldtype) {
    prepareColumns();
    for (int r = 0; r < source.reccount; ++r) {
        if (filter.passes(source, r)) appendCopy(source, r);
    }
}

Value Database::value(int r, int f) const {
    switch (fieldtype.at(static_cast<std::size_t>(f))) {
    case NUMERIC: return numericValue(r, f);
    case STRING: return text(r, f);
    default: return {};
    }
}

float Database::numericValue(int r, int f) const {
    const ChunkedColumn<float>& column = numbers_.at(static_cast<std::size_t>(f));
    if (r < 0 || static_cast<std::size_t>(r) >= column.size()) return 0.0f;
    return column[static_cast<std::size_t>(r)];
}

std::string Database::stringValue(int r, int f) const { return text(r, f); }

std::string Database::text(int r, int f) const {
    const int slot = stringSlot_.at(static_cast<std::size_t>(f));
    if (slot < 0 || r < 0 || r >= reccount) return {};
    const std::size_t i =
        static_cast<std::size_t>(r) * static_cast<std::size_t>(stringFields_) + static_cast<std::size_t>(slot);
    const std::size_t begin = i == 0 ? 0 : textEnds_[i - 1];
    std::string out;
    out.reserve(textEnds_[i] - begin);
    for (std::size_t c = begin; c < textEnds_[i]; ++c) out += text_[c];
    return out;
}

void Database::prepareColumns() {
    const auto count = static_cast<std::size_t>(fieldcount);
    numbers_.assign(count, {});
    stringSlot_.assign(count, -1);
    stringFields_ = 0;
    for (std::size_t f = 0; f < count; ++f) {
        if (fieldtype[f] == STRING) stringSlot_[f] = stringFields_++;
    }
}

void Database::appendRecord(const std::vector<Value>& values) {
    for (std::size_t f = 0; f < values.size(); ++f) {
        if (const auto* number = std::get_if<float>(&values[f])) {
            numbers_[f].push_back(*number);
        } else if (const auto* string = std::get_if<std::string>(&values[f])) {
            appendText(*string);
        }
    }
    ++reccount;
}

void Database::appendText(const std::string& value) {
    for (const char c : value) text_.push_back(c);
    textEnds_.push_back(text_.size());
}

void Database::appendCopy(const Database& source, int r) {
    for (std::size_t f = 0; f < static_cast<std::size_t>(fieldcount); ++f) {
        if (fieldtype[f] == NUMERIC) {
            numbers_[f].push_back(source.numbers_[f][static_cast<std::size_t>(r)]);
        } else if (fieldtype[f] == STRING) {
            appendText(source.text(r, static_cast<int>(f)));
        }
    }
    ++reccount;
}

void Database::read(const std::string& path) {
    reccount = 0;
    // Messages name the file once, by its name: they are shown in a status line.
    const std::string name = std::filesystem::path(path).filename().string();
    LineReader reader(kLineCap);
    if (!reader.open(path)) throw DatabaseError(name + " could not be opened: " + reader.last_error());
    std::string line;
    if (!reader.next_line(line))
        throw DatabaseError(reader.failed() ? name + " could not be read: " + reader.last_error()
                                            : name + " is empty: no names line");
    readFieldName(line, name);
    if (!reader.next_line(line))
        throw DatabaseError(reader.failed() ? name + " could not be read: " + reader.last_error()
                                            : name + " has no types line");
    readFieldType(line, name);
    prepareColumns();
    // readData
    while (reader.next_line(line)) {
        if (reader.line_was_cut()) {
            ++failedlines;
            continue;
        }
        parseData(line);
    }
    readerror = reader.failed();
    // A short table gives back what its columns took beyond their values.
    for (ChunkedColumn<float>& column : numbers_) column.shrink_to_fit();
    text_.shrink_to_fit();
    textEnds_.shrink_to_fit();
}

void Database::readFieldName(const std::string& line, const std::string& name) {
    fieldname = log3d_tokens(line);
    if (fieldname.empty()) throw DatabaseError("The names line of " + name + " is empty");
    if (fieldname.size() > static_cast<std::size_t>(kMaxFields)) {
        throw DatabaseError(name + " has " + std::to_string(fieldname.size()) + " fields; the plot takes at most " +
                            std::to_string(kMaxFields));
    }
    fieldcount = static_cast<int>(fieldname.size());
}

void Database::readFieldType(const std::string& line, const std::string& name) {
    const auto tokens = log3d_tokens(line);
    if (tokens.size() > fieldname.size())
        throw DatabaseError("The types line of " + name + " has more types than there are fields");
    fieldtype.assign(fieldname.size(), INVALID);
    for (std::size_t k = 0; k < tokens.size(); ++k) {
        const auto type = log3d_field_type(tokens[k]);
        if (!type) throw DatabaseError("Unknown field type in " + name + ": " + quoted_token(tokens[k]));
        fieldtype[k] = *type;
    }
}

void Database::parseData(const std::string& line) {
    const Log3dParsed parsed = log3d_parse_record(line, fieldtype);
    switch (parsed.kind) {
    case Log3dLine::record: appendRecord(parsed.values); break;
    case Log3dLine::empty: break;
    case Log3dLine::short_:
    case Log3dLine::failed: ++failedlines; break;
    }
}

}  // namespace korv::plot3d
