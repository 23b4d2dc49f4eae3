#include "common/core/vxm_minimal_writer.h"

#include <algorithm>
#include <vector>

#include "common/core/byte_order.h"

namespace korv {
namespace {
// Version 0, an empty title and the count before the first descriptor.
constexpr std::size_t kCountOffset = kVxmFieldBytes + 1;
constexpr std::size_t kFirstDescriptor = kCountOffset + kVxmFieldBytes;
}  // namespace

std::optional<std::string> VxmMinimalWriter::open(const std::string& path, std::span<const std::uint8_t> channel_ids) {
    discard();
    if (channel_ids.size() > kMaxChannels) {
        return "cannot write " + path + ": " + std::to_string(channel_ids.size()) + " channels, at most " +
               std::to_string(kMaxChannels) + " fit this log";
    }
    if (auto error = out_.open(path)) return "cannot write " + path + ": " + *error;
    channel_count_ = channel_ids.size();

    // Descriptors with empty texts, then the sample count, all zero but the
    // count's low byte and the ids' low bytes.
    std::vector<std::uint8_t> header(kFirstDescriptor + kVxmEmptyDescriptorBytes * channel_count_ + kVxmFieldBytes, 0);
    header[kCountOffset] = static_cast<std::uint8_t>(channel_count_);
    for (std::size_t i = 0; i < channel_count_; ++i) {
        header[kFirstDescriptor + kVxmEmptyDescriptorBytes * i + kVxmIdOffsetInEmptyDescriptor] = channel_ids[i];
    }
    out_.write(header.data(), header.size());
    return std::nullopt;
}

std::optional<std::string> VxmMinimalWriter::append_record(std::span<const float> values) {
    if (!out_.is_open()) return std::string("no log file is being written");
    if (values.size() != channel_count_) {
        return "a record of " + std::to_string(values.size()) + " values for a log of " +
               std::to_string(channel_count_) + " channels";
    }
    std::uint8_t record[4 * (kMaxChannels + 1)];
    store_f32_be(record, 0.0f);
    for (std::size_t i = 0; i < values.size(); ++i) store_f32_be(record + 4 * (i + 1), values[i]);
    out_.write(record, 4 * (values.size() + 1));
    return std::nullopt;
}

std::optional<std::string> VxmMinimalWriter::append_records(std::span<const float> values) {
    if (!out_.is_open()) return std::string("no log file is being written");
    if (channel_count_ == 0 || values.size() % channel_count_ != 0) {
        return std::to_string(values.size()) + " values for whole records of a log of " +
               std::to_string(channel_count_) + " channels";
    }
    // Through a block on the stack, so the file's buffer takes few large copies.
    constexpr std::size_t kBlockBytes = 16384;
    const std::size_t record_bytes = 4 * (channel_count_ + 1);
    const std::size_t records_a_block = std::max<std::size_t>(kBlockBytes / record_bytes, 1);
    std::uint8_t block[std::max(kBlockBytes, 4 * (kMaxChannels + 1))];
    const float* value = values.data();
    for (std::size_t left = values.size() / channel_count_; left > 0;) {
        const std::size_t records = std::min(left, records_a_block);
        std::uint8_t* p = block;
        for (std::size_t r = 0; r < records; ++r) {
            store_f32_be(p, 0.0f);  // the time slot
            p += 4;
            for (std::size_t i = 0; i < channel_count_; ++i, p += 4) store_f32_be(p, *value++);
        }
        out_.write(block, static_cast<std::size_t>(p - block));
        left -= records;
    }
    return std::nullopt;
}

std::optional<std::string> VxmMinimalWriter::commit() {
    if (!out_.is_open()) return std::string("no log file is being written");
    return out_.commit();
}

void VxmMinimalWriter::discard() {
    out_.discard();
    channel_count_ = 0;
}

}  // namespace korv
