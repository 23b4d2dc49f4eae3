#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "common/core/buffered_file_reader.h"
#include "common/core/vxm_document.h"
#include "common/core/vxm_float_order.h"
#include "common/core/vxm_player_model.h"

// The player's reader of VXM logs. It finds the records by position rather
// than by decoding the header's fields, so the minimal-header logs and
// VXMlog documents read alike; only the byte order of the record floats
// differs, and the caller states it (see choose_vxm_float_order).
//
// Errors come back as the text the player shows in its error dialog:
// "4) Unable to open file: ..." for the header, "6) Unable to open file: ..."
// for the records. nullopt means success.
namespace korv {

// Whether a record read also fills the model's named fields (vxm_rpms, ...).
enum class NamedFields { fill, skip };

// What a read of many records gave: how many were decoded, and the message
// of the failure that ended it early, if any.
struct VxmRecordBlock {
    std::int64_t records = 0;
    std::optional<std::string> error;
};

class VxmPlayerReader {
public:
    // Opens the file and reads its header (vxg_header).
    std::optional<std::string> open(const std::string& path, FloatOrder order);
    void close();
    bool is_open() const { return file_.is_open(); }

    // Reads the header of the open file. Every slot and named field is cleared
    // first, so nothing of an earlier log survives. The header is checked
    // against the player's limits (at most 99 channels, ids 0..98) and against
    // the file's length; a file beyond them is refused and the reader is left
    // with no log (no channels, no records) rather than half a header.
    std::optional<std::string> vxg_header();

    // Positions the file at record n (0 = first). Inline: playback seeks once
    // a record.
    std::optional<std::string> seek_record(std::int64_t n) {
        std::int64_t offset = 0;
        if (has_log_ && n >= 0 && !__builtin_mul_overflow(n, model_.log_record_length, &offset) &&
            !__builtin_add_overflow(offset, model_.first_record, &offset)) [[likely]] {
            file_.seek(offset);
            return std::nullopt;
        }
        return seek_refusal(n);
    }

    // Reads the record at the file position into vxm_data_fields (by slot)
    // and, unless told to skip them, the named fields. Values the file cannot
    // supply read as 0.0; the first failure's message is returned.
    std::optional<std::string> read_vxm_record(NamedFields named = NamedFields::fill);

    // A pass over the log, many records a call: decodes whole records from
    // the file position into `out`, each as its vxm_parm_count + 1 values in
    // file order (time first), exactly as read_vxm_record decodes them. Reads
    // as many as `out` holds or the file still has whole (none past the last
    // whole record); the model is left as it was.
    VxmRecordBlock read_vxm_records(std::span<float> out);

    // One float at the file position in the log's byte order, through
    // trim_decimals. On failure returns 0.0 and sets `error` unless it already
    // holds a message.
    float getfloat(std::optional<std::string>& error);

    const VxmPlayerModel& model() const { return model_; }

private:
    std::optional<std::string> parse_header();
    // Why record n cannot be sought.
    std::string seek_refusal(std::int64_t n) const;
    std::optional<std::string> read_record_slowly();

    BufferedFileReader file_;
    FloatOrder order_ = FloatOrder::little;
    VxmPlayerModel model_;
    bool has_log_ = false;
};

}  // namespace korv
