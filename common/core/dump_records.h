#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/core/buffered_file_reader.h"
#include "common/core/vxm_minimal_writer.h"

// The record loop shared by the saves that turn a logging dump into a minimal
// VXM log: each dump record is `channels` samples of a code byte and
// `value_bytes` value bytes, and becomes one log record of scaled floats.
namespace korv {

struct DumpRecordsOutcome {
    bool written = false;     // the log was committed
    std::size_t records = 0;  // whole records written
    // Set when the save failed or the dump ended inside a record.
    std::optional<std::string> error;
};

// Reads the rest of `dump` record by record into the opened `log`, then
// commits it. `convert(channel, code, first, second)` scales one sample of
// the channel at that index (`second` is 0 for one-byte values); it is
// called in channel order. A dump cut inside a
// record keeps the whole records before the cut; any other failure discards
// the log, so no half-written file is left behind.
template <typename SampleConverter>
DumpRecordsOutcome write_dump_records(BufferedFileReader& dump, const std::string& dump_path, VxmMinimalWriter& log,
                                      std::size_t channels, std::size_t value_bytes, SampleConverter&& convert) {
    DumpRecordsOutcome result;
    const std::size_t sample_bytes = 1 + value_bytes;
    const std::size_t record_bytes = channels * sample_bytes;
    // Records are scaled into a batch and written a batch at a time.
    constexpr std::size_t kBatchRecords = 1024;
    std::vector<float> batch(kBatchRecords * channels);
    std::size_t filled = 0;  // values in the batch
    auto write_batch = [&]() -> std::optional<std::string> {
        if (filled == 0) return std::nullopt;
        if (auto error = log.append_records(std::span(batch.data(), filled))) return error;
        filled = 0;
        return std::nullopt;
    };
    // A single stray byte after the last record is no record at all.
    while (dump.remaining() > 1) {
        if (record_bytes == 0) {
            log.discard();
            result.error = dump_path + " holds samples but names no channels";
            return result;
        }
        if (static_cast<std::size_t>(dump.remaining()) < record_bytes) {
            result.error = dump_path + " ends inside a record; the " + std::to_string(result.records) +
                           " whole records before it were saved";
            break;
        }
        const std::uint8_t* record = dump.take(record_bytes);
        if (!record) {
            log.discard();
            result.error = dump.last_error();
            return result;
        }
        float* values = batch.data() + filled;
        for (std::size_t i = 0; i < channels; ++i) {
            const std::uint8_t* sample = record + i * sample_bytes;
            const std::uint8_t second = value_bytes > 1 ? sample[2] : 0;
            values[i] = convert(i, sample[0], sample[1], second);
        }
        filled += channels;
        ++result.records;
        if (filled < batch.size()) continue;
        if (auto error = write_batch()) {
            log.discard();
            result.error = *error;
            return result;
        }
    }

    if (auto error = write_batch()) {
        log.discard();
        result.error = *error;
        return result;
    }
    if (auto error = log.commit()) {
        result.error = *error;
        return result;
    }
    result.written = true;
    return result;
}

}  // namespace korv
