#pragma once
// Ergomark's program-wide state: the loaded run, the evaluated range and
// the settings, with the steps every window drives.
#include "dyno/core/dyno_sample.h"
#include "dyno/core/dyno_settings.h"
#include "dyno/core/log_reader.h"
#include "dyno/core/power.h"

#include <string>

namespace korv::dyno {

enum class BlockKind { throttle, rising };

class DynoSession {
public:
    DynoSettings settings;

    const SampleArray& samples() const { return samples_; }
    bool loaded() const { return loaded_; }
    const std::string& file_name() const { return file_name_; }
    // The log's own time of the first sample; sample times count from it.
    double time_origin() const { return time_origin_; }
    // Rows of the loaded log that gave no sample (see LogReadResult).
    std::size_t dropped_rows() const { return dropped_rows_; }
    SampleRange range() const { return range_; }
    void set_range(SampleRange range) { range_ = range; }

    // Reads the log; on success replaces the samples and the file name,
    // smooths, takes the longest rising block as the range and computes
    // power. A failure, running out of memory included, leaves everything as
    // it was.
    LogReadStatus open_log(const std::string& path);
    // The same from text already read, for callers that have the bytes.
    LogReadStatus load_text(std::string_view text, const std::string& name);

    void smooth();
    PowerResult compute_power();

    // The next block of the kind after `selection`; changing kind first
    // starts the search from (0, 0).
    SampleRange next_block(BlockKind kind, SampleRange selection);

private:
    LogReadStatus take(LogReadResult result, const std::string& name);

    SampleArray samples_;
    SampleRange range_;
    bool loaded_ = false;
    std::string file_name_;
    double time_origin_ = 0;
    std::size_t dropped_rows_ = 0;
    // A load chooses a rising block, so that is the kind in use at first.
    BlockKind last_block_ = BlockKind::rising;
};

}  // namespace korv::dyno
