#include "plot3d/core/database.h"

#include "common/core/line_reader.h"
#include "common/core/log_3d.h"

namespace korv::plot3d {

namespace {

// Far beyond any line the writer makes; a file without line breaks cannot
// fill memory.
constexpr std::size_t kLineCap = std::size_t{1} << 20;

}  // namespace

bool Filter::passes(const Record& r) const {
    for (int k = 0; k < fcount; ++k) {
        const auto* x = std::get_if<float>(&r.get(findex[static_cast<std::size_t>(k)]));
        if (x == nullptr) continue;  // only numbers are tested
        const auto kk = static_cast<std::size_t>(k);
        if (needmin[kk] && *x < min[kk]) return false;
        if (needmax[kk] && *x > max[kk]) return false;
    }
    return true;
}

Database::Database() { read(kLog3dFileName); }

Database::Database(const std::string& path) { read(path); }

Database::Database(const Database& source, const Filter& filter)
    : fieldcount(source.fieldcount), fieldname(source.fieldname), fieldtype(source.fieldtype) {
    for (const Record& r : source.record) {
        if (filter.passes(r)) record.push_back(r);
    }
    reccount = static_cast<int>(record.size());
}

float Database::numericValue(int r, int f) const {
    const auto* v = std::get_if<float>(&value(r, f));
    return v != nullptr ? *v : 0.0f;
}

std::string Database::stringValue(int r, int f) const {
    const auto* v = std::get_if<std::string>(&value(r, f));
    return v != nullptr ? *v : std::string();
}

void Database::read(const std::string& path) {
    reccount = 0;
    LineReader reader(kLineCap);
    if (!reader.open(path)) throw DatabaseError("Unable to open file: " + path + ": " + reader.last_error());
    std::string line;
    if (!reader.next_line(line))
        throw DatabaseError(reader.failed() ? "Unable to read " + path + ": " + reader.last_error()
                                            : path + " is empty: no names line");
    readFieldName(line);
    if (!reader.next_line(line))
        throw DatabaseError(reader.failed() ? "Unable to read " + path + ": " + reader.last_error()
                                            : path + " has no types line");
    readFieldType(line);
    // readData
    record.clear();
    while (reader.next_line(line)) {
        if (reader.line_was_cut()) {
            ++failedlines;
            continue;
        }
        parseData(line);
    }
    readerror = reader.failed();
}

void Database::readFieldName(const std::string& line) {
    fieldname = log3d_tokens(line);
    if (fieldname.empty()) throw DatabaseError("The names line of 3d.dat is empty");
    fieldcount = static_cast<int>(fieldname.size());
}

void Database::readFieldType(const std::string& line) {
    const auto tokens = log3d_tokens(line);
    if (tokens.size() > fieldname.size())
        throw DatabaseError("The types line of 3d.dat has more types than there are fields");
    fieldtype.assign(fieldname.size(), INVALID);
    for (std::size_t k = 0; k < tokens.size(); ++k) {
        const auto type = log3d_field_type(tokens[k]);
        if (!type) throw DatabaseError("Unknown field type in 3d.dat: " + tokens[k]);
        fieldtype[k] = *type;
    }
}

void Database::parseData(const std::string& line) {
    auto parsed = log3d_parse_record(line, fieldtype);
    switch (parsed.kind) {
    case Log3dLine::record: {
        Record r(fieldcount);
        r.data = std::move(parsed.values);
        record.push_back(std::move(r));
        ++reccount;
        break;
    }
    case Log3dLine::empty: break;
    case Log3dLine::short_:
    case Log3dLine::failed: ++failedlines; break;
    }
}

}  // namespace korv::plot3d
