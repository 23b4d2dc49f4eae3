#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "common/core/vxm_float_order.h"
#include "common/core/vxm_player_model.h"
#include "common/core/vxm_player_reader.h"
#include "player/core/dab_reader.h"
#include "player/core/log_kind.h"
#include "player/core/pms_record.h"

// The open log and its record cursor, without any window: the player's
// frame drives it, and so can a test or a benchmark.
namespace korv::player {

struct RecordRead {
    bool read = false;                 // a record was read (a log with no records reads nothing)
    std::optional<std::string> error;  // what to show the user, if anything
};

class PlayerLog {
public:
    // Opens the file as a log of `type` and reads its header. Any failure
    // leaves no log open and returns the message to show.
    std::optional<std::string> open(const std::string& path, LogFileType type, FloatOrder order = FloatOrder::big);
    void close();

    LogFileType logfiletype() const { return type_; }
    bool is_open() const { return type_ != LogFileType::none; }
    std::int64_t first_record() const;
    std::int64_t log_record_length() const;
    std::int64_t log_records() const;
    std::int64_t current_log_record() const { return cursor_; }

    // Moves the cursor (see point_cursor) and positions the file; nothing
    // without a log.
    void point_log_file(std::int64_t n);
    // Reads the record the cursor stands on.
    RecordRead read_log_record();
    // A pass over a VXM log: decodes whole records from record `first` on
    // into `out` (see VxmPlayerReader::read_vxm_records). The cursor is left
    // alone; nothing is read from a PMS log.
    VxmRecordBlock read_vxm_records(std::int64_t first, std::span<float> out);

    const PmsRecord& pms() const { return pms_.record(); }
    const VxmPlayerModel& vxm() const { return vxm_.model(); }

private:
    LogFileType type_ = LogFileType::none;
    DabReader pms_;
    VxmPlayerReader vxm_;
    std::int64_t cursor_ = 0;
    std::optional<std::int64_t> record_;  // the record the file is positioned at
};

}  // namespace korv::player
