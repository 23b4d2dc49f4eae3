#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "common/core/buffered_file_reader.h"
#include "player/core/pms_record.h"

// Reader of the PMS logs (.dab) an outside logger records: a 64-byte header
// that carries nothing the player uses, then records of 64 bytes.
namespace korv::player {

inline constexpr std::int64_t kDabHeaderBytes = 64;
inline constexpr std::int64_t kDabRecordBytes = 64;

// Decodes the fields of one record from its first `available` bytes, in file
// order; a field cut off by the end stops the decoding, and it and the fields
// after it keep their earlier values.
void decode_pms_record(const std::uint8_t* record, std::size_t available, PmsRecord& out);

// (hi as 0..255) * 256 + (lo as 0..255)
constexpr std::int32_t build_int(std::int8_t hi, std::int8_t lo) {
    return static_cast<std::uint8_t>(hi) * 256 + static_cast<std::uint8_t>(lo);
}

// Boost positive, vacuum negative, from the two signed pressure bytes.
float decode_pms_pressure(std::int8_t lo, std::int8_t hi);

class DabReader {
public:
    // nullopt on success, else the system's reason (the caller adds its prefix).
    std::optional<std::string> open(const std::string& path);
    void close();
    bool is_open() const { return file_.is_open(); }

    // Counts the whole records; "3) Unable to open file: ..." on failure.
    std::optional<std::string> dab_header();

    // Positions the file at record n (0 = first).
    void seek_record(std::int64_t n);
    // Reads the record at the file position. A short read decodes what it got
    // and is otherwise silent, as the player wants; false when nothing was read.
    bool read_pms_record();

    const PmsRecord& record() const { return record_; }
    std::int64_t first_record() const { return kDabHeaderBytes; }
    std::int64_t log_record_length() const { return kDabRecordBytes; }
    std::int64_t log_records() const { return log_records_; }

private:
    BufferedFileReader file_;
    PmsRecord record_;
    std::int64_t log_records_ = 0;
};

}  // namespace korv::player
