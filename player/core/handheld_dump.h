#pragma once
// The handheld sample dump (kvt1.tmp after a transfer) and its conversion
// into a log. The dump (nativeio/include/korvio_files.h): the value width W,
// the channel count M, M channel ids, then records of M samples, each an id
// byte and W value bytes (high byte first). The log: the minimal big-endian
// VXM header with the dump's ids, then per whole record the time slot 0.0
// and the M scaled values.
#include "player/core/handheld_scaling.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

namespace korv::player {

struct HandheldDumpCheck {
    enum class Outcome {
        ready,              // a known width, a channel list and at least one whole record
        no_data,            // missing, not a plain file, or nothing whole to save
        unsupported_width,  // a width other than 1 or 2
        unstorable_id,      // a channel id the log format cannot hold
    };
    Outcome outcome = Outcome::no_data;
    int width = 0;       // byte 0 as found
    int channel_id = 0;  // the refused id
    int channels = 0;
    std::int64_t whole_records = 0;
    HandheldLogKind kind = HandheldLogKind::one_byte;
};

// Looks at the dump before anyone is asked for a file name.
HandheldDumpCheck check_handheld_dump(const std::string& dump_path);

// What the user is told of a dump of an unsupported width; the dump stays.
std::string unsupported_width_message(int width);

struct HandheldConversion {
    bool written = false;      // the log file was put in place
    std::int64_t records = 0;  // whole records written
    // Set when the save failed or the dump ended inside a record; the text
    // follows "Error saving log data: ". Whole records before a cut are kept.
    std::optional<std::string> error;
};

// Converts the dump into the log at log_path (through a temporary file, so
// an earlier file of that name survives a failed save). Two-byte air-flow
// values are also echoed to console as "mas: " lines.
HandheldConversion convert_handheld_dump(const std::string& dump_path, const std::string& log_path,
                                         std::ostream& console);

}  // namespace korv::player
