#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/core/atomic_file_writer.h"
#include "common/core/byte_order.h"
#include "common/core/vxm_document.h"

// Writer of the minimal-header VXM logs (".db1", ".db2", ".db3", the CSV
// conversion's scratch log). The header is written byte by byte so that the
// channel count and ids sit where a little-endian reader expects them:
//   4 zero bytes (version 0), 0 (empty title), N, 0, 0,
//   per channel 30 bytes, all zero but byte 14 = the channel id,
//   5 zero bytes;
// records follow, each float 0.0 (the time slot) and the N values, all
// big-endian. The records begin at offset 13 + 30 * N. By position this is
// the version-2 layout of vxm_document.h with empty texts, which is how the
// player's reader reads both.
//
// The file replaces any earlier one of the name only on commit().
// Functions return nullopt on success, else a message for the user.
namespace korv {

class VxmMinimalWriter {
public:
    static constexpr std::size_t kMaxChannels = 255;  // N is one byte

    std::optional<std::string> open(const std::string& path, std::span<const std::uint8_t> channel_ids);
    // Exactly N values, in the channel order given to open().
    std::optional<std::string> append_record(std::span<const float> values);
    // Whole records back to back, N values each (N > 0): one call for many.
    std::optional<std::string> append_records(std::span<const float> values);
    // `records` whole records (N > 0), value_of(record, channel) giving each
    // value in record and then channel order: records made as they are
    // written, straight into large blocks.
    template <typename ValueOf>
    std::optional<std::string> append_generated(std::size_t records, ValueOf&& value_of);
    // The same made a channel at a time: fill(channel, first, count, out,
    // stride) stores the channel's values of records first .. first+count-1
    // as big-endian floats at out, out + stride, ...
    template <typename FillChannel>
    std::optional<std::string> append_by_channel(std::size_t records, FillChannel&& fill);
    std::optional<std::string> commit();
    void discard();

private:
    std::optional<std::string> refuse_generated() const;
    // Makes block_ room for `records` records, or a block's worth when they
    // are more; returns how many records a block holds.
    std::size_t make_block(std::size_t records) {
        const std::size_t record_bytes = 4 * (channel_count_ + 1);
        const std::size_t records_a_block = AtomicFileWriter::kDefaultBufferSize / record_bytes;
        const std::size_t block_bytes = std::min(records, records_a_block) * record_bytes;
        if (block_.size() < block_bytes) block_.resize(block_bytes);
        return records_a_block;
    }

    AtomicFileWriter out_;
    std::size_t channel_count_ = 0;
    std::vector<std::uint8_t> block_;  // records made before they are written
};

template <typename ValueOf>
std::optional<std::string> VxmMinimalWriter::append_generated(std::size_t records, ValueOf&& value_of) {
    if (!out_.is_open() || channel_count_ == 0) return refuse_generated();
    const std::size_t records_a_block = make_block(records);
    const std::size_t channels = channel_count_;
    for (std::size_t record = 0; record < records;) {
        const std::size_t last = std::min(records, record + records_a_block);
        std::uint8_t* const block = block_.data();
        std::uint8_t* p = block;
        for (; record < last; ++record) {
            store_f32_be(p, 0.0f);  // the time slot
            p += 4;
            for (std::size_t i = 0; i < channels; ++i, p += 4) store_f32_be(p, value_of(record, i));
        }
        out_.write(block, static_cast<std::size_t>(p - block));
    }
    return std::nullopt;
}

template <typename FillChannel>
std::optional<std::string> VxmMinimalWriter::append_by_channel(std::size_t records, FillChannel&& fill) {
    if (!out_.is_open() || channel_count_ == 0) return refuse_generated();
    const std::size_t channels = channel_count_;
    const std::size_t record_bytes = 4 * (channels + 1);
    const std::size_t records_a_block = make_block(records);
    for (std::size_t first = 0; first < records;) {
        const std::size_t count = std::min(records - first, records_a_block);
        std::uint8_t* const block = block_.data();
        // A few hundred records at a time, so all channels find them in the cache.
        constexpr std::size_t kStripRecords = 256;
        for (std::size_t strip = 0; strip < count; strip += kStripRecords) {
            const std::size_t n = std::min(kStripRecords, count - strip);
            std::uint8_t* const records_out = block + strip * record_bytes;
            for (std::size_t r = 0; r < n; ++r) store_f32_be(records_out + r * record_bytes, 0.0f);  // the time slots
            for (std::size_t i = 0; i < channels; ++i)
                fill(i, first + strip, n, records_out + 4 * (i + 1), record_bytes);
        }
        out_.write(block, count * record_bytes);
        first += count;
    }
    return std::nullopt;
}

}  // namespace korv
