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
    std::optional<std::string> commit();
    void discard();

private:
    std::optional<std::string> refuse_generated() const;

    AtomicFileWriter out_;
    std::size_t channel_count_ = 0;
    std::vector<std::uint8_t> block_;  // records made before they are written
};

template <typename ValueOf>
std::optional<std::string> VxmMinimalWriter::append_generated(std::size_t records, ValueOf&& value_of) {
    if (!out_.is_open() || channel_count_ == 0) return refuse_generated();
    const std::size_t channels = channel_count_;
    const std::size_t record_bytes = 4 * (channels + 1);
    // A full block is at least the file's buffer, which it then skips.
    const std::size_t records_a_block = (AtomicFileWriter::kDefaultBufferSize + record_bytes - 1) / record_bytes;
    const std::size_t block_bytes = std::min(records, records_a_block) * record_bytes;
    for (std::size_t record = 0; record < records;) {
        std::vector<std::uint8_t>& block = block_;
        if (block.size() < block_bytes) block.resize(block_bytes);
        const std::size_t last = std::min(records, record + records_a_block);
        std::uint8_t* p = block.data();
        for (; record < last; ++record) {
            store_f32_be(p, 0.0f);  // the time slot
            p += 4;
            for (std::size_t i = 0; i < channels; ++i, p += 4) store_f32_be(p, value_of(record, i));
        }
        out_.write(block.data(), static_cast<std::size_t>(p - block.data()));
    }
    return std::nullopt;
}

}  // namespace korv
