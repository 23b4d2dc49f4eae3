#pragma once
// The record table of the 3-D plot, read from 3d.dat, and its filtered copies.
#include <stdexcept>
#include <string>
#include <vector>

#include "common/core/log_3d_tokens.h"

namespace korv::plot3d {

using Value = Log3dValue;  // empty, a float (NUMERIC field) or a string (STRING field)

class Record {
public:
    explicit Record(int count) : data(static_cast<std::size_t>(count)) {}
    const Value& get(int i) const { return data.at(static_cast<std::size_t>(i)); }
    void set(int i, Value value) { data.at(static_cast<std::size_t>(i)) = std::move(value); }

    std::vector<Value> data;
};

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

    bool passes(const Record& record) const;

    int fcount;
    std::vector<int> findex;
    std::vector<bool> needmin;
    std::vector<bool> needmax;
    std::vector<float> min;
    std::vector<float> max;
};

// The table cannot be read: the file is missing or its names or types line
// is missing or wrong. The text says which.
class DatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Database {
public:
    static constexpr int INVALID = kLog3dInvalid;
    static constexpr int NUMERIC = kLog3dNumeric;
    static constexpr int STRING = kLog3dString;

    // Reads "3d.dat" in the working folder; throws DatabaseError.
    Database();
    explicit Database(const std::string& path);
    // The records of `source` that pass `filter`, copied.
    Database(const Database& source, const Filter& filter);

    const Value& value(int r, int f) const { return record.at(static_cast<std::size_t>(r)).get(f); }
    // 0 when the field holds no number.
    float numericValue(int r, int f) const;
    // Empty when the field holds no string.
    std::string stringValue(int r, int f) const;

    int fieldcount = 0;
    std::vector<std::string> fieldname;
    std::vector<int> fieldtype;
    int reccount = 0;
    std::vector<Record> record;

    // For the window's status line: record lines that could not be read
    // (a bad value or too few values; empty lines do not count), and whether
    // a read error ended the table early.
    int failedlines = 0;
    bool readerror = false;

private:
    void read(const std::string& path);
    void readFieldName(const std::string& line);
    void readFieldType(const std::string& line);
    void parseData(const std::string& line);
};

}  // namespace korv::plot3d
