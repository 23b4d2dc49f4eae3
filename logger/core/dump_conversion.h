#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "logger/core/log_family.h"

// Conversion of an engine's sample dump (kvt1.tmp, kvt2.tmp, kvt3.tmp) into
// a log with the minimal big-endian VXM header.
//
// The dump: byte 0 = channel count N (low byte of a 32-bit count), bytes 1-3
// unused here, N channel code bytes, then records of N samples, each a code
// byte and the type's value bytes (type 1 two, types 2 and 3 one).
namespace korv::logger {

// One sample in engineering units. a and b are the first and second value
// bytes (b unused by the one-byte types); single precision, in the order
// the stored logs were always computed in.
float convert_sample(LogType type, int code, std::uint8_t a, std::uint8_t b);

// The unsigned 16-bit value of two bytes read as signed.
constexpr int build_int(int hi, int lo) { return (hi & 0xFF) * 256 + (lo & 0xFF); }

// convert_sample for the samples of one dump column, with the work that
// depends only on the column's code done once: a one-byte value is looked up
// in a table of all 256. A sample whose own code differs from the column's
// is converted as convert_sample does.
class ColumnScaler {
public:
    ColumnScaler(LogType type, std::uint8_t code);

    float operator()(std::uint8_t code, std::uint8_t a, std::uint8_t b) const {
        if (code != code_) [[unlikely]]
            return convert_sample(type_, code, a, b);
        if (input_ == ValueInput::word) return static_cast<float>(build_int(a, b)) * word_factor_;
        return table_[input_ == ValueInput::second ? b : a];
    }

    // The column's samples of `count` records, each its code byte and
    // value_bytes value bytes, in_stride bytes apart from in; the values go
    // out as big-endian floats out_stride bytes apart. The same values as
    // one call each, made without choosing anything per sample.
    void scale_column(const std::uint8_t* in, std::size_t in_stride, std::size_t count, std::size_t value_bytes,
                      std::uint8_t* out, std::size_t out_stride) const;

    // Which value byte the column's table is indexed by; word: none, both
    // bytes count, as the unsigned word times a factor.
    enum class ValueInput { first, second, word };
    ValueInput input() const { return input_; }

private:
    LogType type_;
    std::uint8_t code_;
    ValueInput input_;
    float word_factor_ = 0;  // for a word
    std::array<float, 256> table_{};
};

struct DumpConversion {
    bool empty_dump = false;  // length 0: nothing written
    bool written = false;     // the log file was put in place
    std::size_t records = 0;  // records written
    // Set when the save failed or was cut short; the text follows
    // "Error saving log data: ". Only whole records are ever written, and
    // they are kept when the dump ends inside a record.
    std::optional<std::string> error;
};

// What the dump holds, found before anyone is asked for a file name.
struct DumpCheck {
    enum class Outcome {
        ready,          // a whole header with ids a log can hold, and a whole record
        no_data,        // empty, cut inside its header, no channels, or no whole record
        unstorable_id,  // a channel id the log format cannot hold
        unreadable,     // the dump could not be read
    };
    Outcome outcome = Outcome::no_data;
    int channel_id = 0;  // the refused id
    std::string error;   // why the dump could not be read
};

DumpCheck check_dump(LogType type, const std::string& dump_path);

// Reads the dump at dump_path and writes the log to log_path through a
// temporary file, so an earlier file of that name survives a failed save.
DumpConversion convert_dump(LogType type, const std::string& dump_path, const std::string& log_path);

}  // namespace korv::logger
