#include "dyno/core/dyno_session.h"

#include "dyno/core/block_select.h"
#include "dyno/core/smoothing.h"

#include <new>
#include <stdexcept>

namespace korv::dyno {

LogReadStatus DynoSession::open_log(const std::string& path) { return take(read_dyno_log(path), path); }

LogReadStatus DynoSession::load_text(std::string_view text, const std::string& name) {
    return take(parse_dyno_log(text), name);
}

LogReadStatus DynoSession::take(LogReadResult result, const std::string& name) {
    if (result.status != LogReadStatus::ok) return result.status;
    // Everything that may run out of memory happens before the old run is
    // given up.
    try {
        SampleArray samples = std::move(result.samples);
        std::string new_name = name;
        ApplySmoothing(samples, settings.smoothing());
        const SampleRange range = FindRisingBlock(samples, 0);
        ComputePower(samples, settings, range);
        samples_.swap(samples);
        file_name_.swap(new_name);
        range_ = range;
        time_origin_ = result.time_origin;
        dropped_rows_ = result.dropped_rows;
        loaded_ = true;
    } catch (const std::bad_alloc&) {
        return LogReadStatus::out_of_memory;
    } catch (const std::length_error&) {
        return LogReadStatus::out_of_memory;
    }
    return LogReadStatus::ok;
}

void DynoSession::smooth() { ApplySmoothing(samples_, settings.smoothing()); }

PowerResult DynoSession::compute_power() { return ComputePower(samples_, settings, range_); }

SampleRange DynoSession::next_block(BlockKind kind, SampleRange selection) {
    if (kind != last_block_) selection = {0, 0};
    last_block_ = kind;
    return kind == BlockKind::throttle ? FindThrottleBlock(samples_, selection.start)
                                       : FindRisingBlock(samples_, selection.start);
}

}  // namespace korv::dyno
