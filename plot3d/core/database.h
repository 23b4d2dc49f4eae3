#pragma once
// The record table of the 3-D plot, read from 3d.dat, and its filtered copies.
//
// The table is kept by column: each NUMERIC field is one flat array of
// floats and every STRING value is a span of one shared text buffer, so a
// table costs no more than its file does.
#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/core/log_3d_tokens.h"
#include "plot3d/core/chunked_column.h"

namespace korv::plot3d {

using Value = Log3dValue;  // empty, a float (NUMERIC field) or a string (STRING field)

class Database;

// A conjunction of inclusive range tests on numeric fields; entry k tests
// field findex[k] against min[k] when needmin[k], against max[k] when needmax[k].
class Filter {
public:
    explicit Filter(int count)
        : fcount(count),
          findex(static_cast<std::size_t>(count), 0),
          needmin(static_cast<std::size_t>(count), false),
          needmax(static_cast<std::size_t>(count), false),
          min(static_cast<std::size_t>(count), 0.0f),
          max(static_cast<std::size_t>(count), 0.0f) {}

    // Whether record r of the table passes; only numeric fields are tested.
    bool passes(const Database& db, int r) const;

    int fcount;
    std::vector<int> findex;
    std::vector<bool> needmin;
    std::vector<bool> needmax;
    std::vector<float> min;
    std::vector<float> max;
};

// The table cannot be read: the file is missing, its names or types line
// is missing or wrong, or it has more fields than the plot offers. The text
// says which, short enough for the window's status line.
class DatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Database {
public:
    static constexpr int INVALID = kLog3dInvalid;
    static constexpr int NUMERIC = kLog3dNumeric;
    static constexpr int STRING = kLog3dString;
    // The player writes ten; the dialogs give every field a row.
    static constexpr int kMaxFields = 256;

    // Reads "3d.dat" in the working folder; throws DatabaseError.
    Database();
    explicit Database(const std::string& path);
    // The records of `source` that pass `filter`, copied.
    Database(const Database& source, const Filter& filter);

    // Field f of record r as its own value.
    Value value(int r, int f) const;
    // 0 when the field holds no number.
    float numericValue(int r, int f) const;
    // Empty when the field holds no string.
    std::string stringValue(int r, int f) const;

    int fieldcount = 0;
    std::vector<std::string> fieldname;
    std::vector<int> fieldtype;
    int reccount = 0;

    // For the window's status line: record lines that could not be read
    // (a bad value or too few values; empty lines do not count), and whether
    // a read error ended the table early.
    int failedlines = 0;
    bool readerror = false;

private:
    void read(const std::string& path);
    void readFieldName(const std::string& line, const std::string& name);
    void readFieldType(const std::string& line, const std::string& name);
    void parseData(const std::string& line);
    void prepareColumns();
    void appendRecord(const std::vector<Value>& values);
    void appendCopy(const Database& source, int r);
    void appendText(const std::string& value);
    std::string text(int r, int f) const;

    // numbers_[f]: one float per record for a NUMERIC field, else empty.
    std::vector<ChunkedColumn<float>> numbers_;
    // The position of f among the STRING fields, or -1.
    std::vector<int> stringSlot_;
    int stringFields_ = 0;
    // The strings of all records back to back, in record then field order;
    // textEnds_[r * stringFields_ + slot] is where each one ends.
    ChunkedColumn<char> text_;
    ChunkedColumn<std::size_t> textEnds_;
};

}  // namespace korv::plot3d
