#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>

#include "common/core/buffered_file_reader.h"
#include "common/core/vxm_minimal_writer.h"

// The record loop shared by the saves that turn a logging dump into a minimal
// VXM log: each dump record is `channels` samples of a code byte and
// `value_bytes` value bytes, and becomes one log record of scaled floats.
namespace korv {

// A converter that scales one channel of many records in a row:
// scale_column(channel, in, in_stride, count, value_bytes, out, out_stride)
// reads samples (code byte, value bytes) in_stride bytes apart from in and
// stores the scaled values as big-endian floats out_stride bytes apart, as
// the one-sample call would give them.
template <typename C>
concept ColumnConverter = requires(const C& c, const std::uint8_t* in, std::uint8_t* out, std::size_t n) {
    c.scale_column(n, in, n, n, n, out, n);
};

struct DumpRecordsOutcome {
    bool written = false;     // the log was committed
    std::size_t records = 0;  // whole records written
    // Set when the save failed or the dump ended inside a record.
    std::optional<std::string> error;
};

// Reads the rest of `dump` record by record into the opened `log`, then
// commits it. `convert(channel, code, first, second)` scales one sample of
// the channel at that index (`second` is 0 for one-byte values); it is
// called in channel order, unless `convert` is a ColumnConverter, which is
// asked for a channel of many records at a time. A dump cut inside a
// record keeps the whole records before the cut; any other failure discards
// the log, so no half-written file is left behind.
template <typename SampleConverter>
DumpRecordsOutcome write_dump_records(BufferedFileReader& dump, const std::string& dump_path, VxmMinimalWriter& log,
                                      std::size_t channels, std::size_t value_bytes, SampleConverter&& convert) {
    DumpRecordsOutcome result;
    const std::size_t sample_bytes = 1 + value_bytes;
    const std::size_t record_bytes = channels * sample_bytes;
    // Whole records are taken from the dump many at a time and scaled
    // straight into the log's blocks.
    const std::size_t group_bytes = std::min<std::size_t>(std::size_t{1} << 18, dump.buffer_size());
    const std::size_t group_records = record_bytes == 0 ? 1 : std::max<std::size_t>(group_bytes / record_bytes, 1);
    // A single stray byte after the last record is no record at all.
    while (dump.remaining() > 1) {
        if (record_bytes == 0) {
            log.discard();
            result.error = dump_path + " holds samples but names no channels";
            return result;
        }
        const auto whole = static_cast<std::size_t>(dump.remaining()) / record_bytes;
        if (whole == 0) {
            result.error = dump_path + " ends inside a record; the " + std::to_string(result.records) +
                           " whole records before it were saved";
            break;
        }
        const std::size_t count = std::min(whole, group_records);
        const std::uint8_t* records = dump.take(count * record_bytes);
        if (!records) {
            log.discard();
            result.error = dump.last_error();
            return result;
        }
        std::optional<std::string> error;
        if constexpr (ColumnConverter<std::remove_cvref_t<SampleConverter>>) {
            error = log.append_by_channel(count, [&](std::size_t channel, std::size_t first, std::size_t n,
                                                     std::uint8_t* out, std::size_t out_stride) {
                convert.scale_column(channel, records + first * record_bytes + channel * sample_bytes, record_bytes, n,
                                     value_bytes, out, out_stride);
            });
        } else {
            // By value: the log's byte stores could alias anything held by reference.
            auto value_of = [records, record_bytes, sample_bytes, value_bytes, convert](std::size_t record,
                                                                                        std::size_t i) {
                const std::uint8_t* sample = records + record * record_bytes + i * sample_bytes;
                return convert(i, sample[0], sample[1], value_bytes > 1 ? sample[2] : std::uint8_t{0});
            };
            error = log.append_generated(count, value_of);
        }
        if (error) {
            log.discard();
            result.error = *error;
            return result;
        }
        result.records += count;
    }

    if (auto error = log.commit()) {
        result.error = *error;
        return result;
    }
    result.written = true;
    return result;
}

}  // namespace korv
