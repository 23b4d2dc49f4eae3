#include "common/core/vxm_minimal_writer.h"

#include <vector>

#include "common/core/count_text.h"

namespace korv {
namespace {
// Version 0, an empty title and the count before the first descriptor.
constexpr std::size_t kCountOffset = kVxmFieldBytes + 1;
constexpr std::size_t kFirstDescriptor = kCountOffset + kVxmFieldBytes;
}  // namespace

std::optional<std::string> VxmMinimalWriter::open(const std::string& path, std::span<const std::uint8_t> channel_ids) {
    discard();
    if (channel_ids.size() > kMaxChannels) {
        return "Cannot write " + path + ": " + std::to_string(channel_ids.size()) + " channels, at most " +
               std::to_string(kMaxChannels) + " fit this log";
    }
    if (auto error = out_.open(path)) return error;
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
        return "a record of " + counted(values.size(), "value", "values") + " for a log of " +
               counted(channel_count_, "channel", "channels");
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
        return counted(values.size(), "value", "values") + " for whole records of a log of " +
               counted(channel_count_, "channel", "channels");
    }
    const std::size_t channels = channel_count_;
    return append_generated(values.size() / channels,
                            [&](std::size_t record, std::size_t i) { return values[record * channels + i]; });
}

std::optional<std::string> VxmMinimalWriter::refuse_generated() const {
    if (!out_.is_open()) return std::string("no log file is being written");
    return std::string("records of no values for a log of no channels");
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
