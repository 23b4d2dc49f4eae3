#include "player/core/chart_point_pass.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "player/core/strip_chart_feed.h"

namespace korv::player {
namespace {

constexpr std::size_t kBlockRecords = 4096;

// Each chart's points of the current block. Every record of a block feeds
// the same slots (a new set of slots starts a new block), so one record
// count serves them all.
class PointBlocks {
public:
    explicit PointBlocks(const ChartPointSink& sink) : sink_(sink) {}

    void add(const ChartPoints& points) {
        if (points.present != slots_) {
            flush();
            slots_ = points.present;
        }
        for (std::uint32_t rest = slots_; rest != 0; rest &= rest - 1) {
            const auto slot = static_cast<std::size_t>(__builtin_ctz(rest));
            values_[slot][records_] = points.value[slot];
        }
        if (++records_ == kBlockRecords) flush();
    }

    // Blocks filled a chart at a time: the caller writes `records` points of
    // each slot of `slots` into column(slot) between the two calls.
    void begin_columns(std::uint32_t slots) {
        flush();
        slots_ = slots;
    }
    std::int32_t* column(int slot) { return values_[static_cast<std::size_t>(slot)].data(); }
    void end_columns(std::size_t records) {
        records_ = records;
        flush();
    }

    void flush() {
        if (records_ != 0) {
            for (std::uint32_t rest = slots_; rest != 0; rest &= rest - 1) {
                const int slot = __builtin_ctz(rest);
                sink_(slot, std::span<const std::int32_t>(values_[static_cast<std::size_t>(slot)].data(), records_));
            }
        }
        records_ = 0;
    }

private:
    const ChartPointSink& sink_;
    // A cache line more than the block per slot: columns a whole number of
    // pages apart would all fall on the same cache sets, written each record.
    std::array<std::array<std::int32_t, kBlockRecords + 16>, kMaxCharts + 1> values_{};
    std::uint32_t slots_ = 0;
    std::size_t records_ = 0;
};

// Records through the cursor, one at a time, until the cursor reaches the
// record count; the first failure ends the pass.
std::optional<std::string> step_through(PlayerLog& log, PointBlocks& blocks) {
    const bool pms = log.logfiletype() == LogFileType::pms;
    ChartPoints points;
    do {
        log.point_log_file(1);
        RecordRead read = log.read_log_record();
        if (read.error) return std::move(read.error);
        if (!read.read) break;
        if (pms) {
            pms_chart_points(log.pms(), points);
        } else {
            vxm_chart_points(log.vxm(), points);
        }
        blocks.add(points);
    } while (log.current_log_record() < log.log_records());
    return std::nullopt;
}

// A block's values of one slot: a column of its rows, or, for a slot the
// log does not carry, the value the record holds there throughout.
struct SlotValues {
    const float* first = nullptr;  // null: `held` for every record
    std::size_t step = 0;
    float held = 0.0f;

    float operator[](std::size_t r) const { return first != nullptr ? first[r * step] : held; }
};

template <VxmPointKind kind>
void convert(std::int32_t* out, SlotValues values, std::size_t records) {
    for (std::size_t r = 0; r < records; ++r) out[r] = vxm_point<kind>(values[r]);
}

void convert(VxmPointKind kind, std::int32_t* out, SlotValues values, std::size_t records) {
    switch (kind) {
    case VxmPointKind::whole: convert<VxmPointKind::whole>(out, values, records); break;
    case VxmPointKind::byte: convert<VxmPointKind::byte>(out, values, records); break;
    case VxmPointKind::hundredfold: convert<VxmPointKind::hundredfold>(out, values, records); break;
    case VxmPointKind::ten_thousandfold: convert<VxmPointKind::ten_thousandfold>(out, values, records); break;
    }
}

// Records 1 .. N-1 of a VXM log decoded in blocks, and each block's points
// worked out a chart at a time from its values: the points stepping would
// give, record by record, through the named fields. Returns the first record
// not decoded: N, or the start of a block that failed, for stepping to take
// over from there.
std::int64_t decode_vxm_blocks(PlayerLog& log, PointBlocks& blocks) {
    const std::int64_t records = log.log_records();
    const VxmPlayerModel& model = log.vxm();
    const auto width = static_cast<std::size_t>(model.vxm_parm_count) + 1;
    // Each slot's column; where the file names a slot twice, the later wins.
    std::array<int, kPlayerSlots> column;
    column.fill(-1);
    for (std::size_t i = 1; i < width; ++i) column[static_cast<std::size_t>(model.vxm_type[i])] = static_cast<int>(i);
    const std::array<float, kPlayerSlots> held = model.vxm_data_fields;
    std::vector<float> rows(kBlockRecords * width);
    const auto values_of = [&](int slot) {
        const int c = column[static_cast<std::size_t>(slot)];
        return c < 0 ? SlotValues{nullptr, 0, held[static_cast<std::size_t>(slot)]}
                     : SlotValues{rows.data() + c, width, 0.0f};
    };
    std::int64_t next = 1;
    while (next < records) {
        const VxmRecordBlock block = log.read_vxm_records(next, rows);
        if (block.error || block.records == 0) break;
        const auto n = static_cast<std::size_t>(block.records);
        blocks.begin_columns(chart_slots_fed(LogFileType::vxm));
        for (const VxmChartChannel& c : kVxmChartChannels)
            convert(c.kind, blocks.column(c.chart), values_of(c.file_slot), n);
        std::int32_t* duty = blocks.column(kVxmDutyCycleChart);
        const SlotValues pulse_width = values_of(player_slot::kPulseWidth), rpms = values_of(player_slot::kRpms);
        for (std::size_t r = 0; r < n; ++r) duty[r] = vxm_duty_cycle_point(pulse_width[r], rpms[r]);
        blocks.end_columns(n);
        next += block.records;
    }
    return next;
}

}  // namespace

std::optional<std::string> pass_chart_points(PlayerLog& log, const ChartPointSink& sink) {
    const auto held = std::make_unique<PointBlocks>(sink);  // 370 KB: not for the stack
    PointBlocks& blocks = *held;
    std::optional<std::string> error;
    // The block decode needs a cursor at the start, where the pass begins,
    // and records past record 0, which the pass leaves out.
    if (log.logfiletype() == LogFileType::vxm && log.log_records() >= 2 && log.current_log_record() == 0) {
        const std::int64_t reached = decode_vxm_blocks(log, blocks);
        // Stepping goes on from the record before: the last record read again
        // (which leaves the cursor and the current record as stepping does),
        // or the failed block, which fails again where stepping would.
        log.point_log_file(reached - 1);
        error = step_through(log, blocks);
    } else if (log.is_open()) {
        error = step_through(log, blocks);
    }
    blocks.flush();
    return error;
}

}  // namespace korv::player
