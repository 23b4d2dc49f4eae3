#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "common/core/atomic_file_writer.h"

// 3d.dat, the record table the 3-D window reads: a names line, a types
// line, then one line per record, ten fields each, written from columns
// 0, 10, ..., 90 of a 100-character line (99 characters and LF).
//
// A field is never cut and always has a blank before the next one: a text
// too long for its column pushes the later fields right, and a line grows
// past 100 characters only when its fields need the room.
namespace korv {

inline constexpr const char* kLog3dFileName = "3d.dat";
inline constexpr int kLog3dFields = 10;
inline constexpr std::size_t kLog3dColumnWidth = 10;
inline constexpr std::size_t kLog3dLineLength = 100;  // with the LF

using Log3dFields = std::array<std::string, kLog3dFields>;

// One line, LF included.
std::string log3d_line(const Log3dFields& fields);
std::string log3d_names_line();
std::string log3d_types_line();

// The values of one record, as the player hands them to log_3d.
struct Log3dRecord {
    float rpm = 0.0f;
    float o2 = 0.0f;
    float fuel = 0.0f;
    float timing = 0.0f;
    float tps = 0.0f;
    float pressure = 0.0f;
    float pulse_width = 0.0f;
    float coolant = 0.0f;
    float air_temperature = 0.0f;
};

// The data line: rpm, O2, pressure, timing, tps, fuel, pulse width,
// coolant, air temperature, record number. None when a value is not a
// finite number: the reader could not take it.
std::optional<std::string> log3d_record_line(const Log3dRecord& r, std::int64_t record);

// Writes 3d.dat; a failure leaves the earlier file as it was.
class Log3dFile {
public:
    // Creates the file and writes the two header lines. The reason on failure.
    std::optional<std::string> create(const std::string& path);
    // Writes a record's line and counts it; false when the record was skipped.
    bool add(const Log3dRecord& r, std::int64_t record);
    // Puts the file in place. The reason on failure.
    std::optional<std::string> close();
    void discard();

    bool is_open() const { return out_.is_open(); }
    std::int64_t count_3d() const { return count_3d_; }

private:
    void write(const std::string& line) { out_.write(line.data(), line.size()); }

    AtomicFileWriter out_{std::size_t{1} << 16};
    std::int64_t count_3d_ = 0;
};

}  // namespace korv
